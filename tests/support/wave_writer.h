#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <string_view>

namespace rw::test {

// Wave files built byte by byte as the RIFF format lays them out.
inline std::string Le16(uint32_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

inline std::string Le32(uint32_t value) {
  return Le16(value & 0xFFFF) + Le16(value >> 16);
}

// A chunk: id, size, body and the pad byte that keeps an odd body even.
inline std::string RiffChunk(std::string_view id, std::string_view body) {
  std::string chunk =
      std::string(id) + Le32(static_cast<uint32_t>(body.size())) + std::string(body);
  if (body.size() % 2 != 0) chunk += '\0';
  return chunk;
}

// The 16 bytes of a format record.
inline std::string FormatRecord(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  const uint32_t blockAlign = channels * bits / 8U;
  return Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * blockAlign) + Le16(blockAlign) +
         Le16(bits);
}

// "RIFF", the size of what follows, "WAVE" and the chunks.
inline std::string WaveFile(std::string_view chunks) {
  return "RIFF" + Le32(static_cast<uint32_t>(4 + chunks.size())) + "WAVE" + std::string(chunks);
}

// A 16-bit mono PCM wave of a 440 Hz sine at amplitude (of full scale).
inline std::string SineWave(uint32_t rate, double seconds, double amplitude) {
  std::string samples;
  const auto frames = static_cast<uint32_t>(rate * seconds);
  for (uint32_t i = 0; i < frames; ++i) {
    const double value = amplitude * std::sin(2 * std::numbers::pi * 440.0 * i / rate);
    samples += Le16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767))));
  }
  return WaveFile(RiffChunk("fmt ", FormatRecord(1, 1, rate, 16)) + RiffChunk("data", samples));
}

}  // namespace rw::test
