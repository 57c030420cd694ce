#include "sound/wave_header.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace rw {
namespace {

constexpr size_t kChunkHeaderSize = 8;
constexpr size_t kRiffHeaderSize = 12;  // "RIFF", size, form type
constexpr size_t kFormatSize = 16;

uint16_t Read16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint32_t Read32(std::span<const uint8_t> bytes, size_t at) {
  return Read16(bytes, at) | static_cast<uint32_t>(Read16(bytes, at + 2)) << 16;
}

bool HasId(std::span<const uint8_t> bytes, size_t at, const char (&id)[5]) {
  return std::memcmp(bytes.data() + at, id, 4) == 0;
}

struct Chunk {
  size_t dataOffset;
  uint32_t size;
};

// Walks the chunks from `from` as the multimedia file services do: each padded to an even
// size, and a header that does not fit before `end` ends the search.
std::optional<Chunk> FindChunk(std::span<const uint8_t> bytes, uint64_t from, uint64_t end,
                               const char (&id)[5]) {
  for (uint64_t at = from; at + kChunkHeaderSize <= end;) {
    const uint32_t size = Read32(bytes, at + 4);
    if (HasId(bytes, at, id)) return Chunk{static_cast<size_t>(at + kChunkHeaderSize), size};
    at += kChunkHeaderSize + size + (size & 1);
  }
  return std::nullopt;
}

}  // namespace

std::variant<WaveHeader, std::string_view> ReadWaveHeader(std::span<const uint8_t> member) {
  if (member.empty()) return "Couldn't open wave file ";
  if (member.size() < kChunkHeaderSize ||
      (HasId(member, 0, "RIFF") && member.size() < kRiffHeaderSize)) {
    return "Invalid multimedia file!";
  }
  if (!HasId(member, 0, "RIFF") || !HasId(member, 8, "WAVE")) return "Not a wave file!";
  // A RIFF size beyond the member (a cut file) counts up to the member's end.
  const uint64_t riffEnd =
      std::min<uint64_t>(kChunkHeaderSize + uint64_t{Read32(member, 4)}, member.size());

  const std::optional<Chunk> format = FindChunk(member, kRiffHeaderSize, riffEnd, "fmt ");
  if (!format) return "Couldn't find 'fmt' chunk!";
  if (format->size < kFormatSize) return "Abnormal 'fmt' size!";
  if (format->dataOffset + kFormatSize > member.size()) return "Error reading 'fmt' chunk!";
  WaveHeader header;
  WaveFormat& f = header.format;
  f.formatTag = Read16(member, format->dataOffset);
  f.channels = Read16(member, format->dataOffset + 2);
  f.samplesPerSecond = Read32(member, format->dataOffset + 4);
  f.averageBytesPerSecond = Read32(member, format->dataOffset + 8);
  f.blockAlign = Read16(member, format->dataOffset + 12);
  f.bitsPerSample = Read16(member, format->dataOffset + 14);
  if (f.formatTag != kPcmFormat) {
    if (format->dataOffset + kFormatSize + 2 > member.size()) {
      return "Error reading 'waveformatex' length!";
    }
    f.extraSize = Read16(member, format->dataOffset + kFormatSize);
  }
  if (format->dataOffset + uint64_t{format->size} > member.size()) {
    return "Error ascending from 'fmt' chunk!";
  }

  const std::optional<Chunk> data = FindChunk(member, kRiffHeaderSize, riffEnd, "data");
  if (!data) return "Error seeking data!";
  if (data->dataOffset + uint64_t{data->size} > member.size()) return "Error getting info!";
  header.dataOffset = static_cast<uint32_t>(data->dataOffset);
  header.dataSize = data->size;
  return header;
}

}  // namespace rw
