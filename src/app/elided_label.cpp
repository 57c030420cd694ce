#include "app/elided_label.h"

#include <QAccessible>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace rw::app {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void ElidedLabel::setFullText(const QString& text) {
  full_ = text;
  setToolTip(text);
  setAccessibleName(text);
  QAccessibleEvent event(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
  Elide();
}

QSize ElidedLabel::minimumSizeHint() const {
  return {0, QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void ElidedLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QStylePainter painter(this);
  QStyleOptionFocusRect focus;
  focus.initFrom(this);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

void ElidedLabel::Elide() {
  const int room = contentsRect().width() - 2 * margin() - 2 * indent();
  setText(fontMetrics().elidedText(full_, Qt::ElideMiddle, std::max(0, room)));
}

}  // namespace rw::app
