#include "text/wildcard.h"
#include "host/file_system.h"
#include "text/name_text.h"

namespace rw {

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  // As in the system's folder listing, "*.*" also matches names without a dot.
  if (pattern == "*.*" || pattern == "*") return true;
  return WildcardMatches(NameLowerText(name), NameLowerText(pattern));
}

}  // namespace rw
