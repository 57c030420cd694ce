#pragma once

#include <QLabel>

namespace rw::app {

// A one-line label that shortens its text with an ellipsis in the middle only when the text
// does not fit its width, at every width it gets; screen readers and the tool tip have the
// whole text.
class ElidedLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ElidedLabel(QWidget* parent = nullptr);

  void setFullText(const QString& text);
  const QString& fullText() const { return full_; }

  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void Elide();

  QString full_;
};

}  // namespace rw::app
