#include "sound/openal_driver.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <array>
#include <cmath>

#include "sound/sound_failure.h"

namespace rw {
namespace {

ALenum AlFormat(const WaveFormat& format) {
  if (format.formatTag != kPcmFormat || format.samplesPerSecond == 0) return AL_NONE;
  if (format.channels == 1 && format.bitsPerSample == 8) return AL_FORMAT_MONO8;
  if (format.channels == 1 && format.bitsPerSample == 16) return AL_FORMAT_MONO16;
  if (format.channels == 2 && format.bitsPerSample == 8) return AL_FORMAT_STEREO8;
  if (format.channels == 2 && format.bitsPerSample == 16) return AL_FORMAT_STEREO16;
  return AL_NONE;
}

uint32_t ResultOf(ALenum error) {
  switch (error) {
    case AL_NO_ERROR:
      return kSoundOk;
    case AL_OUT_OF_MEMORY:
      return kSoundOutOfMemory;
    case AL_INVALID_VALUE:
    case AL_INVALID_ENUM:
      return kSoundInvalidParameter;
    default:
      return kSoundGenericFailure;
  }
}

class OpenAlDevice : public SoundDevice {
 public:
  OpenAlDevice(ALCdevice* device, ALCcontext* context) : device_(device), context_(context) {
    Select();
    alDistanceModel(AL_NONE);
    alGenSources(kSoundSlots, sources_.data());
    // Every slot sounds straight at the listener, not placed in space.
    for (const ALuint source : sources_) {
      alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
      alSource3f(source, AL_POSITION, 0.0F, 0.0F, 0.0F);
    }
  }

  ~OpenAlDevice() override {
    for (int slot = 0; slot < kSoundSlots; ++slot) Release(slot);
    Select();
    alDeleteSources(kSoundSlots, sources_.data());
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
  }

  OpenAlDevice(const OpenAlDevice&) = delete;
  OpenAlDevice& operator=(const OpenAlDevice&) = delete;

  uint32_t Load(int slot, const WaveFormat& format, std::span<const uint8_t> samples) override {
    if (!Select(slot)) return kSoundInvalidParameter;
    const ALenum alFormat = AlFormat(format);
    if (alFormat == AL_NONE) return kSoundBadFormat;
    Release(slot);
    // OpenAL takes whole sample frames only.
    const size_t frame = size_t{format.channels} * (format.bitsPerSample / 8U);
    const size_t bytes = samples.size() - samples.size() % frame;
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, alFormat, samples.data(), static_cast<ALsizei>(bytes),
                 static_cast<ALsizei>(format.samplesPerSecond));
    alSourcei(sources_[slot], AL_BUFFER, static_cast<ALint>(buffer));
    const ALenum error = alGetError();
    if (error != AL_NO_ERROR) {
      alSourcei(sources_[slot], AL_BUFFER, 0);
      alDeleteBuffers(1, &buffer);
      return ResultOf(error);
    }
    buffers_[slot] = buffer;
    return kSoundOk;
  }

  uint32_t Play(int slot, bool looping) override {
    if (!Select(slot) || buffers_[slot] == 0) return kSoundInvalidParameter;
    alGetError();
    alSourcei(sources_[slot], AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    alSourceRewind(sources_[slot]);
    alSourcePlay(sources_[slot]);
    return ResultOf(alGetError());
  }

  void SetVolume(int slot, int32_t volume) override {
    if (!Select(slot)) return;
    alSourcef(sources_[slot], AL_GAIN, static_cast<ALfloat>(std::pow(10.0, volume / 2000.0)));
  }

  void Release(int slot) override {
    if (!Select(slot) || buffers_[slot] == 0) return;
    alSourceStop(sources_[slot]);
    alSourcei(sources_[slot], AL_BUFFER, 0);
    alDeleteBuffers(1, &buffers_[slot]);
    buffers_[slot] = 0;
  }

 private:
  void Select() const { alcMakeContextCurrent(context_); }
  // Makes the device's context current; false for a slot it does not have.
  bool Select(int slot) const {
    Select();
    return slot >= 0 && slot < kSoundSlots;
  }

  ALCdevice* device_;
  ALCcontext* context_;
  std::array<ALuint, kSoundSlots> sources_{};
  std::array<ALuint, kSoundSlots> buffers_{};
};

ALCdevice* OpenLoopback(int sampleRate, std::array<ALCint, 7>& attributes) {
  auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
      alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  if (open == nullptr) return nullptr;
  attributes = {ALC_FORMAT_CHANNELS_SOFT,
                ALC_STEREO_SOFT,
                ALC_FORMAT_TYPE_SOFT,
                ALC_FLOAT_SOFT,
                ALC_FREQUENCY,
                sampleRate,
                0};
  return open(nullptr);
}

}  // namespace

std::unique_ptr<SoundDevice> OpenAlDriver::Create(uint32_t& failure) {
  std::array<ALCint, 7> attributes{};
  ALCdevice* device =
      loopbackRate_ > 0 ? OpenLoopback(loopbackRate_, attributes) : alcOpenDevice(nullptr);
  if (device == nullptr) {
    failure = kSoundNoDriver;
    return nullptr;
  }
  ALCcontext* context = alcCreateContext(device, loopbackRate_ > 0 ? attributes.data() : nullptr);
  if (context == nullptr) {
    alcCloseDevice(device);
    failure = kSoundGenericFailure;
    return nullptr;
  }
  failure = kSoundOk;
  return std::make_unique<OpenAlDevice>(device, context);
}

}  // namespace rw
