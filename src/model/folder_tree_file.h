#pragma once

#include <string>
#include <string_view>

#include "model/folder_tree.h"

namespace rw {

// The saved tree ("Folders"): the signature 0x0D "TNT" 0x0D, a flags byte, the count of
// top-level nodes, then every node depth-first as a length-prefixed record holding its
// images, expanded state, child count, font, colour and text.
std::string SaveFolderTree(const FolderTree& tree);

// Replaces the tree's contents; a damaged or foreign file leaves the tree empty and gives false.
bool LoadFolderTree(std::string_view bytes, FolderTree& tree);

}  // namespace rw
