#include "library/column_scheme.h"

#include <gtest/gtest.h>

#include "host/fake/fake_host.h"
#include "support/test_files.h"

namespace rw {
namespace {

ColumnLayout SampleLayout() {
  ColumnLayout layout = BuiltInColumnLayout();
  layout.widths[4] = 150;
  layout.widths[25] = 90;
  std::swap(layout.order[1], layout.order[24]);
  return layout;
}

std::string BuiltInSchemeText() {
  std::string text;
  for (int i = 0; i < 26; ++i) {
    text += (i < 3 ? "-2," : "0,") + std::to_string((i + 3) % 26) + "\r\n";
  }
  return text;
}

TEST(ColumnScheme, SavedLinesAreWidthCommaOrderWithCrLf) {
  EXPECT_EQ(SchemeText(BuiltInColumnLayout()), BuiltInSchemeText());
  const std::string text = SchemeText(SampleLayout());
  EXPECT_EQ(text.substr(0, 12), "-2,3\r\n-2,1\r\n");
  EXPECT_NE(text.find("\r\n150,7\r\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 6), "90,2\r\n");
}

TEST(ColumnScheme, SavedFromOneListLoadsIntoTheOther) {
  test::TempDir dir;
  FakeFileSystem fs;
  const std::string path = dir.Join("MyScheme.rtw");
  ColumnLayout demoList = SampleLayout();
  demoList.sortColumn = 5;
  ASSERT_TRUE(SaveColumnScheme(fs, path, demoList));

  ColumnLayout playList = BuiltInColumnLayout();
  playList.sortAscending = true;
  EXPECT_EQ(LoadColumnScheme(fs, path, playList), SchemeLoad::kLoaded);
  EXPECT_EQ(playList.widths, demoList.widths);
  EXPECT_EQ(playList.order, demoList.order);
  EXPECT_EQ(playList.sortColumn, 0);  // the sort is no part of a scheme
  EXPECT_TRUE(playList.sortAscending);
}

TEST(ColumnScheme, BareLineFeedsAndExtraLinesAreAccepted) {
  std::string text = BuiltInSchemeText();
  for (size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at)) {
    text.erase(at, 1);
  }
  text.replace(0, 2, " 77 ");
  text += "trailing junk\n";
  ColumnLayout layout = SampleLayout();
  EXPECT_EQ(ParseColumnScheme(text, layout), SchemeLoad::kLoaded);
  EXPECT_EQ(layout.widths[0], 77);
  EXPECT_EQ(layout.order, BuiltInColumnLayout().order);
}

TEST(ColumnScheme, MalformedSchemesLeaveTheLayoutAlone) {
  const std::string good = BuiltInSchemeText();
  const size_t line25 = good.rfind("0,2\r\n");
  const std::vector<std::string> bad = {
      "",
      good.substr(0, line25),                        // 25 lines
      good.substr(0, line25) + "0,2",                // last line unterminated: still fine below
      good.substr(0, line25) + "02\r\n",             // no comma
      good.substr(0, line25) + "x,2\r\n",            // width not a number
      good.substr(0, line25) + "0,2.5\r\n",          // order not whole
      good.substr(0, line25) + "0,3\r\n",            // 3 twice, 2 missing
      good.substr(0, line25) + "0,26\r\n",           // no such column
      good.substr(0, line25) + "99999999999,2\r\n",  // out of range
      std::string("\0\0\0", 3),
  };
  for (size_t i = 0; i < bad.size(); ++i) {
    ColumnLayout layout = SampleLayout();
    const SchemeLoad result = ParseColumnScheme(bad[i], layout);
    if (i == 2) {
      EXPECT_EQ(result, SchemeLoad::kLoaded);
      continue;
    }
    EXPECT_EQ(result, SchemeLoad::kMalformed) << i;
    EXPECT_EQ(layout, SampleLayout()) << i;
  }
}

TEST(ColumnScheme, UnreadableAndFailedWrites) {
  test::TempDir dir;
  FakeFileSystem fs;
  ColumnLayout layout = SampleLayout();
  EXPECT_EQ(LoadColumnScheme(fs, dir.Join("none.rtw"), layout), SchemeLoad::kUnreadable);
  EXPECT_EQ(layout, SampleLayout());

  const std::string path = dir.Join("kept.rtw");
  test::WriteBytes(path, "old");
  fs.failWrites.push_back(path);
  EXPECT_FALSE(SaveColumnScheme(fs, path, layout));
  EXPECT_EQ(test::ReadBytes(path), "old");
}

}  // namespace
}  // namespace rw
