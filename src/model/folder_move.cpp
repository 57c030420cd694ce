#include "model/folder_move.h"

#include "host/path_separator.h"

namespace rw {
namespace {

void FollowInRows(const FolderMove& move, RowList& list) {
  for (ListItem& item : list) {
    std::string& location = item.columns[kLocationColumn];
    location = PathAfterMove(location, move);
  }
}

}  // namespace

std::string PathAfterMove(const std::string& path, const FolderMove& move) {
  if (move.from.empty() || !path.starts_with(move.from)) return path;
  const std::string_view rest = std::string_view(path).substr(move.from.size());
  if (!rest.empty() && rest.front() != kPathSeparator) return path;
  return move.to + std::string(rest);
}

void FollowFolderMove(const FolderMove& move, AppState& state, RowList& demoList,
                      RowList& playList) {
  state.SetCurrentFolder(PathAfterMove(state.currentFolder(), move));
  FollowInRows(move, demoList);
  FollowInRows(move, playList);
}

}  // namespace rw
