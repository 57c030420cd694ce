#include "app/row_list_model.h"

#include "app/colored_cell_delegate.h"
#include "app/display_text.h"
#include "demo/demo_info.h"
#include "model/list_rules.h"

#include <QApplication>
#include <QStyle>

namespace rw::app {

namespace {

// The row images: a plain demo, a demo in a .pk3, .zip or .exe archive, and the same four for
// a demo that could not be read (its mod is unknown).
QIcon RowIcon(int image) {
  static const QStyle::StandardPixmap kPictures[] = {QStyle::SP_FileIcon, QStyle::SP_DirIcon,
                                                     QStyle::SP_DirIcon, QStyle::SP_DirIcon};
  if (image >= 4) return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
  return QApplication::style()->standardIcon(kPictures[image & 3]);
}

}  // namespace

int RowListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.RowCount());
}

int RowListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kListColumnCount);
}

QVariant RowListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount({})) return {};
  if (role == Qt::DecorationRole) {
    return index.column() == 0 ? RowIcon(RowImage(RowAt(index.row()))) : QVariant();
  }
  if (role == ColoredCellDelegate::kCodedTextRole) {
    // Names are file names: a caret in one is no colour code.
    if (HoldsName(static_cast<size_t>(index.column()))) return {};
    const std::string& coded = RowAt(index.row())[static_cast<size_t>(index.column())];
    return QByteArray(coded.data(), static_cast<qsizetype>(coded.size()));
  }
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole && role != Qt::ToolTipRole &&
      role != Qt::EditRole) {
    return {};
  }
  const auto column = static_cast<size_t>(index.column());
  const std::string& text = RowAt(index.row())[column];
  return HoldsName(column) ? FromName(text) : PlainText(text);
}

Qt::ItemFlags RowListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
  if (index.isValid() && index.column() == 0 && canRename && canRename(index.row())) {
    flags |= Qt::ItemIsEditable;
  }
  return flags;
}

bool RowListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() != 0 || !rename) return false;
  if (!rename(index.row(), value.toString().toStdString())) return false;
  emit dataChanged(index, index);
  return true;
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
