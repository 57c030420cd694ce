#pragma once

#include <memory>

#include "sound/sound_device.h"

namespace rw {

// Sound through OpenAL Soft: the system's default output, or a loopback device that mixes
// only when the program asks it to (alcRenderSamplesSOFT), which needs no sound card.
class OpenAlDriver : public SoundDriver {
 public:
  OpenAlDriver() = default;
  // Stereo 32-bit float at sampleRate; the device's context is made current.
  static OpenAlDriver Loopback(int sampleRate) { return OpenAlDriver(sampleRate); }

  std::unique_ptr<SoundDevice> Create(uint32_t& failure) override;

 private:
  explicit OpenAlDriver(int loopbackRate) : loopbackRate_(loopbackRate) {}

  int loopbackRate_ = 0;
};

}  // namespace rw
