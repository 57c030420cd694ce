#pragma once

#include <string_view>

namespace rw {

// Whether text starts with one of the nine link prefixes, compared without regard to case.
bool IsWebLink(std::string_view text);

}  // namespace rw
