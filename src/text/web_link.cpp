#include "text/web_link.h"

#include <string>

#include "text/windows_1252.h"

namespace rw {

bool IsWebLink(std::string_view text) {
  const std::string lower = AnsiLowerText(text);
  for (std::string_view prefix : kWebPrefixes) {
    if (lower.starts_with(prefix)) return true;
  }
  return false;
}

}  // namespace rw
