#pragma once

#include <QAbstractItemModel>
#include <functional>

#include "model/folder_tree.h"

namespace rw::app {

// The core's folder tree as Qt sees it: one item per node, its text as the core keeps it and
// its colour as the text colour. The core changes the tree; Reload() shows the change.
class FolderTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit FolderTreeModel(FolderTree& tree, QObject* parent = nullptr)
      : QAbstractItemModel(parent), tree_(tree) {}

  void Reload() {
    beginResetModel();
    endResetModel();
  }
  QModelIndex IndexOf(const FolderNode* node) const;
  static FolderNode* NodeOf(const QModelIndex& index) {
    return static_cast<FolderNode*>(index.internalPointer());
  }

  QModelIndex index(int row, int column, const QModelIndex& parent) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent) const override;
  int columnCount(const QModelIndex&) const override { return 1; }
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // An in-place edit of a node's name (F2): whether it may start, and the rename itself.
  std::function<bool(FolderNode& node)> canRename;
  std::function<bool(FolderNode& node, const std::string& text)> rename;

 private:
  const std::vector<std::unique_ptr<FolderNode>>& ChildrenOf(const FolderNode* node) const {
    return node == nullptr ? tree_.roots() : node->children;
  }

  FolderTree& tree_;
};

}  // namespace rw::app
