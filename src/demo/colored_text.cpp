#include "demo/colored_text.h"

#include "demo/display_text.h"

namespace rw {
namespace {

void Take(std::vector<ColoredRun>& runs, uint32_t rgb, bool underlineCapitals,
          std::string_view character) {
  const char c = character.front();
  const bool underlined = underlineCapitals && c >= 'A' && c <= 'Z';
  if (runs.empty() || runs.back().rgb != rgb || runs.back().underlined != underlined) {
    runs.push_back({rgb, underlined, {}});
  }
  runs.back().characters += character;
}

}  // namespace

std::vector<ColoredRun> ColoredTextRuns(std::string_view text, bool underlineCapitals,
                                        TextForm form) {
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
      i += 1 + CharacterLength(text, i + 1, form);
      if (i >= text.size()) break;
      // The character after a code is taken even when it is the width-only one.
      const char next = text[i];
      if (next != '^' && next != '\n' && next != '"') {
        const size_t length = CharacterLength(text, i, form);
        Take(runs, rgb, underlineCapitals, text.substr(i, length));
        i += length;
      }
    } else {
      const size_t length = CharacterLength(text, i, form);
      if (c != '^' && c != '\n' && c != '"' && c != kWidthOnlyCharacter) {
        Take(runs, rgb, underlineCapitals, text.substr(i, length));
      }
      i += length;
    }
  }
  return runs;
}

}  // namespace rw
