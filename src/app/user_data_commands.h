#pragma once

#include "app/list_view.h"
#include "session/session.h"

namespace rw::app {

// The demo list's "Expert" commands on its selected rows: the session asks through its
// messages and changes the notes; the list then shows the rows' new user-data cells.
// Whether any row changed.
bool SetWebLocationForSelected(Session& session, ListView& demoList);
bool ClearUserDataForSelected(Session& session, ListView& demoList);

}  // namespace rw::app
