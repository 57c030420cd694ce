#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "sound/sound_device.h"

namespace rw {

// A sound output that records every call, one line each ("load 2 22050 1 16 1358",
// "volume 2 -2500", "play 2 once", "release 2", "create", "close"), and keeps each slot's
// volume and whether it holds a sound.
class RecordingSoundDriver : public SoundDriver {
 public:
  std::unique_ptr<SoundDevice> Create(uint32_t& failure) override;

  bool fails = false;  // Create reports that no output exists
  std::vector<std::string> calls;
  std::array<int32_t, kSoundSlots> volumes{};
  std::array<bool, kSoundSlots> loaded{};
  bool open = false;
};

// A timer whose every wait is one tick; onWait runs first, as 50 milliseconds of the world.
class ManualSoundTimer : public SoundTimer {
 public:
  void Start(std::function<void()> tick) override;
  void Stop() override { running = false; }
  void Wait() override;

  std::function<void()> onWait;
  bool running = false;
  int ticks = 0;

 private:
  std::function<void()> tick_;
};

}  // namespace rw
