#include <set>

#include "session/session.h"

namespace rw {

namespace {

std::vector<size_t> SelectedRows(const RowList& rows) {
  std::vector<size_t> selected;
  for (size_t row = 0; row < rows.size(); ++row) {
    if (rows[row].selected) selected.push_back(row);
  }
  return selected;
}

std::vector<std::string> NamesOf(const RowList& rows, const std::vector<size_t>& selected) {
  std::vector<std::string> names;
  for (size_t row : selected) names.push_back(rows[row].columns[kDemonameColumn]);
  return names;
}

}  // namespace

bool Session::SetWebLocationForSelected() {
  RowList& rows = demoList_.rows();
  const std::vector<size_t> selected = SelectedRows(rows);
  if (selected.empty()) return false;
  const std::optional<WebLocationOutcome> outcome = SetSameWebLocation(
      *files_, frontEnd_.messages, paths_.userDataFolder, NamesOf(rows, selected));
  if (!outcome) return false;
  bool changed = false;
  const std::vector<std::string> names = NamesOf(rows, selected);
  for (const std::string& name : std::set<std::string>(names.begin(), names.end())) {
    NotesChanged(name);
  }
  for (size_t i = 0; i < selected.size(); ++i) {
    if (!outcome->updated[i]) continue;
    rows[selected[i]].columns[kWebColumn] = outcome->web;
    changed = true;
  }
  return changed;
}

bool Session::ClearUserDataForSelected() {
  RowList& rows = demoList_.rows();
  const std::vector<size_t> selected = SelectedRows(rows);
  if (selected.empty()) return false;
  const std::vector<std::string> names = NamesOf(rows, selected);
  const std::vector<bool> cleared =
      ClearUserData(*files_, frontEnd_.messages, paths_.userDataFolder, names);
  // Selected demos of one name share one file: once it is gone, none of them has notes.
  std::set<std::string> gone;
  for (size_t i = 0; i < names.size(); ++i) {
    if (cleared[i]) gone.insert(names[i]);
  }
  for (const std::string& name : gone) NotesChanged(name);
  for (size_t row : selected) {
    if (!gone.contains(rows[row].columns[kDemonameColumn])) continue;
    for (size_t column : {kPovColumn, kRatingColumn, kWebColumn, kDescriptionColumn}) {
      rows[row].columns[column].clear();
    }
  }
  return !gone.empty();
}

}  // namespace rw
