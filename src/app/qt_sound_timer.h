#pragma once

#include <QTimer>

#include "sound/sound_device.h"

namespace rw::app {

// The sound timer on Qt's event loop; a wait serves the windows for one tick's time.
class QtSoundTimer : public SoundTimer {
 public:
  QtSoundTimer();

  void Start(std::function<void()> tick) override;
  void Stop() override { timer_.stop(); }
  void Wait() override;

 private:
  QTimer timer_;
  std::function<void()> tick_;
};

}  // namespace rw::app
