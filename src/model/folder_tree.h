#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/locale.h"
#include "host/path_separator.h"

namespace rw {

// One folder of the tree. A top-level node holds a full path without a trailing separator;
// any other node holds one folder name. The text colour is the only record of whether the
// folder holds demos.
struct FolderNode {
  std::string text;
  uint32_t colour = 0;
  bool expanded = false;
  int image = 0;
  int selectedImage = 0;
  FolderNode* parent = nullptr;
  std::vector<std::unique_ptr<FolderNode>> children;
};

// The user's folder branches; every level is kept ordered by node text.
class FolderTree {
 public:
  explicit FolderTree(const Locale& locale) : locale_(locale) {}

  const std::vector<std::unique_ptr<FolderNode>>& roots() const { return roots_; }
  bool empty() const { return roots_.empty(); }
  FolderNode* selected() const { return selected_; }
  void Select(FolderNode* node) { selected_ = node; }

  FolderNode* AddTopLevel(std::string text, uint32_t colour);
  FolderNode* AddChild(FolderNode& parent, std::string text, uint32_t colour);
  // Appends without sorting; for loading a saved tree, which keeps its stored order.
  FolderNode* Append(FolderNode* parent, std::string text);
  // Gives a node a new text and its place among its siblings.
  void SetText(FolderNode& node, std::string text);
  // Removes the node with its sub-tree; the selection moves off a removed node.
  void Remove(FolderNode& node);
  void Clear();

  // Every node, parents before children, siblings in order.
  std::vector<FolderNode*> FlatOrder() const;
  // The first node in flat order whose path equals path exactly, case included.
  FolderNode* FindNodeByPath(std::string_view path) const;

 private:
  std::vector<std::unique_ptr<FolderNode>>& SiblingsOf(FolderNode& node);
  FolderNode* InsertSorted(std::vector<std::unique_ptr<FolderNode>>& level,
                           std::unique_ptr<FolderNode> node);

  const Locale& locale_;
  std::vector<std::unique_ptr<FolderNode>> roots_;
  FolderNode* selected_ = nullptr;
};

// The texts from the top-level node down to node, joined with the path separator.
std::string NodePath(const FolderNode& node);
// The path up to its last separator; a path without one is its own parent path.
std::string ParentPath(std::string_view path);
FolderNode& BranchRoot(FolderNode& node);
bool IsInside(const FolderNode& node, const FolderNode& ancestor);

}  // namespace rw
