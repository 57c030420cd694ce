#pragma once

#include <QImage>
#include <QWidget>

#include "demo/image.h"

namespace rw::app {

QImage ToQImage(const Image& picture);

// A level shot at its own size in a window without border, centred on the screen; a click or
// Escape closes it.
class PictureWindow : public QWidget {
  Q_OBJECT

 public:
  explicit PictureWindow(const QImage& picture, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace rw::app
