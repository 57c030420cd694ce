#include "library/folder_branch_scan.h"

#include <filesystem>
#include <set>

#include "library/folder_has_demos.h"

namespace rw {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == kPathSeparator) return folder + name;
  return folder + kPathSeparator + name;
}

void AddSubfoldersOnce(FolderTree& tree, FolderNode& node, const std::string& path,
                       BranchContext& context, std::set<std::filesystem::path>& visited) {
  // A link back up the tree would otherwise add folders for ever.
  std::error_code error;
  const std::filesystem::path real = std::filesystem::canonical(path, error);
  if (error || !visited.insert(real).second) return;
  for (const DirectoryEntry& entry : context.files.List(path, "*.*")) {
    if (!entry.isFolder || entry.name.starts_with('.')) continue;
    const std::string childPath = Join(path, entry.name);
    FolderNode* child = tree.AddChild(node, entry.name, context.colours.nonDemo);
    if (context.showPath) context.showPath(childPath);
    if (FolderHasDemos(context.files, childPath)) {
      child->colour = context.colours.demo;
      for (FolderNode* up = child->parent; up != nullptr; up = up->parent) up->expanded = true;
    }
    SetNodeImages(*child, context.gameFolder, context.colours, context.files);
    AddSubfoldersOnce(tree, *child, childPath, context, visited);
  }
}

}  // namespace

void AddSubfolders(FolderTree& tree, FolderNode& node, const std::string& path,
                   BranchContext& context) {
  std::set<std::filesystem::path> visited;
  AddSubfoldersOnce(tree, node, path, context, visited);
}

void ScanBranch(FolderTree& tree, FolderNode& node, const std::string& path,
                BranchContext& context) {
  AddSubfolders(tree, node, path, context);
  tree.Select(&node);
  if (context.showPath) context.showPath(NodePath(node));
}

FolderNode& AddBranch(FolderTree& tree, std::string path, BranchContext& context) {
  while (path.size() > 1 && path.back() == kPathSeparator) path.pop_back();
  const bool demos = FolderHasDemos(context.files, path);
  FolderNode* node = tree.AddTopLevel(path, demos ? context.colours.demo : context.colours.nonDemo);
  SetNodeImages(*node, context.gameFolder, context.colours, context.files);
  ScanBranch(tree, *node, path, context);
  return *node;
}

FolderNode* RescanBranch(FolderTree& tree, BranchContext& context) {
  if (tree.selected() == nullptr) return nullptr;
  const std::string selectedPath = NodePath(*tree.selected());
  FolderNode& root = BranchRoot(*tree.selected());
  const std::string text = root.text;
  tree.Remove(root);
  // Levels are kept in text order, so the new node takes the old one's place.
  AddBranch(tree, text, context);
  FolderNode* again = tree.FindNodeByPath(selectedPath);
  if (again != nullptr) tree.Select(again);
  return tree.selected();
}

bool SelectFolderNode(FolderTree& tree, FolderNode& node, ScanContext& scan) {
  const std::string path = NodePath(node);
  if (!ShouldListOnSelect(scan.state, path)) return false;
  tree.Select(&node);
  ScanDemos(ScanEntry::Folder(path), scan);
  scan.state.SetCurrentFolder(path);
  return true;
}

}  // namespace rw
