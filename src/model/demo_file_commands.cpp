#include "model/demo_file_commands.h"

#include <string_view>

#include "demo/demo_generation.h"
#include "host/path_text.h"
#include "model/list_rules.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr std::string_view kRenameCaption = "Rename error";

void ShowRenameDenied(Messages& messages) {
  messages.Show(kRenameCaption, "Your OS has denied the renaming", MessageIcon::kError);
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
  if (newName.empty() || newName == "." || newName == ".." || ContainsSeparator(newName) ||
      !files.Rename(oldPath, newPath).ok()) {
    ShowRenameDenied(messages);
    return oldName;
  }
  const std::string extension = MissingExtension(newName, row);
  if (extension.empty()) return newName;
  const std::string finalName = newName + extension;
  if (!files.Rename(newPath, JoinPath(folder, finalName)).ok()) {
    files.Rename(newPath, oldPath);
    ShowRenameDenied(messages);
    return oldName;
  }
  return finalName;
}

bool DeleteSelectedDemos(FileSystem& files, Messages& messages, RowList& demoList,
                         const std::string& treeFolder) {
  const std::string question = "Really delete the " + std::to_string(SelectedCount(demoList)) +
                               " selected file(s) from\r\n" + treeFolder + " ?";
  if (messages.Show("Really Delete Demo Files ?", question, MessageIcon::kQuestion,
                    MessageButtons::kYesNo) != MessageAnswer::kYes) {
    return false;
  }
  std::erase_if(demoList, [&files](const ListItem& item) {
    if (item.selected) files.DeleteFile(DemoFilePath(item.columns));
    return item.selected;
  });
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
