#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "sound/wave_header.h"

namespace rw {

// The program's three sound slots: map music, model sounds and button sounds.
inline constexpr int kMusicSlot = 0;
inline constexpr int kModelSoundSlot = 1;
inline constexpr int kButtonSlot = 2;
inline constexpr int kSoundSlots = 3;

// An open audio output with one buffer per slot. Volumes are attenuations in hundredths of a
// decibel (0 full), played as the gain 10^(volume/2000). Failures are result codes of
// sound_failure.h; 0 is success.
class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // The slot's buffer holding samples in format, in place of the one it had.
  virtual uint32_t Load(int slot, const WaveFormat& format, std::span<const uint8_t> samples) = 0;
  // From the start, once or over and over.
  virtual uint32_t Play(int slot, bool looping) = 0;
  virtual void SetVolume(int slot, int32_t volume) = 0;
  // Stops the slot and frees its buffer; nothing when it has none.
  virtual void Release(int slot) = 0;
};

// Opens the audio output: a device, or null with the failure's result code.
class SoundDriver {
 public:
  virtual ~SoundDriver() = default;
  virtual std::unique_ptr<SoundDevice> Create(uint32_t& failure) = 0;
};

// The main window's sound timer: ticks every 50 milliseconds while started, so that music
// fades while the windows go on serving their messages.
class SoundTimer {
 public:
  virtual ~SoundTimer() = default;
  virtual void Start(std::function<void()> tick) = 0;
  virtual void Stop() = 0;
  // Serves window messages (and ticks) for about one tick's time.
  virtual void Wait() = 0;
};

inline constexpr uint32_t kFadeTickMs = 50;

}  // namespace rw
