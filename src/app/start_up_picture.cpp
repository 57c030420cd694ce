#include "app/start_up_picture.h"

#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>

namespace rw::app {

namespace {

QPixmap Drawn(const QColor& text) {
  QPixmap picture(162, 263);
  picture.fill(Qt::black);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  // A reel: a ring with five holes around its hub.
  QRadialGradient glow(QPointF(81, 110), 70);
  glow.setColorAt(0, text.lighter(160));
  glow.setColorAt(1, Qt::black);
  painter.setBrush(glow);
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QPointF(81, 110), 66, 66);
  painter.setBrush(Qt::black);
  for (int hole = 0; hole < 5; ++hole) {
    const double angle = hole * 2 * 3.14159265 / 5;
    painter.drawEllipse(QPointF(81 + 36 * std::sin(angle), 110 - 36 * std::cos(angle)), 14, 14);
  }
  painter.drawEllipse(QPointF(81, 110), 8, 8);
  QFont font = painter.font();
  font.setBold(true);
  font.setPointSize(13);
  painter.setFont(font);
  painter.setPen(text);
  painter.drawText(QRect(0, 196, 162, 24), Qt::AlignCenter, QStringLiteral("Reelwright"));
  font.setPointSize(8);
  painter.setFont(font);
  painter.drawText(QRect(0, 222, 162, 20), Qt::AlignCenter,
                   QStringLiteral("for Quake III Arena demos"));
  return picture;
}

QColor RandomTextColor() {
  static const QColor kColors[] = {QColor(0, 0, 255), QColor(255, 0, 0), QColor(0, 128, 0)};
  return kColors[QRandomGenerator::global()->bounded(3)];
}

}  // namespace

StartUpPicture::StartUpPicture() : QSplashScreen(Drawn(RandomTextColor())) {
  setAccessibleName(QStringLiteral("Reelwright"));
}

}  // namespace rw::app
