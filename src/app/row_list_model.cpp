#include "app/row_list_model.h"

#include "app/colored_cell_delegate.h"
#include "app/command_pictures.h"
#include "app/display_text.h"
#include "demo/demo_info.h"
#include "model/list_rules.h"

#include <array>

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace rw::app {

namespace {

// The row pictures: a plain demo, a demo in a .pk3, .zip or .exe archive (an archive, not the
// tree's folder), the same four for a demo that could not be read (its mod is unknown), and
// the first four again with a corner mark for a demo of the generations since 1.30.
QIcon MakeRowIcon(int picture) {
  QStyle* style = QApplication::style();
  if (picture >= 4 && picture < 8) return style->standardIcon(QStyle::SP_MessageBoxWarning);
  const QIcon icon =
      (picture & 3) == 0 ? style->standardIcon(QStyle::SP_FileIcon) : CommandPicture("archive");
  if (picture < 8) return icon;
  QPixmap marked = icon.pixmap(16, 16);
  QPainter painter(&marked);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::white, 1));
  painter.setBrush(QColor(30, 110, 220));
  painter.drawEllipse(QRectF(8.5, 8.5, 7, 7));
  painter.end();
  return QIcon(marked);
}

const QIcon& RowIcon(int picture) {
  static const std::array<QIcon, 12> icons = [] {
    std::array<QIcon, 12> made;
    for (int i = 0; i < 12; ++i) made[static_cast<size_t>(i)] = MakeRowIcon(i);
    return made;
  }();
  return icons[static_cast<size_t>(picture)];
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
    return index.column() == 0 ? RowIcon(RowPicture(RowAt(index.row()))) : QVariant();
  }
  if (role == ColoredCellDelegate::kCodedTextRole) {
    // Names are file names: a caret in one is no colour code.
    if (HoldsName(static_cast<size_t>(index.column()))) return {};
    const std::string& coded = RowAt(index.row())[static_cast<size_t>(index.column())];
    return QByteArray(coded.data(), static_cast<qsizetype>(coded.size()));
  }
  if (role == ColoredCellDelegate::kCodedUtf8Role) {
    return HoldsUserText(static_cast<size_t>(index.column()));
  }
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole && role != Qt::ToolTipRole &&
      role != Qt::EditRole) {
    return {};
  }
  const auto column = static_cast<size_t>(index.column());
  const std::string& text = RowAt(index.row())[column];
  if (HoldsName(column)) return FromName(text);
  return PlainText(text, HoldsUserText(column) ? TextForm::kUtf8 : TextForm::kWindows1252);
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
