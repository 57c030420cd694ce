#include "model/folder_tree.h"

#include <algorithm>

namespace rw {

FolderNode* FolderTree::InsertSorted(std::vector<std::unique_ptr<FolderNode>>& level,
                                     std::unique_ptr<FolderNode> node) {
  const auto place =
      std::upper_bound(level.begin(), level.end(), node->text,
                       [this](const std::string& text, const std::unique_ptr<FolderNode>& other) {
                         return locale_.Compare(text, other->text) < 0;
                       });
  return level.insert(place, std::move(node))->get();
}

FolderNode* FolderTree::AddTopLevel(std::string text, uint32_t colour) {
  auto node = std::make_unique<FolderNode>();
  node->text = std::move(text);
  node->colour = colour;
  return InsertSorted(roots_, std::move(node));
}

FolderNode* FolderTree::AddChild(FolderNode& parent, std::string text, uint32_t colour) {
  auto node = std::make_unique<FolderNode>();
  node->text = std::move(text);
  node->colour = colour;
  node->parent = &parent;
  return InsertSorted(parent.children, std::move(node));
}

FolderNode* FolderTree::Append(FolderNode* parent, std::string text) {
  auto node = std::make_unique<FolderNode>();
  node->text = std::move(text);
  node->parent = parent;
  auto& level = parent != nullptr ? parent->children : roots_;
  level.push_back(std::move(node));
  return level.back().get();
}

std::vector<std::unique_ptr<FolderNode>>& FolderTree::SiblingsOf(FolderNode& node) {
  return node.parent != nullptr ? node.parent->children : roots_;
}

void FolderTree::SetText(FolderNode& node, std::string text) {
  auto& level = SiblingsOf(node);
  const auto found = std::find_if(level.begin(), level.end(),
                                  [&node](const auto& item) { return item.get() == &node; });
  std::unique_ptr<FolderNode> owned = std::move(*found);
  level.erase(found);
  owned->text = std::move(text);
  InsertSorted(level, std::move(owned));
}

void FolderTree::Remove(FolderNode& node) {
  if (selected_ != nullptr && IsInside(*selected_, node)) selected_ = nullptr;
  auto& level = SiblingsOf(node);
  std::erase_if(level, [&node](const auto& item) { return item.get() == &node; });
}

void FolderTree::Clear() {
  selected_ = nullptr;
  roots_.clear();
}

std::vector<FolderNode*> FolderTree::FlatOrder() const {
  std::vector<FolderNode*> order;
  std::vector<FolderNode*> stack;
  for (auto it = roots_.rbegin(); it != roots_.rend(); ++it) stack.push_back(it->get());
  while (!stack.empty()) {
    FolderNode* node = stack.back();
    stack.pop_back();
    order.push_back(node);
    for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) {
      stack.push_back(it->get());
    }
  }
  return order;
}

FolderNode* FolderTree::FindNodeByPath(std::string_view path) const {
  for (FolderNode* node : FlatOrder()) {
    if (NodePath(*node) == path) return node;
  }
  return nullptr;
}

std::string NodePath(const FolderNode& node) {
  std::vector<const FolderNode*> chain;
  for (const FolderNode* at = &node; at != nullptr; at = at->parent) chain.push_back(at);
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (it != chain.rbegin() && !(path.size() == 1 && path[0] == kPathSeparator)) {
      path += kPathSeparator;
    }
    path += (*it)->text;
  }
  return path;
}

std::string ParentPath(std::string_view path) {
  const size_t last = path.rfind(kPathSeparator);
  return std::string(last == std::string_view::npos ? path : path.substr(0, last));
}

FolderNode& BranchRoot(FolderNode& node) {
  FolderNode* at = &node;
  while (at->parent != nullptr) at = at->parent;
  return *at;
}

bool IsInside(const FolderNode& node, const FolderNode& ancestor) {
  for (const FolderNode* at = &node; at != nullptr; at = at->parent) {
    if (at == &ancestor) return true;
  }
  return false;
}

}  // namespace rw
