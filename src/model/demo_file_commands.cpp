#include "model/demo_file_commands.h"

#include <string_view>

#include "demo/demo_generation.h"
#include "host/path_text.h"
#include "model/list_rules.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr std::string_view kRenameCaption = "Rename error";

void ShowRenameFailure(Messages& messages, const FileResult& result, std::string_view name,
                       std::string_view folder) {
  messages.Show(kRenameCaption,
                result.kind == FileResult::kExists ? NameTakenText(name, folder)
                                                   : std::string("Your OS has denied the renaming"),
                MessageIcon::kError);
}

// The game's console cannot name such demos; ä, ö, ü and ß as Windows-1252 bytes.
bool HasForbiddenCharacter(std::string_view name) {
  return name.find_first_of(" \xE4\xF6\xFC\xDF") != std::string_view::npos;
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return AnsiLowerText(text).ends_with(suffix);
}

// The extension the demo's generation needs, when the name lacks it: ".dm3" below protocol 46,
// none for 46, the one it is played under for 1.27 and later; a demo of a generation that is
// not read keeps the extension it has.
std::string MissingExtension(const std::string& name, const ListRow& row) {
  const std::string& protocol = row[kProtocolColumn];
  const std::string& oldName = row[kDemonameColumn];
  std::string needed;
  if (protocol < "46") {
    needed = ".dm3";
  } else if (protocol != "46") {
    const DemoGeneration generation = GenerationOfListedDemo(protocol, oldName);
    if (generation == DemoGeneration::k127 || generation == DemoGeneration::k132) {
      needed = PlayedExtension(protocol, oldName);
    } else if (const std::string own = AnsiLowerText(ExtensionOf(oldName)); IsDemoExtension(own)) {
      needed = own;
    }
  }
  return needed.empty() || EndsWithIgnoringCase(name, needed) ? std::string() : needed;
}

bool ContainsSeparator(std::string_view name) {
  return name.find_first_of("/\\") != std::string_view::npos;
}

}  // namespace

std::string NameTakenText(std::string_view name, std::string_view folder) {
  return "The name " + std::string(name) + " is already taken in\r\n" + std::string(folder);
}

std::string DemoFilePath(const ListRow& row) {
  return JoinPath(row[kLocationColumn], row[kDemonameColumn]);
}

DemoSource DemoSourceOf(const ListRow& row) {
  if (!IsArchiveRow(row)) return {DemoFilePath(row), {}};
  const std::string& folder = row[kArchiveLocationColumn];
  const std::string& name = row[kDemonameColumn];
  return {folder.empty() ? name : folder + "\\" + name, row[kLocationColumn]};
}

std::string RenameDemoFile(FileSystem& files, Messages& messages, const ListRow& row,
                           const std::string& newName) {
  const std::string& oldName = row[kDemonameColumn];
  if (newName == oldName) return oldName;
  // Refused before the file is touched, also when an extension is still to be added.
  if (HasForbiddenCharacter(newName)) {
    messages.Show(kRenameCaption, "Demonames with spaces and some special chars are not allowed",
                  MessageIcon::kError);
    return oldName;
  }
  const std::string& folder = row[kLocationColumn];
  const std::string oldPath = JoinPath(folder, oldName);
  const std::string newPath = JoinPath(folder, newName);
  // A name that reaches into another folder is no name the system accepts for a rename.
  const bool plainName =
      !newName.empty() && newName != "." && newName != ".." && !ContainsSeparator(newName);
  const FileResult renamed =
      plainName ? files.Rename(oldPath, newPath) : FileResult{FileResult::kOther};
  if (!renamed.ok()) {
    ShowRenameFailure(messages, renamed, newName, folder);
    return oldName;
  }
  const std::string extension = MissingExtension(newName, row);
  if (extension.empty()) return newName;
  const std::string finalName = newName + extension;
  const FileResult completed = files.Rename(newPath, JoinPath(folder, finalName));
  if (!completed.ok()) {
    files.Rename(newPath, oldPath);
    ShowRenameFailure(messages, completed, finalName, folder);
    return oldName;
  }
  return finalName;
}

bool DeleteSelectedDemos(FileSystem& files, Messages& messages, RowList& demoList,
                         const std::string& treeFolder) {
  const bool trash = files.HasTrash(treeFolder);
  const std::string question =
      "Really delete the " + std::to_string(SelectedCount(demoList)) +
      " selected file(s) from\r\n" + treeFolder + " ?\r\n" +
      (trash ? "They go to the trash." : "This drive has no trash: they are deleted for good.");
  if (messages.Show("Really Delete Demo Files ?", question, MessageIcon::kQuestion,
                    MessageButtons::kYesNoDefaultNo) != MessageAnswer::kYes) {
    return false;
  }
  std::string kept;
  std::erase_if(demoList, [&](const ListItem& item) {
    if (!item.selected) return false;
    const std::string path = DemoFilePath(item.columns);
    const FileResult result = trash ? files.MoveToTrash(path) : files.DeleteFile(path);
    // The list shows what is on disk: a file that stayed keeps its row.
    if (result.ok() || !files.Exists(path)) return true;
    kept += "\r\n" + path;
    return false;
  });
  if (!kept.empty()) {
    messages.Show("Delete Error",
                  (trash ? "Could not move to the trash:" : "Could not delete:") + kept,
                  MessageIcon::kError);
  }
  return true;
}

std::optional<size_t> RowForProperties(FileSystem& files, Messages& messages, const RowList& list,
                                       const AppState& app) {
  if (SelectedCount(list) != 1 || app.isBusy()) return std::nullopt;
  size_t index = 0;
  while (!list[index].selected) ++index;
  const ListRow& row = list[index].columns;
  const std::string path = IsArchiveRow(row) ? row[kLocationColumn] : DemoFilePath(row);
  if (!files.Exists(path)) {
    messages.Show("File not more available", "File not found: " + path, MessageIcon::kInformation);
    return std::nullopt;
  }
  return index;
}

}  // namespace rw
