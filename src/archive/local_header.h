#pragma once

#include <cstdint>
#include <optional>

#include "archive/archive_file.h"

namespace rw {

// What the extractor takes from a member's local header.
struct LocalHeader {
  uint16_t flags = 0;
  uint16_t method = 0;
  uint32_t dateTime = 0;
  uint32_t crc32 = 0;
  uint32_t compressedSize = 0;
  uint32_t size = 0;
  uint64_t dataOffset = 0;  // absolute offset of the member's data

  static constexpr uint16_t kEncrypted = 0x0001;
  static constexpr uint16_t kBigDictionary = 0x0002;
  static constexpr uint16_t kLiteralTree = 0x0004;
  static constexpr uint16_t kDataDescriptor = 0x0008;
  // Sizes taken when a streamed member's real ones only follow its data.
  static constexpr uint32_t kUnknownSize = 0x7FFFFF9B;

  bool HasDataDescriptor() const { return (flags & kDataDescriptor) != 0; }
};

// The local header at offset; nullopt when it cannot be read or its signature is wrong.
std::optional<LocalHeader> ReadLocalHeader(ArchiveFile& file, uint32_t offset);

// The CRC-32 of a data descriptor at offset; its signature is optional, as writers differ.
std::optional<uint32_t> ReadDescriptorCrc(ArchiveFile& file, uint64_t offset);

}  // namespace rw
