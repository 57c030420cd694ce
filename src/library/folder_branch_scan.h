#pragma once

#include <functional>
#include <string>

#include "host/file_system.h"
#include "library/scan_demos.h"
#include "model/folder_tree.h"
#include "model/folder_tree_commands.h"

namespace rw {

// What building branches needs: the disk, the colours, the game folder (its node has an image
// of its own) and the first status panel.
struct BranchContext {
  FileSystem& files;
  FolderColours colours;
  std::string gameFolder;
  std::function<void(const std::string&)> showPath;
};

// Adds every sub-folder below path as a child of node, recursively, coloured by whether it
// holds demos; each demo folder's ancestors are expanded so it can be seen.
void AddSubfolders(FolderTree& tree, FolderNode& node, const std::string& path,
                   BranchContext& context);

// Builds node's sub-tree for the folder path and selects node.
void ScanBranch(FolderTree& tree, FolderNode& node, const std::string& path,
                BranchContext& context);

// Adds a folder as a new branch: a trailing separator is dropped, the node is coloured by
// FolderHasDemos and its sub-folders are added. The new node is selected.
FolderNode& AddBranch(FolderTree& tree, std::string path, BranchContext& context);

// "Rescan this Branch": the selected node's branch is built anew in its place, and the node
// that was selected is selected again when it is still there. Returns the selected node.
FolderNode* RescanBranch(FolderTree& tree, BranchContext& context);

// Selecting a node lists its folder into the demo list, unless the program is busy or the
// folder is already shown. Returns whether it was listed.
bool SelectFolderNode(FolderTree& tree, FolderNode& node, ScanContext& scan);

}  // namespace rw
