#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "library/sorted_rows.h"

namespace rw::app {

// The demo list or the play list: the core's rows, 26 columns with the captions of the
// summary, each cell its text with colour codes removed. The core fills and sorts the rows;
// Reload() shows them in one batch.
class RowListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit RowListModel(SortedRows& rows, QObject* parent = nullptr)
      : QAbstractTableModel(parent), rows_(rows) {}

  void Reload() {
    beginResetModel();
    endResetModel();
  }
  // Repaints the columns first to last of every row after the core changed their texts.
  void ColumnsChanged(int first, int last) {
    if (rowCount({}) > 0) emit dataChanged(index(0, first), index(rowCount({}) - 1, last));
  }
  const ListRow& RowAt(int row) const { return rows_.rows()[static_cast<size_t>(row)].columns; }

  int rowCount(const QModelIndex& parent) const override;
  int columnCount(const QModelIndex& parent) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // An in-place edit of a row's name (F2): whether it may start, and the rename itself, which
  // gives whether the name changed.
  std::function<bool(int row)> canRename;
  std::function<bool(int row, const std::string& name)> rename;

 private:
  SortedRows& rows_;
};

}  // namespace rw::app
