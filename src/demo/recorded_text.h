#pragma once

#include <cstdint>
#include <string>

#include "host/locale.h"

namespace rw {

// A demo's size as the properties window shows it: whole kilobytes below one megabyte,
// else megabytes with two decimals ("900 KB", "1.50 MB").
std::string SizeText(uint64_t size, const Locale& locale);

// An MS-DOS packed local date and time as the short date, a blank and the long time; the
// time is left out at exactly midnight.
std::string RecordedText(uint32_t dosTime, const Locale& locale);

}  // namespace rw
