#include "app/row_list_model.h"

#include "app/display_text.h"
#include "demo/demo_info.h"

namespace rw::app {

int RowListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.RowCount());
}

int RowListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kListColumnCount);
}

QVariant RowListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount({})) return {};
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole && role != Qt::ToolTipRole) {
    return {};
  }
  const auto column = static_cast<size_t>(index.column());
  const std::string& text = RowAt(index.row())[column];
  return HoldsName(column) ? FromName(text) : PlainText(text);
}

QVariant RowListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 ||
      section >= static_cast<int>(kListColumnCount)) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
  return QString::fromUtf8(
      kDemoInfoCaptions[static_cast<size_t>(section)].data(),
      static_cast<qsizetype>(kDemoInfoCaptions[static_cast<size_t>(section)].size()));
}

}  // namespace rw::app
