#pragma once

#include <string>
#include <string_view>

namespace rw {

// Whether the game's console reads text as one word exactly as written: printable ASCII
// without blanks, without the quote and command separator, and without the start of a
// comment ("//" or "/*").
bool IsConsoleWord(std::string_view text);

// Text that the console shows as it is, wherever it stands inside a quoted "set" value that
// is later run: control characters, quotes and command separators are dropped, and so is a
// "/" that would start a comment.
std::string ConsoleText(std::string_view text);

}  // namespace rw
