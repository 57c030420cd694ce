#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rw {

// Result codes of the sound calls, as the program has always reported them.
inline constexpr uint32_t kSoundOk = 0;
inline constexpr uint32_t kSoundInvalidParameter = 0x80070057;
inline constexpr uint32_t kSoundGenericFailure = 0x80004005;
inline constexpr uint32_t kSoundOutOfMemory = 0x8007000E;
inline constexpr uint32_t kSoundBadFormat = 0x88780064;
inline constexpr uint32_t kSoundNoDriver = 0x88780078;

// Errors raised by sound calls reach the user under the program's title.
inline constexpr std::string_view kSoundErrorCaption = "Reelwright 1.32";

// Why the audio output could not be opened at start, in the words of the Linux sound stack.
std::string SoundStartFailedText(uint32_t code);

// "DirectSound call failed: " with the code in hexadecimal, a carriage return and what the
// code means.
std::string SoundCallFailedText(uint32_t code);

}  // namespace rw
