#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rw::test {

// One member of a ZIP archive made by a test; the name uses "/" as ZIP tools write it.
struct ZipMember {
  std::string name;
  std::string data;
  uint32_t dosTime = 0;  // MS-DOS packed: date high, time low
  uint16_t flags = 0;    // general purpose bits, such as 11 for a UTF-8 name
};

namespace zip_detail {

inline void Put16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

inline void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace zip_detail

// A ZIP archive of stored members written after prefix, with offsets counted from the start
// of the whole file as self-extracting archives have them.
inline std::string ZipBytes(const std::vector<ZipMember>& members, std::string_view prefix = {}) {
  using zip_detail::Put16;
  using zip_detail::Put32;
  std::string out(prefix);
  std::string directory;
  for (const ZipMember& member : members) {
    const auto crc =
        static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(member.data.data()),
                                    static_cast<uInt>(member.data.size())));
    const auto size = static_cast<uint32_t>(member.data.size());
    const auto offset = static_cast<uint32_t>(out.size());
    out += "PK\x03\x04";
    Put16(out, 10);  // version needed
    Put16(out, member.flags);
    Put16(out, 0);  // stored
    Put32(out, member.dosTime);
    Put32(out, crc);
    Put32(out, size);
    Put32(out, size);
    Put16(out, static_cast<uint32_t>(member.name.size()));
    Put16(out, 0);
    out += member.name;
    out += member.data;

    directory += "PK\x01\x02";
    Put16(directory, 20);  // made by MS-DOS
    Put16(directory, 10);
    Put16(directory, member.flags);
    Put16(directory, 0);
    Put32(directory, member.dosTime);
    Put32(directory, crc);
    Put32(directory, size);
    Put32(directory, size);
    Put16(directory, static_cast<uint32_t>(member.name.size()));
    Put16(directory, 0);  // extra
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, offset);
    directory += member.name;
  }
  const auto directoryOffset = static_cast<uint32_t>(out.size());
  out += directory;
  out += "PK\x05\x06";
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(members.size()));
  Put16(out, static_cast<uint32_t>(members.size()));
  Put32(out, static_cast<uint32_t>(directory.size()));
  Put32(out, directoryOffset);
  Put16(out, 0);
  return out;
}

// An MS-DOS executable header whose image size (pages and bytes in the last page) is exactly
// imageSize bytes, padded to that size: a ZIP written after it makes a self-extracting archive.
inline std::string ExecutableStub(uint32_t imageSize) {
  std::string stub = "MZ";
  zip_detail::Put16(stub, imageSize % 512);
  zip_detail::Put16(stub, (imageSize + 511) / 512);
  stub.resize(imageSize, '\0');
  return stub;
}

}  // namespace rw::test
