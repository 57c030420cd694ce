#pragma once

#include <string>
#include <string_view>

namespace rw {

// Whether text is well-formed UTF-8 (shortest forms, no surrogates, at most U+10FFFF).
bool IsUtf8(std::string_view text);
// The length of the well-formed UTF-8 sequence at text[i] (1 for ASCII), or 0 when none
// starts there.
size_t Utf8SequenceLength(std::string_view text, size_t i);

// Names of files, folders and archive members are UTF-8 inside the program; a name that is
// not (a file named by an old tool) is taken as Windows-1252. For display and collation.
std::string NameToUtf8(std::string_view name);

// The Windows-1252 case rules (AnsiLower) applied to the characters of a UTF-8 name; other
// characters and bytes stay as they are.
std::string NameLowerText(std::string_view name);

// A member name as a ZIP directory stores it: UTF-8 when the entry's general purpose bit 11
// is set, else Windows-1252.
std::string ZipNameToUtf8(std::string_view stored, bool utf8Flag);

}  // namespace rw
