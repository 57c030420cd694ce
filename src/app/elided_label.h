#pragma once

#include <QLabel>

namespace rw::app {

// A one-line label that keeps its whole text (text(), and what screen readers hear) but draws
// it shortened with an ellipsis in the middle where, and only where, it does not fit the width
// it has at the time.
class ElidedLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ElidedLabel(QWidget* parent = nullptr);

  // The text as drawn at the present width.
  QString shownText() const;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect TextArea() const;
};

}  // namespace rw::app
