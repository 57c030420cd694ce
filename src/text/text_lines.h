#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rw {

// The lines of a side file: a line ends at a carriage return, a line feed or both, and a final
// line break adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// The lines, each followed by carriage return and line feed, as the program writes them.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace rw
