#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/user_text.h"

namespace rw {

// The eight colours a caret code selects, as 0xRRGGBB, indexed by the code's value modulo 8:
// black, red, green, yellow, blue, cyan, purple, white.
inline constexpr std::array<uint32_t, 8> kColorCodeRgb = {0x000000, 0xFF0000, 0x008000, 0xFFFF00,
                                                          0x0000FF, 0x00FFFF, 0x800080, 0xFFFFFF};

inline int ColorCodeIndex(char code) {
  return static_cast<unsigned char>(code) % 8;
}

// Counts in the width of a drawn text but is itself not drawn.
inline constexpr char kWidthOnlyCharacter = 25;

// Characters drawn one after another in one colour and one underline state.
struct ColoredRun {
  uint32_t rgb = 0xFFFFFF;
  bool underlined = false;
  std::string characters;  // kWidthOnlyCharacter is measured but not painted
};

// What a coloured name or label draws: colour codes switch the colour (white at first), line
// feeds, double quotes and lone carets are left out, and when underlineCapitals is set and the
// text holds "SCORE" the capitals A to Z are underlined. A run's characters keep the text's form.
std::vector<ColoredRun> ColoredTextRuns(std::string_view text, bool underlineCapitals,
                                        TextForm form = TextForm::kWindows1252);

}  // namespace rw
