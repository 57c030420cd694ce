#pragma once

#include <QSplashScreen>

namespace rw::app {

// The start-up picture: a borderless black window of 162 by 263 pixels with the program's
// name in one of three colours, chosen at random; drawn here, no picture files.
class StartUpPicture : public QSplashScreen {
  Q_OBJECT

 public:
  StartUpPicture();
};

}  // namespace rw::app
