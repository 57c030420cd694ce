#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rw {

// A command-line text split into arguments as a Windows program would: blanks and tabs
// separate, double quotes group.
std::vector<std::string> SplitCommandLine(std::string_view text);

}  // namespace rw
