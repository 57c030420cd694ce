#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "host/file_system.h"
#include "host/messages.h"
#include "model/app_state.h"
#include "model/list_row.h"

namespace rw {

// The demo file of a plain row: "Location", the separator and the name.
std::string DemoFilePath(const ListRow& row);

// What reading a row's demo again takes: the member's path inside the archive "Location"
// ("Archive Location", "\\" and the name), or the plain file with no archive.
struct DemoSource {
  std::string path;
  std::string archive;  // empty for a plain file
  bool operator==(const DemoSource&) const = default;
};
DemoSource DemoSourceOf(const ListRow& row);

// The message of a rename to a name that something in folder already has.
std::string NameTakenText(std::string_view name, std::string_view folder);

// Gives a demo-list row's file the name the user typed, adding the extension of the demo's
// generation when it is missing. Returns the row's name afterwards: the old one when the
// name was refused or the system denied the rename.
std::string RenameDemoFile(FileSystem& files, Messages& messages, const ListRow& row,
                           const std::string& newName);

// "Delete..": asks, then moves the file of every selected row to the trash, or deletes it when
// the folder's drive has none (the question says which), and removes the row; a file that
// stays where it was keeps its row and is named in a message. treeFolder is the folder the
// demo list shows. Returns whether it went on.
bool DeleteSelectedDemos(FileSystem& files, Messages& messages, RowList& demoList,
                         const std::string& treeFolder);

// The row the properties window opens for: exactly one selected, no long operation running,
// and its file (or its archive) still there; otherwise nullopt, with a message for a file
// that has gone.
std::optional<size_t> RowForProperties(FileSystem& files, Messages& messages, const RowList& list,
                                       const AppState& app);

}  // namespace rw
