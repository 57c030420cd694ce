#include "app/picture_window.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace rw::app {

namespace {

constexpr int kBorder = 6;  // on each side: 12 pixels wider and higher than the picture

}  // namespace

QImage ToQImage(const Image& picture) {
  if (picture.width <= 0 || picture.height <= 0) return {};
  return QImage(picture.rgba.data(), picture.width, picture.height, picture.width * 4,
                QImage::Format_RGBA8888)
      .copy();
}

PictureWindow::PictureWindow(const QImage& picture, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), picture_(picture) {
  setAttribute(Qt::WA_DeleteOnClose);
  setAccessibleName(QStringLiteral("Level Shot"));
  setFixedSize(picture_.width() + 2 * kBorder, picture_.height() + 2 * kBorder);
  const QRect screen = this->screen()->availableGeometry();
  move(screen.center() - rect().center());
}

void PictureWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.drawImage(kBorder, kBorder, picture_);
}

void PictureWindow::mousePressEvent(QMouseEvent*) {
  close();
}

void PictureWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace rw::app
