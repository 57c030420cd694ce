#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rw {

// How a text's characters are stored: Windows-1252 bytes (demos, archives, the program's own
// texts) or UTF-8 (what the user typed).
enum class TextForm { kWindows1252, kUtf8 };

// What the user types (notes, player descriptions) is UTF-8 inside the program. Its files stay
// Windows-1252, which older versions and other readers expect, while every character fits
// that code page; a text holding any other character is written as UTF-8 after a byte-order
// mark, so nothing typed is lost.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The bytes of a file holding the text.
std::string UserTextFileBytes(std::string_view text);
// A file's text: after a byte-order mark as it stands, otherwise read as Windows-1252.
std::string UserTextOfFile(std::string_view bytes);

// A Windows-1252 text, such as a player's name from a demo, as a user text. The five bytes
// the code page leaves undefined become the control characters of the same number, so that
// the way back gives every byte again.
std::string Windows1252ToUserText(std::string_view text);
// The Windows-1252 bytes of a user text; nullopt when one of its characters has none.
std::optional<std::string> UserTextToWindows1252(std::string_view text);

}  // namespace rw
