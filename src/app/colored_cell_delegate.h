#pragma once

#include <QStyledItemDelegate>

namespace rw::app {

// Cells whose text carries colour codes ("^1Red") are drawn in the codes' colours, the core's
// colour runs; white, the colour a text starts in, is the list's own text colour so that it
// shows on the light list backgrounds. Other cells are drawn as usual.
class ColoredCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  // The role that holds a cell's text with its colour codes.
  static constexpr int kCodedTextRole = Qt::UserRole + 1;

  using QStyledItemDelegate::QStyledItemDelegate;

  // "Full Row Select" off: a selected row shows its selection in its first cell only.
  bool fullRowSelect = true;
  // "Highlight Items": the row under the pointer (-1: none) is lit.
  bool highlightItems = false;
  int pointerRow = -1;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace rw::app
