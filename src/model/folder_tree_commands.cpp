#include "model/folder_tree_commands.h"

#include <algorithm>

#include "model/demo_file_commands.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr std::string_view kRenameCaption = "Rename Folder Problem";
// Characters the game cannot take in folder names: blank, ä Ä ö Ö ü Ü ß (Windows-1252).
constexpr std::string_view kRefusedInGameFolder = " \xE4\xC4\xF6\xD6\xFC\xDC\xDF";

std::string Join(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path.empty() || path.back() != kPathSeparator) path += kPathSeparator;
  return path + std::string(name);
}

}  // namespace

void SetNodeImages(FolderNode& node, const std::string& gameFolder, const FolderColours& colours,
                   FileSystem& fs) {
  const std::string path = NodePath(node);
  int image = IsDemoFolder(node, colours) ? 2 : 0;
  int selected = image + 1;
  if (path == gameFolder) {
    image = selected = 4;
  } else if (node.parent == nullptr && node.text == "A:") {
    image = selected = 5;
  } else if (!node.text.empty() && node.text.back() == ':') {
    switch (fs.KindOfDrive(fs.DriveOf(path))) {
      case DriveKind::kRemovable:
        image = 6;
        break;
      case DriveKind::kFixed:
        image = 7;
        break;
      case DriveKind::kNetwork:
        image = 8;
        break;
      case DriveKind::kCdRom:
        image = 9;
        break;
      case DriveKind::kRamDisk:
        image = 10;
        break;
      case DriveKind::kUnknown:
        return;
    }
    selected = image;
  }
  node.image = image;
  node.selectedImage = selected;
}

bool ShouldListOnSelect(const AppState& state, std::string_view nodePath) {
  if (state.isBusy()) return false;
  return state.escapeFlag() || nodePath != state.currentFolder();
}

bool IsInsideGameFolder(std::string_view path, std::string_view gameFolder) {
  return AnsiLowerText(path).starts_with(AnsiLowerText(gameFolder));
}

std::string NewFolderName(const std::vector<std::string>& taken, bool insideGameFolder) {
  const std::string base = insideGameFolder ? "NewDemoFolder" : "New Demo Folder";
  const auto isTaken = [&taken](const std::string& name) {
    return std::any_of(taken.begin(), taken.end(), [&name](const std::string& other) {
      return EqualsIgnoringAnsiCase(name, other);
    });
  };
  if (!isTaken(base)) return base;
  for (size_t n = 2;; ++n) {
    const std::string number = std::to_string(n);
    const std::string name =
        insideGameFolder ? base + "(" + number + ")" : base + " (" + number + ")";
    if (!isTaken(name)) return name;
  }
}

FolderNode* NewFolder(FolderTree& tree, const std::string& gameFolder, const FolderColours& colours,
                      FileSystem& fs) {
  FolderNode* parent = tree.selected();
  if (parent == nullptr) return nullptr;
  const std::string folder = NodePath(*parent);
  std::vector<std::string> taken;
  for (const DirectoryEntry& entry : fs.List(folder, "*.*")) {
    if (entry.isFolder && !entry.name.starts_with('.')) taken.push_back(entry.name);
  }
  const std::string name = NewFolderName(taken, IsInsideGameFolder(folder, gameFolder));
  if (!fs.CreateFolder(Join(folder, name)).ok()) return nullptr;
  FolderNode* node = tree.AddChild(*parent, name, colours.nonDemo);
  SetNodeImages(*node, gameFolder, colours, fs);
  parent->expanded = true;
  tree.Select(node);
  return node;
}

bool DriveRefusesChanges(const std::string& path, FileSystem& fs) {
  const std::string drive = fs.DriveOf(path);
  return fs.KindOfDrive(drive) == DriveKind::kCdRom || fs.IsDriveReadOnly(drive);
}

bool CanEditFolderName(const FolderNode& node, bool readOnly, FileSystem& fs) {
  return !readOnly && !DriveRefusesChanges(NodePath(node), fs);
}

std::optional<FolderMove> RenameFolder(FolderTree& tree, FolderNode& node, std::string newText,
                                       const std::string& gameFolder, FileSystem& fs,
                                       Messages& messages) {
  const std::string oldPath = NodePath(node);
  const std::string parent = ParentPath(oldPath);
  while (newText.size() > 1 && newText.back() == kPathSeparator) newText.pop_back();
  std::string_view name = newText;
  const std::string parentPrefix = parent + kPathSeparator;
  if (node.parent == nullptr && name.starts_with(parentPrefix)) {
    name.remove_prefix(parentPrefix.size());
  }
  const std::string newPath = parentPrefix + std::string(name);
  if (newPath == oldPath) return FolderMove{oldPath, newPath};
  if (IsInsideGameFolder(newPath, gameFolder) &&
      name.find_first_of(kRefusedInGameFolder) != std::string_view::npos) {
    messages.Show(kRenameCaption, "Don't use spaces and special chars here!",
                  MessageIcon::kInformation);
    return std::nullopt;
  }
  // A name that reaches into another folder is no folder name.
  const bool plainName = !name.empty() && name != "." && name != ".." &&
                         name.find_first_of("/\\") == std::string_view::npos;
  const FileResult renamed =
      plainName ? fs.Rename(oldPath, newPath) : FileResult{FileResult::kOther};
  if (renamed.kind == FileResult::kExists) {
    messages.Show(kRenameCaption, NameTakenText(name, parent), MessageIcon::kInformation);
    return std::nullopt;
  }
  if (!renamed.ok()) {
    messages.Show(kRenameCaption, "Your OS has not allowed the new foldername!",
                  MessageIcon::kInformation);
    return std::nullopt;
  }
  // A top-level node keeps a full path, so its sub-tree keeps full paths too.
  tree.SetText(node, node.parent == nullptr ? newPath : std::string(name));
  return FolderMove{oldPath, newPath};
}

std::optional<std::string> RemoveFolderFromDisk(FolderTree& tree, FolderNode& node, FileSystem& fs,
                                                Messages& messages) {
  const std::string path = NodePath(node);
  const MessageAnswer answer =
      messages.Show("Really Delete Folder ?",
                    "Really delete " + path + " ?" + "\r\n" + "The folder must be empty!",
                    MessageIcon::kQuestion, MessageButtons::kYesNoDefaultNo);
  if (answer != MessageAnswer::kYes) return std::nullopt;
  if (!fs.RemoveFolder(path).ok()) return "Error removing folder " + path;
  tree.Remove(node);
  return path + " successfull removed";
}

void CutNonDemoFolders(FolderTree& tree, const FolderColours& colours) {
  if (tree.selected() == nullptr) return;
  const FolderNode* start = &BranchRoot(*tree.selected());
  const std::vector<FolderNode*> flat = tree.FlatOrder();
  const auto first = std::find(flat.begin(), flat.end(), start);
  // Children come after their parents in flat order, so going backwards a parent whose
  // non-demo sub-folders were all cut is childless by the time it is visited.
  for (auto it = flat.end(); it != first;) {
    FolderNode* node = *--it;
    if (node->children.empty() && !IsDemoFolder(*node, colours)) tree.Remove(*node);
  }
}

bool ChangeFolderColour(FolderTree& tree, FolderColours& colours, bool demoClass,
                        uint32_t newColour) {
  uint32_t& own = demoClass ? colours.demo : colours.nonDemo;
  const uint32_t other = demoClass ? colours.nonDemo : colours.demo;
  if (newColour == other) return false;
  for (FolderNode* node : tree.FlatOrder()) {
    if (node->colour == own) node->colour = newColour;
  }
  own = newColour;
  return true;
}

TreeMenuState TreeMenuStateFor(const FolderNode* selected, bool readOnly, FileSystem& fs) {
  TreeMenuState state;
  if (selected == nullptr || readOnly) return state;
  const std::string path = NodePath(*selected);
  state.newFolder =
      fs.KindOfDrive(fs.DriveOf(path)) != DriveKind::kUnknown && !DriveRefusesChanges(path, fs);
  state.removeFromDisk = state.newFolder && selected->children.empty();
  state.rename = state.newFolder;
  return state;
}

bool CanDropDemosOnNode(const FolderNode* target, const FolderTree& tree, bool readOnly,
                        bool fromDemoList, const std::set<int>& selectedImages, FileSystem& fs) {
  if (readOnly || target == nullptr || !fromDemoList || target == tree.selected()) return false;
  if (DriveRefusesChanges(NodePath(*target), fs)) return false;
  return std::none_of(selectedImages.begin(), selectedImages.end(),
                      [](int image) { return image >= 1 && image <= 3; });
}

void MoveDemosOntoNode(FolderTree& tree, FolderNode& target, DemoListSelection& list,
                       const FolderColours& colours, FileSystem& fs, Messages& messages) {
  const std::string targetFolder = NodePath(target);
  while (list.HasSelection()) {
    const std::string name = list.FirstSelectedName();
    const std::string source = Join(list.FirstSelectedLocation(), name);
    const std::string destination = Join(targetFolder, name);
    const FileResult moved = fs.MoveFile(source, destination);
    if (moved.ok()) {
      list.RemoveFirstSelected();
      continue;
    }
    if (moved.kind != FileResult::kExists) {
      messages.Show("ERROR",
                    "An Error occured while moving files\r\nError: " + std::to_string(moved.error),
                    MessageIcon::kError);
      return;
    }
    if (messages.Show("File already exists", "Overwrite file ?\r\n" + destination,
                      MessageIcon::kQuestion,
                      MessageButtons::kYesNoDefaultNo) != MessageAnswer::kYes) {
      return;
    }
    if (!fs.DeleteFile(destination).ok()) {
      messages.Show("Target file could not be deleted", "An Error occured while moving files",
                    MessageIcon::kError);
    }
  }
  if (list.Empty() && tree.selected() != nullptr) tree.selected()->colour = colours.nonDemo;
  target.colour = colours.demo;
}

}  // namespace rw
