#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rw {

// "hh:mm:ss"; the hours grow past two digits when needed.
std::string FormatSeconds(uint32_t seconds);

// Reads back the two-digit-hour form of FormatSeconds; characters that are not digits count
// as 0.
uint32_t SecondsFromTime(std::string_view text);

// Milliseconds to whole seconds, halves to the even neighbour.
int64_t RoundedSeconds(int64_t milliseconds);

}  // namespace rw
