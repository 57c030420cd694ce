#include "demo/colored_text.h"

namespace rw {
namespace {

void Take(std::vector<ColoredRun>& runs, uint32_t rgb, bool underlineCapitals, char c) {
  const bool underlined = underlineCapitals && c >= 'A' && c <= 'Z';
  if (runs.empty() || runs.back().rgb != rgb || runs.back().underlined != underlined) {
    runs.push_back({rgb, underlined, {}});
  }
  runs.back().characters += c;
}

}  // namespace

std::vector<ColoredRun> ColoredTextRuns(std::string_view text, bool underlineCapitals) {
  if (text.find("SCORE") == std::string_view::npos) underlineCapitals = false;
  // A colour code at the very end has nothing to colour.
  if (text.size() >= 2 && text[text.size() - 2] == '^') text.remove_suffix(2);

  std::vector<ColoredRun> runs;
  uint32_t rgb = 0xFFFFFF;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '^' && i + 2 < text.size() && text[i + 1] != '^') {
      rgb = kColorCodeRgb[ColorCodeIndex(text[i + 1])];
      i += 2;
      // The character after a code is taken even when it is the width-only one.
      const char next = text[i];
      if (next != '^' && next != '\n' && next != '"') {
        Take(runs, rgb, underlineCapitals, next);
        ++i;
      }
    } else {
      if (c != '^' && c != '\n' && c != '"' && c != kWidthOnlyCharacter) {
        Take(runs, rgb, underlineCapitals, c);
      }
      ++i;
    }
  }
  return runs;
}

}  // namespace rw
