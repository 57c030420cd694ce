#include "text/text_lines.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

TEST(TextLines, EveryLineEndSplitsAndAFinalBreakAddsNoLine) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd\r\n"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\n\r"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(SplitLines("\n\n"), (std::vector<std::string>{"", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextLines, JoinEndsEveryLineWithCarriageReturnAndLineFeed) {
  EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinLines({}), "");
  EXPECT_EQ(SplitLines(JoinLines({"x", "", "y"})), (std::vector<std::string>{"x", "", "y"}));
}

}  // namespace
}  // namespace rw
