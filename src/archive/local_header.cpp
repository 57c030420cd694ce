#include "archive/local_header.h"

#include "archive/little_endian.h"

namespace rw {

std::optional<LocalHeader> ReadLocalHeader(ArchiveFile& file, uint32_t offset) {
  uint8_t record[30];
  if (!file.Seek(offset) || !file.ReadExactly(record, sizeof record) ||
      !IsZipSignature(record, 3, 4)) {
    return std::nullopt;
  }
  LocalHeader header;
  header.flags = ReadLe16(record + 6);
  header.method = ReadLe16(record + 8);
  header.dateTime = ReadLe32(record + 10);
  header.crc32 = ReadLe32(record + 14);
  header.compressedSize = ReadLe32(record + 18);
  header.size = ReadLe32(record + 22);
  header.dataOffset =
      uint64_t{offset} + sizeof record + ReadLe16(record + 26) + ReadLe16(record + 28);
  if (header.HasDataDescriptor() && header.method != 0 && header.compressedSize == 0) {
    header.compressedSize = LocalHeader::kUnknownSize;
    header.size = LocalHeader::kUnknownSize;
    header.crc32 = 0;
  }
  return header;
}

std::optional<uint32_t> ReadDescriptorCrc(ArchiveFile& file, uint64_t offset) {
  uint8_t bytes[8];
  if (!file.Seek(offset)) return std::nullopt;
  const int64_t got = file.Read(bytes, sizeof bytes);
  if (got >= 8 && IsZipSignature(bytes, 7, 8)) return ReadLe32(bytes + 4);
  if (got >= 4 && !IsZipSignature(bytes, 7, 8)) return ReadLe32(bytes);
  return std::nullopt;
}

}  // namespace rw
