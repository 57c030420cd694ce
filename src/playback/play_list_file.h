#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/file_system.h"
#include "host/messages.h"
#include "library/scan_demos.h"
#include "model/list_row.h"

namespace rw {

inline constexpr std::string_view kPlayListHeader = "RWT Play List, ver 1.32";
inline constexpr std::string_view kPlayListCorrupted = "Play List corrupted, nothing to load";

// The line that names one play list entry. A plain demo file is its host path; anything
// inside an archive is 0x01, the archive's path, "\\" and the member's file name. Both are
// the forms ScanDemos reads back.
std::string PlayListEntryLine(const ListRow& row);

// The whole file: the header, then one entry line each, every line ended by CR LF.
std::string PlayListFileText(const RowList& playList);

// Writes the play list to path, replacing the file whole; a failure is told to the user and
// keeps the old file.
bool SavePlayList(FileSystem& files, Messages& messages, const std::string& path,
                  const RowList& playList);

// What loading did, for the main window's status bar and play list name label.
struct PlayListLoad {
  bool loaded = false;  // false: unreadable or not a play list; the play list is as it was
  size_t entries = 0;
  uint64_t totalSeconds = 0;
  std::string statusText;  // the third panel of the status bar
  std::string nameLabel;   // the file's full path, which the label shortens to its width
};

// Reads the file into the play list of the scan context: every entry line goes through
// ScanDemos, so the columns show the demos as they are now. The caller shows a hidden play
// list panel first and fades the name label in afterwards.
PlayListLoad LoadPlayList(const std::string& path, ScanContext& context, Messages& messages);

}  // namespace rw
