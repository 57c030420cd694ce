#include "text/user_text.h"

#include "text/name_text.h"
#include "text/utf8_to_windows_1252.h"
#include "text/windows_1252.h"

namespace rw {

std::string UserTextFileBytes(std::string_view text) {
  if (std::optional<std::string> bytes = UserTextToWindows1252(text)) return std::move(*bytes);
  return std::string(kUtf8ByteOrderMark) + std::string(text);
}

std::string UserTextOfFile(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) {
    return std::string(bytes.substr(kUtf8ByteOrderMark.size()));
  }
  return Windows1252ToUserText(bytes);
}

std::string Windows1252ToUserText(std::string_view text) {
  std::string out;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!IsUndefinedInWindows1252(text[i])) continue;
    out += Windows1252ToUtf8(text.substr(start, i - start));
    out += '\xC2';
    out += text[i];
    start = i + 1;
  }
  out += Windows1252ToUtf8(text.substr(start));
  return out;
}

std::optional<std::string> UserTextToWindows1252(std::string_view text) {
  if (!IsUtf8(text)) return std::nullopt;
  // A character the code page lacks comes back as "?", which tells it apart.
  std::string bytes = Utf8ToWindows1252(text);
  if (Windows1252ToUserText(bytes) != text) return std::nullopt;
  return bytes;
}

}  // namespace rw
