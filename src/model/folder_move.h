#pragma once

#include <string>

#include "model/app_state.h"
#include "model/list_row.h"

namespace rw {

// A folder that was renamed on disk: its path before and after.
struct FolderMove {
  std::string from;
  std::string to;
};

// The path after the move: changed only for the moved folder itself and what lies inside it.
std::string PathAfterMove(const std::string& path, const FolderMove& move);

// The current folder and the "Location" of every row of either list follow the move when they
// are the moved folder or lie inside it (archives in it included); nothing else changes.
void FollowFolderMove(const FolderMove& move, AppState& state, RowList& demoList,
                      RowList& playList);

}  // namespace rw
