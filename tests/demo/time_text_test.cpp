#include "demo/time_text.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

TEST(FormatSeconds, TwoDigitsEachAndHoursGrow) {
  EXPECT_EQ(FormatSeconds(0), "00:00:00");
  EXPECT_EQ(FormatSeconds(3661), "01:01:01");
  EXPECT_EQ(FormatSeconds(360000), "100:00:00");
}

TEST(SecondsFromTime, ReadsTheTwoDigitHourForm) {
  EXPECT_EQ(SecondsFromTime("01:01:01"), 3661u);
  EXPECT_EQ(SecondsFromTime("00:06:00"), 360u);
  EXPECT_EQ(SecondsFromTime(""), 0u);
}

TEST(RoundedSeconds, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundedSeconds(1500), 2);
  EXPECT_EQ(RoundedSeconds(2500), 2);
  EXPECT_EQ(RoundedSeconds(2501), 3);
  EXPECT_EQ(RoundedSeconds(499), 0);
  EXPECT_EQ(RoundedSeconds(-1500), -2);
  EXPECT_EQ(RoundedSeconds(-400), 0);
}

}  // namespace
}  // namespace rw
