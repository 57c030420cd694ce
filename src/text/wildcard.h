#pragma once

#include <string_view>

namespace rw {

// "*" matches any run of characters, also none, "?" exactly one; the whole text must be
// covered. Bytes compare as they are.
bool WildcardMatches(std::string_view text, std::string_view pattern);

}  // namespace rw
