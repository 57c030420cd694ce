#include "app/folder_tree_model.h"

#include <QApplication>
#include <QColor>
#include <QStyle>

#include "app/display_text.h"
#include "model/settings.h"

namespace rw::app {

QModelIndex FolderTreeModel::IndexOf(const FolderNode* node) const {
  if (node == nullptr) return {};
  const auto& siblings = ChildrenOf(node->parent);
  for (size_t row = 0; row < siblings.size(); ++row) {
    if (siblings[row].get() == node) {
      return createIndex(static_cast<int>(row), 0, const_cast<FolderNode*>(node));
    }
  }
  return {};
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
  const auto& children = ChildrenOf(NodeOf(parent));
  if (row < 0 || column != 0 || static_cast<size_t>(row) >= children.size()) return {};
  return createIndex(row, 0, children[static_cast<size_t>(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
  const FolderNode* node = NodeOf(child);
  return node == nullptr ? QModelIndex() : IndexOf(node->parent);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  return static_cast<int>(ChildrenOf(NodeOf(parent)).size());
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
  const FolderNode* node = NodeOf(index);
  if (node == nullptr) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
      return FromName(node->text);
    case Qt::ForegroundRole:
      return QColor(RedOf(static_cast<int32_t>(node->colour)),
                    GreenOf(static_cast<int32_t>(node->colour)),
                    BlueOf(static_cast<int32_t>(node->colour)));
    case Qt::DecorationRole:
      return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    default:
      return {};
  }
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractItemModel::flags(index) | Qt::ItemIsDropEnabled;
  FolderNode* node = NodeOf(index);
  if (node != nullptr && canRename && canRename(*node)) flags |= Qt::ItemIsEditable;
  return flags;
}

bool FolderTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  FolderNode* node = NodeOf(index);
  if (role != Qt::EditRole || node == nullptr || !rename) return false;
  return rename(*node, value.toString().toStdString());
}

}  // namespace rw::app
