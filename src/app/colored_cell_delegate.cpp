#include "app/colored_cell_delegate.h"

#include <QApplication>
#include <QPainter>

#include "app/colored_label.h"

namespace rw::app {

void ColoredCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& given,
                                const QModelIndex& index) const {
  QStyleOptionViewItem option = given;
  if (!fullRowSelect && index.column() != 0 && (option.state & QStyle::State_Selected) != 0) {
    option.state &= ~QStyle::State_Selected;
    // The table has already painted the selected row's panel behind every cell.
    painter->fillRect(option.rect, option.palette.brush(QPalette::Base));
  }
  if (highlightItems && index.row() == pointerRow && (option.state & QStyle::State_Selected) == 0) {
    QColor lit = option.palette.color(QPalette::Highlight);
    lit.setAlpha(60);
    painter->fillRect(option.rect, lit);
  }
  const QByteArray coded = index.data(kCodedTextRole).toByteArray();
  if (!underlineCapitals_ && !coded.contains('^')) {
    return QStyledItemDelegate::paint(painter, option, index);
  }

  QStyleOptionViewItem plain = option;
  initStyleOption(&plain, index);
  plain.text.clear();
  const QWidget* widget = option.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);

  const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &plain, widget);
  const bool selected = (option.state & QStyle::State_Selected) != 0;
  const QColor normal = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
  painter->save();
  painter->setClipRect(area);
  painter->setFont(option.font);
  if (selected) {
    painter->setPen(normal);
    painter->drawText(area, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                      index.data().toString());
  } else {
    DrawColoredText(*painter, area, std::string_view(coded.constData(), coded.size()), normal,
                    option.palette.color(QPalette::Base), underlineCapitals_,
                    index.data(kCodedUtf8Role).toBool() ? TextForm::kUtf8 : TextForm::kWindows1252);
  }
  painter->restore();
}

}  // namespace rw::app
