#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

namespace rw {

// The format record of a wave file's "fmt " chunk.
struct WaveFormat {
  uint16_t formatTag = 0;  // 1: PCM
  uint16_t channels = 0;
  uint32_t samplesPerSecond = 0;
  uint32_t averageBytesPerSecond = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t extraSize = 0;  // read only for formats other than PCM
};

inline constexpr uint16_t kPcmFormat = 1;

// Where the sample data lies inside the member.
struct WaveHeader {
  WaveFormat format;
  uint32_t dataOffset = 0;
  uint32_t dataSize = 0;
};

// The header read from a whole wave member, or the text of what is wrong with it. Chunks
// before "data" are skipped whatever their kind; nothing is read outside member.
std::variant<WaveHeader, std::string_view> ReadWaveHeader(std::span<const uint8_t> member);

}  // namespace rw
