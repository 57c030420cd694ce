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
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace rw::app
