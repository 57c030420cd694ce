#pragma once

#include <QSplashScreen>

namespace rw::app {

// The start-up picture: a borderless black window of 162 by 263 pixels that cross-fades from
// its start picture to one of three coloured variants, chosen at random, and back, while the
// program's name and a credit line fade in; drawn here, no picture files.
class StartUpPicture : public QSplashScreen {
  Q_OBJECT

 public:
  StartUpPicture();
  // Runs both cross-fades to their end.
  void Play();

 private:
  QPixmap Frame(double crossFade, double nameShown, double creditShown) const;

  QPixmap start_;
  QColor text_;
  QPixmap variant_;
};

}  // namespace rw::app
