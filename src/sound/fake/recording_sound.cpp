#include "sound/fake/recording_sound.h"

#include "sound/sound_failure.h"

namespace rw {
namespace {

class RecordingSoundDevice : public SoundDevice {
 public:
  explicit RecordingSoundDevice(RecordingSoundDriver& driver) : driver_(driver) {
    driver_.open = true;
    driver_.calls.emplace_back("create");
  }
  ~RecordingSoundDevice() override {
    driver_.open = false;
    driver_.loaded = {};
    driver_.calls.emplace_back("close");
  }
  RecordingSoundDevice(const RecordingSoundDevice&) = delete;
  RecordingSoundDevice& operator=(const RecordingSoundDevice&) = delete;

  uint32_t Load(int slot, const WaveFormat& format, std::span<const uint8_t> samples) override {
    driver_.calls.push_back(
        "load " + std::to_string(slot) + " " + std::to_string(format.samplesPerSecond) + " " +
        std::to_string(format.channels) + " " + std::to_string(format.bitsPerSample) + " " +
        std::to_string(samples.size()));
    driver_.loaded[slot] = true;
    return kSoundOk;
  }
  uint32_t Play(int slot, bool looping) override {
    driver_.calls.push_back("play " + std::to_string(slot) + (looping ? " looping" : " once"));
    return kSoundOk;
  }
  void SetVolume(int slot, int32_t volume) override {
    driver_.calls.push_back("volume " + std::to_string(slot) + " " + std::to_string(volume));
    driver_.volumes[slot] = volume;
  }
  void Release(int slot) override {
    driver_.calls.push_back("release " + std::to_string(slot));
    driver_.loaded[slot] = false;
  }

 private:
  RecordingSoundDriver& driver_;
};

}  // namespace

std::unique_ptr<SoundDevice> RecordingSoundDriver::Create(uint32_t& failure) {
  if (fails) {
    failure = kSoundNoDriver;
    return nullptr;
  }
  failure = kSoundOk;
  return std::make_unique<RecordingSoundDevice>(*this);
}

void ManualSoundTimer::Start(std::function<void()> tick) {
  tick_ = std::move(tick);
  running = true;
}

void ManualSoundTimer::Wait() {
  if (onWait) onWait();
  if (!running) return;
  ++ticks;
  tick_();
}

}  // namespace rw
