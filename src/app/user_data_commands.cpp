#include "app/user_data_commands.h"

namespace rw::app {

namespace {

bool ShowUserData(ListView& demoList, bool changed) {
  if (changed) demoList.rowModel().ColumnsChanged(kPovColumn, kDescriptionColumn);
  return changed;
}

}  // namespace

bool SetWebLocationForSelected(Session& session, ListView& demoList) {
  return ShowUserData(demoList, session.SetWebLocationForSelected());
}

bool ClearUserDataForSelected(Session& session, ListView& demoList) {
  return ShowUserData(demoList, session.ClearUserDataForSelected());
}

}  // namespace rw::app
