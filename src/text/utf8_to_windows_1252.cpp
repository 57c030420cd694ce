#include "text/utf8_to_windows_1252.h"

#include <cstdint>
#include <map>

#include "text/windows_1252.h"

namespace rw {
namespace {

// The characters Windows-1252 keeps at 0x80 to 0x9F, by their UTF-8 form.
const std::map<std::string, char>& HighCharacters() {
  static const std::map<std::string, char> characters = [] {
    std::map<std::string, char> table;
    for (int b = 0x80; b < 0xA0; ++b) {
      const std::string utf8 = Windows1252ToUtf8(std::string(1, static_cast<char>(b)));
      if (utf8 != "\xEF\xBF\xBD") table.emplace(utf8, static_cast<char>(b));
    }
    return table;
  }();
  return characters;
}

// The length of the UTF-8 sequence at text[i], or 0 when none starts there.
size_t SequenceLength(std::string_view text, size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const size_t length = lead >= 0xF0 && lead < 0xF5   ? 4
                        : lead >= 0xE0                ? 3
                        : lead >= 0xC2 && lead < 0xE0 ? 2
                                                      : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

bool IsUndefinedInWindows1252(char byte) {
  switch (static_cast<unsigned char>(byte)) {
    case 0x81:
    case 0x8D:
    case 0x8F:
    case 0x90:
    case 0x9D:
      return true;
    default:
      return false;
  }
}

std::string Utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const size_t length = lead < 0x80 ? 0 : SequenceLength(utf8, i);
    if (length == 0) {
      out += utf8[i++];
      continue;
    }
    const std::string sequence(utf8.substr(i, length));
    i += length;
    if (length == 2) {
      const uint32_t code =
          ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(sequence[1]) & 0x3Fu);
      if ((code >= 0xA0 && code <= 0xFF) ||
          (code < 0xA0 && IsUndefinedInWindows1252(static_cast<char>(code)))) {
        out += static_cast<char>(code);
        continue;
      }
    }
    const auto found = HighCharacters().find(sequence);
    out += found != HighCharacters().end() ? found->second : '?';
  }
  return out;
}

}  // namespace rw
