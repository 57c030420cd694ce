#include "app/colored_item_delegate.h"

#include <QApplication>
#include <QPainter>

#include "app/colored_cell_delegate.h"
#include "app/colored_label.h"

namespace rw::app {

void ColoredItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  const QByteArray coded = index.data(ColoredCellDelegate::kCodedTextRole).toByteArray();
  QStyleOptionViewItem plain = option;
  initStyleOption(&plain, index);
  plain.text.clear();
  const QWidget* widget = option.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);

  const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &plain, widget);
  const bool selected = (option.state & QStyle::State_Selected) != 0;
  const QColor normal = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
  const QColor background = option.palette.color(QPalette::Base);
  painter->save();
  painter->setClipRect(area);
  painter->setFont(option.font);
  if (selected) {
    // A selected row is one colour, as the lists draw it.
    painter->setPen(normal);
    painter->drawText(area, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                      index.data().toString());
  } else {
    DrawColoredText(*painter, area, std::string_view(coded.constData(), coded.size()), normal,
                    background, underlineCapitals_);
  }
  painter->restore();
}

}  // namespace rw::app
