#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/locale.h"

namespace rw {

// Megabytes from 1048576 bytes on, else kilobytes, with the given decimals and the locale's
// decimal separator: "1.00 MB", "1023.99 KB".
std::string FormatSize(uint64_t bytes, int decimals, const Locale& locale);

// Removes colour codes: a caret and the character after it, or a lone caret.
std::string StripColors(std::string_view text);

// StripColors, then every character a file name cannot hold becomes "_".
std::string SafeFileName(std::string_view text);

// "0" gives "NO", "1" gives "YES", anything else "N/A".
std::string YesNoText(std::string_view text);

// "0" gives "N/S" (not set); anything else is returned unchanged.
std::string ZeroAsNotSet(std::string_view text);

// The text a name box is measured by: the name without colour codes, each "|" counted as the
// two letters "ai" (a bar is narrow, the box must not be).
std::string NameBoxMeasure(std::string_view name);

}  // namespace rw
