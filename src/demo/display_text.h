#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/locale.h"
#include "text/user_text.h"

namespace rw {

// Megabytes from 1048576 bytes on, else kilobytes, with the given decimals and the locale's
// decimal separator: "1.00 MB", "1023.99 KB".
std::string FormatSize(uint64_t bytes, int decimals, const Locale& locale);

// Removes colour codes: a caret and the character after it, or a lone caret.
std::string StripColors(std::string_view text, TextForm form = TextForm::kWindows1252);
// The bytes of the character at text[i]: one in Windows-1252, a whole sequence in UTF-8 (one
// for a byte that starts none).
size_t CharacterLength(std::string_view text, size_t i, TextForm form);

// StripColors, then every character a file name cannot hold becomes "_".
std::string SafeFileName(std::string_view text);

// "0" gives "NO", "1" gives "YES", anything else "N/A".
std::string YesNoText(std::string_view text);

// "0" gives "N/S" (not set); anything else is returned unchanged.
std::string ZeroAsNotSet(std::string_view text);

// The text a name box is measured by: the name without colour codes, each "|" counted as the
// two letters "ai" (a bar is narrow, the box must not be).
std::string NameBoxMeasure(std::string_view name, TextForm form = TextForm::kWindows1252);

}  // namespace rw
