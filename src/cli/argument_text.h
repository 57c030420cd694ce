#pragma once

#include <string>
#include <string_view>

namespace rw::cli {

// A command-line text (UTF-8 on this host) as the single-byte text the program's files hold.
// Characters Windows-1252 lacks become "?"; bytes that are no UTF-8 are kept as they are.
std::string ArgumentToWindows1252(std::string_view utf8);

}  // namespace rw::cli
