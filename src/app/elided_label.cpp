#include "app/elided_label.h"

#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace rw::app {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {}

QRect ElidedLabel::TextArea() const {
  const int inset = margin() + std::max(0, indent());
  return contentsRect().adjusted(inset, margin(), -inset, -margin());
}

QString ElidedLabel::shownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideMiddle, std::max(0, TextArea().width()));
}

QSize ElidedLabel::minimumSizeHint() const {
  return {0, QLabel::minimumSizeHint().height()};
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  painter.drawItemText(TextArea(), static_cast<int>(alignment()) | Qt::TextSingleLine, palette(),
                       isEnabled(), shownText(), foregroundRole());
  if (!hasFocus()) return;
  QStyleOptionFocusRect focus;
  focus.initFrom(this);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

}  // namespace rw::app
