#include "app/qt_sound_timer.h"

#include <QEventLoop>

namespace rw::app {

QtSoundTimer::QtSoundTimer() {
  timer_.setInterval(static_cast<int>(kFadeTickMs));
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (tick_) tick_();
  });
}

void QtSoundTimer::Start(std::function<void()> tick) {
  tick_ = std::move(tick);
  timer_.start();
}

void QtSoundTimer::Wait() {
  QEventLoop loop;
  QTimer::singleShot(static_cast<int>(kFadeTickMs), &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace rw::app
