#include "text/web_link.h"

#include <array>
#include <string>

#include "text/windows_1252.h"

namespace rw {

namespace {

constexpr std::array<std::string_view, 9> kWebPrefixes = {
    "file://", "ftp://", "gopher://", "http://", "https://",
    "mailto:", "news:",  "telnet:",   "wais:"};

}  // namespace

bool IsWebLink(std::string_view text) {
  const std::string lower = AnsiLowerText(text);
  for (std::string_view prefix : kWebPrefixes) {
    if (lower.starts_with(prefix)) return true;
  }
  return false;
}

}  // namespace rw
