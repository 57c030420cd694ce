#include "sound/sound_failure.h"

#include <array>
#include <cstdio>
#include <utility>

namespace rw {
namespace {

constexpr std::array<std::pair<uint32_t, std::string_view>, 15> kDescriptions{{
    {0x8878000A,
     "The call failed because resources (such as a priority level) were already being used by "
     "another caller."},
    {0x8878001E, "The control (vol,pan,etc.) requested by the caller is not available."},
    {0x80070057, "An invalid parameter was passed to the returning function."},
    {0x88780032, "This call is not valid for the current state of this object"},
    {0x80004005, "An undetermined error occured inside the DSound subsystem"},
    {0x88780046,
     "The caller does not have the priority level required for the function to succeed."},
    {0x8007000E,
     "The DSound subsystem couldn't allocate sufficient memory to complete the caller's request."},
    {0x88780064, "The specified WAVE format is not supported"},
    {0x80004001, "The function called is not supported at this time"},
    {0x88780078, "No sound driver is available for use"},
    {0x88780082, "This object is already initialized"},
    {0x80040110, "This object does not support aggregation"},
    {0x88780096, "The buffer memory has been lost, and must be Restored."},
    {0x887800A0, "Another app has a higher priority level, preventing this call from succeeding."},
    {0x887800AA,
     "The Initialize() member on the Direct Sound Object has not been called or called "
     "successfully before calls to other members."},
}};

}  // namespace

std::string SoundStartFailedText(uint32_t code) {
  const std::string_view what =
      code == kSoundNoDriver
          ? "OpenAL could not open the sound device. Is there a sound card, and does PipeWire, "
            "PulseAudio or ALSA run?"
          : "OpenAL opened the sound device but could not play on it.";
  return "No sound: " + std::string(what) +
         "\r\nReelwright goes on without sound; Sound Options in the Options menu tries again.";
}

std::string SoundCallFailedText(uint32_t code) {
  std::string_view description = "Unrecognized error value.";
  for (const auto& [known, text] : kDescriptions) {
    if (known == code) description = text;
  }
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(code));
  return "DirectSound call failed: " + std::string(hex) + "\r" + std::string(description);
}

}  // namespace rw
