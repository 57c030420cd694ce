#include "zip_builder.h"

#include <zlib.h>

#include <stdexcept>

namespace rw::test {

namespace {

ZipLayout lastLayout;

void Put16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

std::string RawDeflate(std::string_view data) {
  z_stream stream{};
  if (deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  std::string out(deflateBound(&stream, data.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  if (deflate(&stream, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

uint32_t Crc32(std::string_view data) {
  return static_cast<uint32_t>(
      crc32_z(0, reinterpret_cast<const Bytef*>(data.data()), data.size()));
}

std::string SampleBytes(size_t size, uint32_t seed) {
  static const char* const kWords[] = {"rail ",    "gauntlet ", "q3dm17 ", "frag ",      "quad ",
                                       "\x01\x02", "sarge ",    "\r\n",    "lightning ", "0042 "};
  std::string out;
  uint32_t state = seed * 2654435761u + 1;
  while (out.size() < size) {
    state = state * 1664525u + 1013904223u;
    out += kWords[(state >> 24) % 10];
    if ((state & 0x700) == 0) out += static_cast<char>(state >> 16);
  }
  out.resize(size);
  return out;
}

std::string BuildZip(const std::vector<ZipMember>& members, const ZipOptions& options) {
  std::string out = options.prefix;
  const uint32_t base = options.offsetsFromArchiveStart ? static_cast<uint32_t>(out.size()) : 0;
  ZipLayout layout;
  std::vector<std::string> payloads;
  for (const ZipMember& m : members) {
    std::string payload =
        m.compressed ? *m.compressed : (m.method == 8 ? RawDeflate(m.data) : m.data);
    const uint32_t crc = m.crc.value_or(Crc32(m.data));
    const uint16_t flags = static_cast<uint16_t>(m.flags | (m.descriptor ? 8 : 0));
    layout.localHeaderOffsets.push_back(static_cast<uint32_t>(out.size()) - base);
    Put32(out, 0x04034B50);
    Put16(out, 20);
    Put16(out, flags);
    Put16(out, m.method);
    Put32(out, m.dosTime);
    const bool zeroSizes = m.descriptor && !m.keepLocalSizes;
    Put32(out, zeroSizes ? 0 : crc);
    Put32(out, zeroSizes ? 0 : static_cast<uint32_t>(payload.size()));
    Put32(out, zeroSizes ? 0 : static_cast<uint32_t>(m.data.size()));
    Put16(out, static_cast<uint32_t>(m.name.size()));
    Put16(out, static_cast<uint32_t>(m.extra.size()));
    out += m.name;
    out += m.extra;
    out += payload;
    if (m.descriptor) {
      if (m.descriptorSignature) Put32(out, 0x08074B50);
      Put32(out, crc);
      Put32(out, static_cast<uint32_t>(payload.size()));
      Put32(out, static_cast<uint32_t>(m.data.size()));
    }
    payloads.push_back(std::move(payload));
  }
  layout.centralDirectoryOffset = static_cast<uint32_t>(out.size()) - base;
  for (size_t i = 0; i < members.size(); ++i) {
    const ZipMember& m = members[i];
    layout.centralRecordOffsets.push_back(static_cast<uint32_t>(out.size()));
    Put32(out, 0x02014B50);
    Put16(out, static_cast<uint32_t>(m.host) << 8 | 20);
    Put16(out, 20);
    Put16(out, static_cast<uint16_t>(m.flags | (m.descriptor ? 8 : 0)));
    Put16(out, m.method);
    Put32(out, m.dosTime);
    Put32(out, m.crc.value_or(Crc32(m.data)));
    Put32(out, static_cast<uint32_t>(payloads[i].size()));
    Put32(out, static_cast<uint32_t>(m.data.size()));
    Put16(out, m.nameLengthOverride.value_or(static_cast<uint16_t>(m.name.size())));
    Put16(out, static_cast<uint32_t>(m.extra.size()));
    Put16(out, static_cast<uint32_t>(m.comment.size()));
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, m.dosAttributes);
    Put32(out, layout.localHeaderOffsets[i]);
    out += m.name;
    out += m.extra;
    out += m.comment;
  }
  const uint32_t directorySize =
      static_cast<uint32_t>(out.size()) - base - layout.centralDirectoryOffset;
  layout.endRecordOffset = static_cast<uint32_t>(out.size());
  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(members.size()));
  Put16(out, static_cast<uint32_t>(members.size()));
  Put32(out, directorySize);
  Put32(out, layout.centralDirectoryOffset);
  Put16(out, static_cast<uint32_t>(options.comment.size()));
  out += options.comment;
  lastLayout = layout;
  return out;
}

const ZipLayout& LastZipLayout() {
  return lastLayout;
}

}  // namespace rw::test
