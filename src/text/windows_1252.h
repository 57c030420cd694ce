#pragma once

#include <string>
#include <string_view>

namespace rw {

// Texts of demos, archives and our own files are Windows-1252 bytes; these are the system's
// case conversions for that code page, which keep every character's position.
char AnsiLower(char c);
char AnsiUpper(char c);
std::string AnsiLowerText(std::string_view text);
std::string AnsiUpperText(std::string_view text);
bool EqualsIgnoringAnsiCase(std::string_view a, std::string_view b);

// For output at the edges (JSON, terminals).
std::string Windows1252ToUtf8(std::string_view text);

}  // namespace rw
