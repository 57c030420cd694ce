#include "library/row_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "demo/display_text.h"
#include "library/sorted_rows.h"

namespace rw {
namespace {

// A locale of the German kind: "," for decimals, "." for thousands, "." in dates.
class GermanLocale : public FixedLocale {
 public:
  char DecimalSeparator() const override { return ','; }
  char ThousandsSeparator() const override { return '.'; }
};

std::vector<std::string> Sorted(std::vector<std::string> texts, bool ascending) {
  FixedLocale locale;
  std::stable_sort(texts.begin(), texts.end(), [&](const std::string& a, const std::string& b) {
    return CompareRowTexts(a, b, locale, ascending) < 0;
  });
  return texts;
}

TEST(RowCompare, SizesSortByTheirNumber) {
  FixedLocale locale;
  const std::string nine = FormatSize(9 * 1024, 2, locale);
  const std::string ten = FormatSize(10 * 1024, 2, locale);
  ASSERT_EQ(nine, "9.00 KB");
  EXPECT_LT(CompareRowTexts(nine, ten, locale), 0);
  EXPECT_GT(CompareRowTexts(nine, ten, locale, false), 0);
  EXPECT_LT(CompareRowTexts("1023.99 KB", "1.00 MB", locale), 0);
  EXPECT_EQ(Sorted({"10.00 KB", "2.00 MB", "9.00 KB", "950.50 KB"}, true),
            (std::vector<std::string>{"9.00 KB", "10.00 KB", "950.50 KB", "2.00 MB"}));
}

TEST(RowCompare, DatesSortByDateAndTimeNotByText) {
  // A locale whose dates do not sort as text: day first.
  class DayFirstLocale : public FixedLocale {
   public:
    std::optional<LocalDateTime> ParseDateTime(std::string_view text) const override {
      if (text.size() < 10) return std::nullopt;
      std::string iso = std::string(text.substr(6, 4)) + "-" + std::string(text.substr(3, 2)) +
                        "-" + std::string(text.substr(0, 2)) + std::string(text.substr(10));
      return FixedLocale::ParseDateTime(iso);
    }
  } locale;
  EXPECT_LT(CompareRowTexts("31-12-2000 23:59:59", "01-01-2001 00:00:00", locale), 0);
  EXPECT_LT(CompareRowTexts("05-03-2001 09:00:00", "05-03-2001 17:04:08", locale), 0);
  EXPECT_EQ(CompareRowTexts("05-03-2001 17:04:08", "05-03-2001 17:04:08", locale), 0);

  FixedLocale fixed;
  EXPECT_TRUE(SortDate("2001-05-03 17:04:08", fixed));
  EXPECT_FALSE(SortDate("17:04:08", fixed));
  EXPECT_FALSE(SortDate("2001-05-03 25:00:00", fixed));
}

TEST(RowCompare, NumbersWithColonsAndSeparators) {
  FixedLocale fixed;
  EXPECT_EQ(SortNumber("12:30", fixed), 1230);
  EXPECT_EQ(SortNumber("2:5", fixed), 205);
  EXPECT_FALSE(SortNumber("00:12:30", fixed));
  EXPECT_FALSE(SortNumber("a:5", fixed));
  EXPECT_EQ(SortNumber("1,234.5", fixed), 1234.5);
  EXPECT_EQ(SortNumber("68", fixed), 68);
  EXPECT_EQ(SortNumber("-3 points", fixed), -3);
  EXPECT_FALSE(SortNumber("N/A", fixed));
  EXPECT_FALSE(SortNumber("1e5", fixed));
  EXPECT_FALSE(SortNumber("", fixed));
  GermanLocale german;
  EXPECT_EQ(SortNumber("1.234,5", german), 1234.5);
  EXPECT_EQ(SortNumber("9,50 KB", german), 9.5);
  // A number may start with either separator.
  EXPECT_EQ(SortNumber(",5", german), 0.5);
  EXPECT_EQ(SortNumber(".500,5", german), 500.5);
  EXPECT_EQ(SortNumber(",5", fixed), 5);
  EXPECT_EQ(SortNumber(".5", fixed), 0.5);
  EXPECT_LT(CompareRowTexts("9:59", "10:0", fixed), 0);
  EXPECT_LT(CompareRowTexts("2", "10", fixed), 0);
}

TEST(RowCompare, TextFallbackIsCaseSensitiveCollation) {
  FixedLocale fixed;
  EXPECT_LT(CompareRowTexts("Zebra", "apple", fixed), 0);
  EXPECT_GT(CompareRowTexts("q3dm17", "q3dm1", fixed), 0);
  // One number and one text compare as texts.
  EXPECT_LT(CompareRowTexts("10", "9a", fixed), 0);
  EXPECT_EQ(Sorted({"b", "A", "a"}, false), (std::vector<std::string>{"b", "a", "A"}));
}

// Rows alike in the sort column come in one order whatever order they were read in: by name,
// then by where they lie; the other direction is the exact reverse.
TEST(SortedRows, RowsAlikeInTheSortColumnFollowNameThenLocation) {
  FixedLocale locale;
  const auto row = [](const char* name, const char* location, const char* map) {
    ListRow columns;
    columns[kDemonameColumn] = name;
    columns[kLocationColumn] = location;
    columns[4] = map;
    return columns;
  };
  const std::vector<ListRow> read = {row("b.dm3", "/x", "q3dm17"), row("a.dm3", "/y", "q3dm17"),
                                     row("a.dm3", "/x", "q3dm17"), row("c.dm3", "/x", "q3dm1")};
  std::vector<std::string> orders[2];
  for (const bool reversedReading : {false, true}) {
    SortedRows rows(locale, 4, true);
    for (size_t i = 0; i < read.size(); ++i) {
      rows.Append(read[reversedReading ? read.size() - 1 - i : i]);
    }
    rows.Resort();
    for (const ListItem& item : rows.rows()) {
      orders[reversedReading].push_back(item.columns[kDemonameColumn] +
                                        item.columns[kLocationColumn]);
    }
    rows.SetSort(4, false);
    rows.Resort();
    std::vector<std::string> descending;
    for (const ListItem& item : rows.rows()) {
      descending.push_back(item.columns[kDemonameColumn] + item.columns[kLocationColumn]);
    }
    EXPECT_EQ(descending, (std::vector<std::string>{"b.dm3/x", "a.dm3/y", "a.dm3/x", "c.dm3/x"}));
  }
  EXPECT_EQ(orders[0], (std::vector<std::string>{"c.dm3/x", "a.dm3/x", "a.dm3/y", "b.dm3/x"}));
  EXPECT_EQ(orders[1], orders[0]);
}

}  // namespace
}  // namespace rw
