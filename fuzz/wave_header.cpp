// Reads the wave header of arbitrary bytes, as a wave member of a game archive is read.
#include <cstdint>
#include <span>
#include <variant>

#include "sound/wave_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto header = rw::ReadWaveHeader(std::span<const uint8_t>(data, size));
  if (const auto* wave = std::get_if<rw::WaveHeader>(&header)) {
    // The sample data lies inside the bytes.
    if (uint64_t{wave->dataOffset} + wave->dataSize > size) __builtin_trap();
  }
  return 0;
}
