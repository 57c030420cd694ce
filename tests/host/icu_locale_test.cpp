#include "host/icu_locale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace rw {
namespace {

std::vector<std::string> Sorted(const Locale& locale, std::vector<std::string> texts) {
  std::stable_sort(texts.begin(), texts.end(), [&](const std::string& a, const std::string& b) {
    return locale.Compare(a, b) < 0;
  });
  return texts;
}

// The root collation of the Unicode Collation Algorithm (CLDR root): punctuation before
// digits before letters, letters alike whatever their case, lower case first among equals.
TEST(IcuLocale, CAndPosixCollateInTheRootOrder) {
  for (const char* name : {"C", "POSIX", "C.UTF-8", ""}) {
    const IcuLocale locale(name, name);
    EXPECT_EQ(Sorted(locale, {"charlie", "Beta", "9", "alpha", "_x", "beta"}),
              (std::vector<std::string>{"_x", "9", "alpha", "beta", "Beta", "charlie"}))
        << name;
    // "é" sorts with "e", also given as Windows-1252 (0xE9); "d" + U+00E9 in UTF-8.
    EXPECT_EQ(Sorted(locale, {"f", "d\xe9", "dz", "de"}),
              (std::vector<std::string>{"de", "d\xe9", "dz", "f"}));
    EXPECT_LT(locale.Compare("d\xc3\xa9", "dz"), 0);
    // The fixed formats stay.
    EXPECT_EQ(locale.ShortDateText({2001, 5, 3, 17, 4, 9}), "2001-05-03");
    EXPECT_EQ(locale.DecimalSeparator(), '.');
  }
}

TEST(IcuLocale, CaseIsIgnoredButNoTwoDifferentTextsAreEqual) {
  const IcuLocale locale("C", "C");
  EXPECT_EQ(locale.CompareIgnoringCase("ALPHA\xc9", "alpha\xe9"), 0);
  EXPECT_EQ(locale.CompareIgnoringCase("b\xc3\x84r", "B\xc3\xa4R"), 0);
  EXPECT_LT(locale.CompareIgnoringCase("alpha", "Beta"), 0);
  // Control bytes weigh nothing in a collation; the separator of cache fields must still count.
  EXPECT_NE(locale.CompareIgnoringCase("a\x01"
                                       "bc",
                                       "ab\x01"
                                       "c"),
            0);
  EXPECT_EQ(locale.CompareIgnoringCase("a\x01"
                                       "bc",
                                       "ab\x01"
                                       "c"),
            -locale.CompareIgnoringCase("ab\x01"
                                        "c",
                                        "a\x01"
                                        "bc"));
}

// Texts equal but for case fold alike, so a hash of the folded text finds them.
TEST(IcuLocale, TextsEqualButForCaseFoldAlike) {
  const IcuLocale locale("C", "C");
  const FixedLocale fixed;
  const std::pair<const char*, const char*> windows1252[] = {{"ALPHA\xc9.DM3", "alpha\xe9.dm3"},
                                                             {"\x8a\x9f", "\x9a\xff"}};
  for (const auto& [a, b] : windows1252) {
    SCOPED_TRACE(a);
    ASSERT_EQ(locale.CompareIgnoringCase(a, b), 0);
    EXPECT_EQ(locale.FoldCase(a), locale.FoldCase(b));
    ASSERT_EQ(fixed.CompareIgnoringCase(a, b), 0);
    EXPECT_EQ(fixed.FoldCase(a), fixed.FoldCase(b));
  }
  ASSERT_EQ(locale.CompareIgnoringCase("b\xc3\x84r", "B\xc3\xa4R"), 0);
  EXPECT_EQ(locale.FoldCase("b\xc3\x84r"), locale.FoldCase("B\xc3\xa4R"));
  EXPECT_NE(locale.FoldCase("alpha"), locale.FoldCase("alpha."));
}

// CLDR's German and US English formats.
TEST(IcuLocale, TheUsersFormats) {
  const IcuLocale german("de_DE.UTF-8", "de_DE.UTF-8@euro");
  EXPECT_EQ(german.DecimalSeparator(), ',');
  EXPECT_EQ(german.ThousandsSeparator(), '.');
  EXPECT_EQ(german.DateSeparator(), '.');
  EXPECT_EQ(german.TimeSeparator(), ':');
  const LocalDateTime when{2001, 5, 3, 17, 4, 9};
  EXPECT_EQ(german.ShortDateText(when), "03.05.2001");
  EXPECT_EQ(german.LongTimeText(when), "17:04:09");
  EXPECT_EQ(german.ParseDateTime("03.05.2001 17:04:09"), when);
  EXPECT_EQ(german.ParseDateTime("03.05.2001"), (LocalDateTime{2001, 5, 3, 0, 0, 0}));
  EXPECT_EQ(german.ParseDateTime("31.02.2001"), std::nullopt);
  EXPECT_EQ(german.ParseDateTime("1.234.567 KB"), std::nullopt);

  const IcuLocale american("en_US.UTF-8", "en_US.UTF-8");
  EXPECT_EQ(american.DecimalSeparator(), '.');
  EXPECT_EQ(american.ThousandsSeparator(), ',');
  EXPECT_EQ(american.ShortDateText(when), "05/03/2001");
  EXPECT_EQ(american.LongTimeText(when), "5:04:09 PM");
  EXPECT_EQ(
      american.ParseDateTime(american.ShortDateText(when) + " " + american.LongTimeText(when)),
      when);
}

TEST(IcuLocale, EnvironmentNames) {
  EXPECT_EQ(IcuLocaleName("de_DE.UTF-8@euro"), "de_DE");
  EXPECT_EQ(IcuLocaleName("sv_SE"), "sv_SE");
  EXPECT_EQ(IcuLocaleName("C.UTF-8"), "");
  EXPECT_EQ(IcuLocaleName("POSIX"), "");
}

}  // namespace
}  // namespace rw
