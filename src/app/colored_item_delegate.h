#pragma once

#include <QStyledItemDelegate>

namespace rw::app {

// Items of the properties window's lists: the text with its colour codes (the role
// ColoredCellDelegate::kCodedTextRole) drawn in colour, readable on the lists' dark
// background, a selected one in the highlight's text colour; the item's own text stays the
// plain one screen readers read. With
// underlineCapitals, the capitals of a scoreboard's lines (those holding "SCORE") are underlined.
class ColoredItemDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  ColoredItemDelegate(bool underlineCapitals, QObject* parent)
      : QStyledItemDelegate(parent), underlineCapitals_(underlineCapitals) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  bool underlineCapitals_;
};

}  // namespace rw::app
