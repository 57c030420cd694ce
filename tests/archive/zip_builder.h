#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rw::test {

// One member of an archive built by a test.
struct ZipMember {
  std::string name;
  std::string data;                       // uncompressed bytes
  uint16_t method = 0;                    // 0 stored and 8 deflated are compressed here
  std::optional<std::string> compressed;  // written as is, for any method
  uint16_t flags = 0;
  bool descriptor = false;  // flag bit 3, sizes and CRC-32 after the data
  bool descriptorSignature = true;
  bool keepLocalSizes = false;    // with a descriptor, still fill the local header in
  std::optional<uint32_t> crc;    // the stored CRC-32 when not the data's own
  uint32_t dosTime = 0x3A8F6C35;  // 2009-04-15 13:33:42
  uint8_t host = 0;               // 0 MS-DOS, 3 Unix
  uint8_t dosAttributes = 0x20;
  std::string extra;
  std::string comment;
  std::optional<uint16_t> nameLengthOverride;  // to write a damaged central record
};

inline ZipMember Member(std::string name, std::string data, uint16_t method = 0) {
  ZipMember member;
  member.name = std::move(name);
  member.data = std::move(data);
  member.method = method;
  return member;
}

struct ZipOptions {
  std::string prefix;                    // bytes before the archive, as in a self-extractor
  bool offsetsFromArchiveStart = false;  // leave offsets unadjusted for the prefix
  std::string comment;                   // the archive comment after the end record
};

inline ZipOptions WithPrefix(std::string prefix, bool offsetsFromArchiveStart = false) {
  ZipOptions options;
  options.prefix = std::move(prefix);
  options.offsetsFromArchiveStart = offsetsFromArchiveStart;
  return options;
}

inline ZipOptions WithComment(std::string comment) {
  ZipOptions options;
  options.comment = std::move(comment);
  return options;
}

// Builds a whole archive in memory.
std::string BuildZip(const std::vector<ZipMember>& members, const ZipOptions& options = {});

// The last BuildZip call's layout: local header and directory offsets as written in the
// records; central record and end record offsets as file positions.
struct ZipLayout {
  std::vector<uint32_t> localHeaderOffsets;
  std::vector<uint32_t> centralRecordOffsets;
  uint32_t centralDirectoryOffset = 0;
  uint32_t endRecordOffset = 0;
};
const ZipLayout& LastZipLayout();

std::string RawDeflate(std::string_view data);
uint32_t Crc32(std::string_view data);
// Varied bytes that deflate well but not trivially.
std::string SampleBytes(size_t size, uint32_t seed = 1);

}  // namespace rw::test
