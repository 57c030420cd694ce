#include "app/start_up_picture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <cmath>

namespace rw::app {

namespace {

constexpr QSize kSize(162, 263);
// Each text line fades in, and each cross-fade runs, over this many milliseconds.
constexpr int kFadeTime = 450;

// A reel: a glowing ring with five holes around its hub.
QPixmap Reel(const QColor& glowColour) {
  QPixmap picture(kSize);
  picture.fill(Qt::black);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QRadialGradient glow(QPointF(81, 110), 70);
  glow.setColorAt(0, glowColour.lighter(160));
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
  return picture;
}

QColor RandomTextColor() {
  static const QColor kColors[] = {QColor(0, 0, 255), QColor(255, 0, 0), QColor(0, 128, 0)};
  return kColors[QRandomGenerator::global()->bounded(3)];
}

double Progress(qint64 elapsed, qint64 start) {
  return std::clamp(static_cast<double>(elapsed - start) / kFadeTime, 0.0, 1.0);
}

}  // namespace

StartUpPicture::StartUpPicture()
    : start_(Reel(QColor(128, 128, 128))), text_(RandomTextColor()), variant_(Reel(text_)) {
  setPixmap(Frame(0, 0, 0));
  setAccessibleName(QStringLiteral("Reelwright"));
}

QPixmap StartUpPicture::Frame(double crossFade, double nameShown, double creditShown) const {
  QPixmap frame = start_;
  QPainter painter(&frame);
  painter.setOpacity(crossFade);
  painter.drawPixmap(0, 0, variant_);
  QFont font = painter.font();
  font.setBold(true);
  font.setPointSize(13);
  painter.setFont(font);
  painter.setPen(text_);
  painter.setOpacity(nameShown);
  painter.drawText(QRect(0, 196, kSize.width(), 24), Qt::AlignCenter, QStringLiteral("Reelwright"));
  font.setPointSize(8);
  painter.setFont(font);
  painter.setOpacity(creditShown);
  painter.drawText(QRect(0, 222, kSize.width(), 20), Qt::AlignCenter,
                   QStringLiteral("for Quake III Arena demos"));
  return frame;
}

void StartUpPicture::Play() {
  // To the variant and back; the name fades in, then the credit line. Messages are served
  // throughout.
  QElapsedTimer clock;
  clock.start();
  for (qint64 elapsed = 0; elapsed <= 2 * kFadeTime; elapsed = clock.elapsed()) {
    const double there = Progress(elapsed, 0);
    const double back = Progress(elapsed, kFadeTime);
    setPixmap(Frame(there - back, there, back));
    repaint();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 16);
  }
  setPixmap(Frame(0, 1, 1));
}

}  // namespace rw::app
