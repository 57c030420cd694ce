#include "app/player_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace rw::app {

namespace {

constexpr int kSize = 16;

// A robot head with one pip per skill level.
QPixmap Bot(int skill) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 60, 60), 1));
  painter.setBrush(QColor(170, 180, 190));
  painter.drawRoundedRect(QRectF(2.5, 2.5, 11, 9), 2, 2);
  painter.drawLine(QPointF(8, 0.5), QPointF(8, 2.5));
  painter.setBrush(QColor(255, 200, 0));
  painter.drawEllipse(QRectF(4.5, 5, 2.5, 2.5));
  painter.drawEllipse(QRectF(9, 5, 2.5, 2.5));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(200, 40, 40));
  for (int pip = 0; pip < skill; ++pip) painter.drawRect(QRectF(2 + pip * 2.5, 13, 2, 2.5));
  return pixmap;
}

// An eye.
QPixmap Spectator() {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath eye;
  eye.moveTo(1, 8);
  eye.quadTo(8, 1, 15, 8);
  eye.quadTo(8, 15, 1, 8);
  painter.setPen(QPen(QColor(50, 50, 50), 1));
  painter.setBrush(Qt::white);
  painter.drawPath(eye);
  painter.setBrush(QColor(40, 110, 200));
  painter.drawEllipse(QRectF(5.5, 5.5, 5, 5));
  return pixmap;
}

// A crown in the team's colour with the team's initial below.
QPixmap Leader(int team, bool blue) {
  static const char kInitials[] = {'C', 'I', 'P', 'S', 'F'};
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor colour = blue ? QColor(30, 90, 230) : QColor(220, 30, 30);
  QPainterPath crown;
  crown.moveTo(1.5, 7);
  crown.lineTo(4.5, 1.5);
  crown.lineTo(8, 5);
  crown.lineTo(11.5, 1.5);
  crown.lineTo(14.5, 7);
  crown.closeSubpath();
  painter.setPen(QPen(QColor(120, 90, 0), 1));
  painter.setBrush(QColor(255, 210, 40));
  painter.drawPath(crown);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawRoundedRect(QRectF(2, 8, 12, 8), 2, 2);
  QFont font = painter.font();
  font.setPixelSize(8);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(2, 8, 12, 8), Qt::AlignCenter, QString(QChar(kInitials[team])));
  return pixmap;
}

}  // namespace

QIcon PlayerIcon(int slot) {
  if (slot >= 0 && slot <= 4) return QIcon(Bot(slot + 1));
  if (slot == 5) return QIcon(Spectator());
  if (slot >= 6 && slot <= 15) return QIcon(Leader((slot - 6) / 2, (slot % 2) == 1));
  return {};
}

}  // namespace rw::app
