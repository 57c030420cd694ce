#include "demo/recorded_text.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

// A locale with another decimal separator and date form, to see that both come from it.
class GermanLocale : public FixedLocale {
 public:
  char DecimalSeparator() const override { return ','; }
  std::string ShortDateText(const LocalDateTime& v) const override {
    return std::to_string(v.day) + "." + std::to_string(v.month) + "." + std::to_string(v.year);
  }
};

uint32_t Dos(int year, int month, int day, int hour, int minute, int second) {
  return (static_cast<uint32_t>(year - 1980) << 25) | (static_cast<uint32_t>(month) << 21) |
         (static_cast<uint32_t>(day) << 16) | (static_cast<uint32_t>(hour) << 11) |
         (static_cast<uint32_t>(minute) << 5) | static_cast<uint32_t>(second / 2);
}

TEST(SizeText, KilobytesDropTheFractionMegabytesKeepTwoDecimals) {
  const FixedLocale fixed;
  EXPECT_EQ(SizeText(0, fixed), "0 KB");
  EXPECT_EQ(SizeText(900, fixed), "0 KB");
  EXPECT_EQ(SizeText(1048575, fixed), "1023 KB");
  EXPECT_EQ(SizeText(1048576, fixed), "1.00 MB");
  EXPECT_EQ(SizeText(1572864, fixed), "1.50 MB");
  EXPECT_EQ(SizeText(1572864, GermanLocale()), "1,50 MB");
}

TEST(RecordedText, ShortDateAndLongTimeWithoutTheTimeAtMidnight) {
  const FixedLocale fixed;
  EXPECT_EQ(RecordedText(Dos(2001, 5, 3, 17, 4, 8), fixed), "2001-05-03 17:04:08");
  EXPECT_EQ(RecordedText(Dos(2001, 5, 3, 0, 0, 0), fixed), "2001-05-03");
  EXPECT_EQ(RecordedText(Dos(2001, 5, 3, 0, 0, 2), fixed), "2001-05-03 00:00:02");
  EXPECT_EQ(RecordedText(Dos(1999, 12, 31, 23, 59, 58), GermanLocale()), "31.12.1999 23:59:58");
}

}  // namespace
}  // namespace rw
