#include "app/colored_cell_delegate.h"

#include <QApplication>
#include <QPainter>

#include "app/display_text.h"
#include "demo/colored_text.h"

namespace rw::app {

void ColoredCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& given,
                                const QModelIndex& index) const {
  QStyleOptionViewItem option = given;
  if (!fullRowSelect && index.column() != 0) option.state &= ~QStyle::State_Selected;
  if (highlightItems && index.row() == pointerRow && (option.state & QStyle::State_Selected) == 0) {
    QColor lit = option.palette.color(QPalette::Highlight);
    lit.setAlpha(60);
    painter->fillRect(option.rect, lit);
  }
  const QByteArray coded = index.data(kCodedTextRole).toByteArray();
  if (!coded.contains('^')) return QStyledItemDelegate::paint(painter, option, index);

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
  int x = area.left();
  for (const ColoredRun& run :
       ColoredTextRuns(std::string_view(coded.constData(), coded.size()), false)) {
    const QString text = FromText(run.characters);
    const QColor color = run.rgb == 0xFFFFFF ? normal : QColor::fromRgb(run.rgb);
    painter->setPen(selected ? normal : color);
    painter->drawText(QRect(x, area.top(), area.right() - x, area.height()),
                      Qt::AlignVCenter | Qt::AlignLeft, text);
    x += option.fontMetrics.horizontalAdvance(text);
  }
  painter->restore();
}

}  // namespace rw::app
