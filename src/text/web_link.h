#pragma once

#include <array>
#include <string_view>

namespace rw {

// The nine link prefixes, in the order the user data editor's web list offers them.
inline constexpr std::array<std::string_view, 9> kWebPrefixes = {
    "file://", "ftp://", "gopher://", "http://", "https://",
    "mailto:", "news:",  "telnet:",   "wais:"};

// Whether text starts with one of the nine link prefixes, compared without regard to case.
bool IsWebLink(std::string_view text);

}  // namespace rw
