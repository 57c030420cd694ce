#pragma once

#include <QColor>
#include <QWidget>
#include <string>
#include <string_view>

#include "text/user_text.h"

namespace rw::app {

// Draws a text with colour codes ("^1Red") in the codes' colours, starting at area's left and
// centred vertically; white, the colour a text starts in, is drawn in normal. On a dark
// background the darkest codes (black, blue, purple) are drawn lighter so they can be read.
// underlineCapitals underlines the capitals of a text that holds "SCORE". Gives the width drawn.
int DrawColoredText(QPainter& painter, const QRect& area, std::string_view coded,
                    const QColor& normal, const QColor& background, bool underlineCapitals = false,
                    TextForm form = TextForm::kWindows1252);
// The width DrawColoredText takes for the text in the painter's or widget's font.
int ColoredTextWidth(const QFontMetrics& metrics, std::string_view coded,
                     TextForm form = TextForm::kWindows1252);

// A label whose text carries colour codes: it draws the colours, and screen readers read the
// text with the codes removed.
class ColoredLabel : public QWidget {
  Q_OBJECT

 public:
  explicit ColoredLabel(QWidget* parent = nullptr);

  void setCodedText(std::string coded, TextForm form = TextForm::kWindows1252);
  const std::string& codedText() const { return coded_; }
  // The colour of white text; the palette's text colour unless set.
  void setNormalColor(const QColor& color);
  void setAlignment(Qt::Alignment alignment);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string coded_;
  TextForm form_ = TextForm::kWindows1252;
  QColor normal_;
  Qt::Alignment alignment_ = Qt::AlignLeft;
};

}  // namespace rw::app
