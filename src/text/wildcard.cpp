#include "text/wildcard.h"

namespace rw {

bool WildcardMatches(std::string_view text, std::string_view pattern) {
  // Only the last "*" needs to be retried: earlier ones can never do better.
  size_t t = 0;
  size_t p = 0;
  size_t starAt = std::string_view::npos;
  size_t starText = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++t;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      starText = t;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace rw
