#include "text/name_text.h"

#include <cstdint>
#include <cstring>

#include "text/windows_1252.h"

namespace rw {
namespace {

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

uint32_t DecodeTwoBytes(std::string_view text, size_t i) {
  return ((static_cast<unsigned char>(text[i]) & 0x1Fu) << 6) |
         (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
}

}  // namespace

size_t Utf8SequenceLength(std::string_view text, size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80;  // the range of the second byte, narrowed by the lead
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - i < length) return 0;
  const auto second = static_cast<unsigned char>(text[i + 1]);
  if (second < low || second > high) return 0;
  for (size_t k = 2; k < length; ++k) {
    if (!IsContinuation(static_cast<unsigned char>(text[i + k]))) return 0;
  }
  return length;
}

namespace {

// The lower-case code point of the Windows-1252 upper-case letters, else the code point.
uint32_t AnsiLowerCode(uint32_t code) {
  if ((code >= 'A' && code <= 'Z') || (code >= 0xC0 && code <= 0xDE && code != 0xD7)) {
    return code + 0x20;
  }
  switch (code) {
    case 0x160:
    case 0x152:
    case 0x17D:
      return code + 1;
    case 0x178:
      return 0xFF;
    default:
      return code;
  }
}

}  // namespace

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    // Names are mostly ASCII, which needs no sequence decoding: eight bytes at a time.
    uint64_t word = 0;
    if (text.size() - i >= sizeof word) {
      std::memcpy(&word, text.data() + i, sizeof word);
      if ((word & 0x8080808080808080u) == 0) {
        i += sizeof word;
        continue;
      }
    }
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string NameToUtf8(std::string_view name) {
  return IsUtf8(name) ? std::string(name) : Windows1252ToUtf8(name);
}

std::string NameLowerText(std::string_view name) {
  // Every change keeps the length of its character, so the text is lowered in place.
  std::string lower(name);
  for (size_t i = 0; i < lower.size();) {
    const auto lead = static_cast<unsigned char>(lower[i]);
    if (lead < 0x80) {
      if (lead >= 'A' && lead <= 'Z') lower[i] = static_cast<char>(lead + 0x20);
      ++i;
      continue;
    }
    const size_t length = Utf8SequenceLength(lower, i);
    if (length == 2) {
      // Every letter that changes is below U+0800, so it keeps its two bytes.
      const uint32_t code = AnsiLowerCode(DecodeTwoBytes(lower, i));
      lower[i] = static_cast<char>(0xC0 | (code >> 6));
      lower[i + 1] = static_cast<char>(0x80 | (code & 0x3F));
    }
    i += length == 0 ? 1 : length;
  }
  return lower;
}

std::string ZipNameToUtf8(std::string_view stored, bool utf8Flag) {
  return utf8Flag ? NameToUtf8(stored) : Windows1252ToUtf8(stored);
}

}  // namespace rw
