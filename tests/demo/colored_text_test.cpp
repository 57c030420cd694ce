#include "demo/colored_text.h"

#include <gtest/gtest.h>

#include "demo/display_text.h"

namespace rw {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x008000;
constexpr uint32_t kBlue = 0x0000FF;

struct Expected {
  uint32_t rgb;
  bool underlined;
  std::string characters;
};

void ExpectRuns(std::string_view text, bool underline, const std::vector<Expected>& expected,
                TextForm form = TextForm::kWindows1252) {
  const std::vector<ColoredRun> runs = ColoredTextRuns(text, underline, form);
  ASSERT_EQ(runs.size(), expected.size()) << text;
  for (size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].rgb, expected[i].rgb) << text << " run " << i;
    EXPECT_EQ(runs[i].underlined, expected[i].underlined) << text << " run " << i;
    EXPECT_EQ(runs[i].characters, expected[i].characters) << text << " run " << i;
  }
}

TEST(ColorCodes, CodeModuloEightPicksTheColour) {
  EXPECT_EQ(kColorCodeRgb[ColorCodeIndex('1')], kRed);  // '1' is 49
  EXPECT_EQ(kColorCodeRgb[ColorCodeIndex('2')], kGreen);
  EXPECT_EQ(kColorCodeRgb[ColorCodeIndex('6')], 0x800080u);
  EXPECT_EQ(kColorCodeRgb[ColorCodeIndex('0')], 0x000000u);
  EXPECT_EQ(kColorCodeRgb[ColorCodeIndex('a')], kRed);  // 97 mod 8 is 1
  EXPECT_EQ(kColorCodeRgb[ColorCodeIndex('\xFF')], kWhite);
}

TEST(ColoredTextRuns, StartsWhiteAndSwitchesAtCodes) {
  ExpectRuns("ab^1Red^4Blue", false,
             {{kWhite, false, "ab"}, {kRed, false, "Red"}, {kBlue, false, "Blue"}});
  ExpectRuns("plain", false, {{kWhite, false, "plain"}});
  ExpectRuns("", false, {});
}

TEST(ColoredTextRuns, FinalCodeIsDroppedAndLoneCaretsAreNotDrawn) {
  ExpectRuns("Name^1", false, {{kWhite, false, "Name"}});
  ExpectRuns("a^^1b", false, {{kWhite, false, "a"}, {kRed, false, "b"}});
  ExpectRuns("a^", false, {{kWhite, false, "a"}});
  ExpectRuns("^^", false, {});
  // A code right before a caret takes no character; that caret starts the next code.
  ExpectRuns("^1^2x", false, {{kGreen, false, "x"}});
}

TEST(ColoredTextRuns, LineFeedsQuotesAndTheWidthOnlyCharacter) {
  ExpectRuns(
      "a\n\"b\x19"
      "c",
      false, {{kWhite, false, "abc"}});
  // Right after a code the width-only character is taken (measured, not painted).
  ExpectRuns("^1\x19x", false, {{kRed, false, "\x19x"}});
  ExpectRuns("^1\"x", false, {{kRed, false, "x"}});
  ExpectRuns("^1\nx", false, {{kRed, false, "x"}});
}

TEST(ColoredTextRuns, UnderlinesCapitalsOnlyInScoreTexts) {
  ExpectRuns(
      "SCORE: ^2Ab", true,
      {{kWhite, true, "SCORE"}, {kWhite, false, ": "}, {kGreen, true, "A"}, {kGreen, false, "b"}});
  ExpectRuns("Score AB", true, {{kWhite, false, "Score AB"}});
  ExpectRuns("SCORE", false, {{kWhite, false, "SCORE"}});
}

// What the user typed is UTF-8: a code's character and every drawn one are whole characters
// (Ж is D0 96, Привет and 決 as RFC 3629 writes them).
TEST(ColoredTextRuns, UserTextKeepsWholeCharacters) {
  const std::string text =
      "^\xd0\x96x^1\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 \xe6\xb1\xba";
  // D0 is 208, 0 modulo 8: black.
  ExpectRuns(text, false,
             {{0x000000, false, "x"},
              {kRed, false, "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 \xe6\xb1\xba"}},
             TextForm::kUtf8);
  EXPECT_EQ(StripColors(text, TextForm::kUtf8),
            "x\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 \xe6\xb1\xba");
  // The same bytes read as Windows-1252 lose only the one byte after each caret.
  EXPECT_EQ(StripColors("^\xd0\x96x", TextForm::kWindows1252), "\x96x");
}

}  // namespace
}  // namespace rw
