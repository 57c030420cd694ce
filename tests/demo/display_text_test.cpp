#include "demo/display_text.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

class CommaLocale : public FixedLocale {
 public:
  char DecimalSeparator() const override { return ','; }
};

TEST(FormatSize, SwitchesToMegabytesAtOneMebibyte) {
  FixedLocale locale;
  EXPECT_EQ(FormatSize(1048575, 2, locale), "1024.00 KB");
  EXPECT_EQ(FormatSize(1048576, 2, locale), "1.00 MB");
  EXPECT_EQ(FormatSize(614400, 2, locale), "600.00 KB");
  EXPECT_EQ(FormatSize(1572864, 2, CommaLocale()), "1,50 MB");
  EXPECT_EQ(FormatSize(0, 2, locale), "0.00 KB");
}

TEST(StripColors, DropsCodesAndLoneCarets) {
  EXPECT_EQ(StripColors("^1Red^^7x^"), "Redx");
  EXPECT_EQ(StripColors("plain"), "plain");
  EXPECT_EQ(StripColors("^^"), "");
}

TEST(SafeFileName, ReplacesCharactersFileNamesCannotHold) {
  EXPECT_EQ(SafeFileName("^1Bad/Boy"), "Bad_Boy");
  EXPECT_EQ(SafeFileName("a:b?c"), "a_b_c");
  EXPECT_EQ(SafeFileName("\"*<>\\|\x01\xE4~"), "________~");
}

TEST(MarkerTexts, YesNoAndNotSet) {
  EXPECT_EQ(YesNoText("0"), "NO");
  EXPECT_EQ(YesNoText("1"), "YES");
  EXPECT_EQ(YesNoText("2"), "N/A");
  EXPECT_EQ(ZeroAsNotSet("0"), "N/S");
  EXPECT_EQ(ZeroAsNotSet("20"), "20");
  EXPECT_EQ(ZeroAsNotSet("N/A"), "N/A");
}

TEST(NameBox, MeasuredWithoutCodesAndWithWideBars) {
  EXPECT_EQ(NameBoxMeasure("^1|^2X|"), "aiXai");
  EXPECT_EQ(NameBoxMeasure("Sarge"), "Sarge");
}

}  // namespace
}  // namespace rw
