#pragma once

#include <string>
#include <string_view>

namespace rw {

// A UTF-8 text (typed by the user, or a name going into a side file) as Windows-1252.
// Characters Windows-1252 lacks become "?"; bytes that are no UTF-8 are kept as they are.
std::string Utf8ToWindows1252(std::string_view utf8);

}  // namespace rw
