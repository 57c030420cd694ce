#include "app/colored_label.h"

#include <QAccessible>
#include <QPainter>

#include "app/display_text.h"
#include "demo/colored_text.h"

namespace rw::app {

namespace {

constexpr int kMargin = 2;

QString Decoded(const ColoredRun& run, TextForm form) {
  return form == TextForm::kUtf8 ? FromUserText(run.characters) : FromText(run.characters);
}

QString Visible(const ColoredRun& run, TextForm form) {
  return Decoded(run, form).remove(QChar(kWidthOnlyCharacter));
}

int Luminance(const QColor& colour) {
  return (299 * colour.red() + 587 * colour.green() + 114 * colour.blue()) / 1000;
}

QColor Readable(const QColor& colour, const QColor& background) {
  if (Luminance(background) >= 100 || Luminance(colour) >= 60) return colour;
  // Nearly half the way to white keeps the hue.
  const auto lift = [](int value) { return value + (255 - value) * 45 / 100; };
  return {lift(colour.red()), lift(colour.green()), lift(colour.blue())};
}

}  // namespace

int DrawColoredText(QPainter& painter, const QRect& area, std::string_view coded,
                    const QColor& normal, const QColor& background, bool underlineCapitals,
                    TextForm form) {
  const QFont base = painter.font();
  int x = area.left();
  for (const ColoredRun& run : ColoredTextRuns(coded, underlineCapitals, form)) {
    QFont font = base;
    font.setUnderline(run.underlined);
    painter.setFont(font);
    painter.setPen(run.rgb == 0xFFFFFF ? normal : Readable(QColor::fromRgb(run.rgb), background));
    const QString text = Visible(run, form);
    painter.drawText(QRect(x, area.top(), std::max(0, area.right() - x + 1), area.height()),
                     Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
    x += painter.fontMetrics().horizontalAdvance(Decoded(run, form));
  }
  painter.setFont(base);
  return x - area.left();
}

int ColoredTextWidth(const QFontMetrics& metrics, std::string_view coded, TextForm form) {
  int width = 0;
  for (const ColoredRun& run : ColoredTextRuns(coded, false, form)) {
    width += metrics.horizontalAdvance(Decoded(run, form));
  }
  return width;
}

ColoredLabel::ColoredLabel(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ColoredLabel::setCodedText(std::string coded, TextForm form) {
  coded_ = std::move(coded);
  form_ = form;
  setAccessibleName(PlainText(coded_, form_));
  QAccessibleEvent event(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
  updateGeometry();
  update();
}

void ColoredLabel::setNormalColor(const QColor& color) {
  normal_ = color;
  update();
}

void ColoredLabel::setAlignment(Qt::Alignment alignment) {
  alignment_ = alignment;
  update();
}

QSize ColoredLabel::sizeHint() const {
  return {ColoredTextWidth(fontMetrics(), coded_, form_) + 2 * kMargin,
          fontMetrics().height() + 2 * kMargin};
}

QSize ColoredLabel::minimumSizeHint() const {
  return {0, fontMetrics().height() + 2 * kMargin};
}

void ColoredLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
  const int width = ColoredTextWidth(fontMetrics(), coded_, form_);
  int left = area.left();
  if (alignment_ & Qt::AlignHCenter) left += std::max(0, (area.width() - width) / 2);
  const QColor normal = normal_.isValid() ? normal_ : palette().color(QPalette::WindowText);
  DrawColoredText(painter, QRect(left, area.top(), area.right() - left + 1, area.height()), coded_,
                  normal, palette().color(backgroundRole()), false, form_);
}

}  // namespace rw::app
