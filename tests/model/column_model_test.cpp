#include "model/column_model.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace rw {
namespace {

std::vector<std::string> Headers(const std::vector<ChooserEntry>& entries, bool checked) {
  std::vector<std::string> headers;
  for (const ChooserEntry& entry : entries) {
    if (entry.checked == checked) headers.push_back(entry.header);
  }
  return headers;
}

int PositionOf(const ColumnLayout& layout, int column) {
  return static_cast<int>(std::find(layout.order.begin(), layout.order.end(), column) -
                          layout.order.begin());
}

TEST(ColumnModel, BuiltInLayoutShowsNameSizeAndRecorded) {
  const ColumnLayout layout = BuiltInColumnLayout();
  const std::array<int32_t, kColumnCount> order = {
      3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 0, 1, 2};
  EXPECT_EQ(layout.order, order);
  for (int column = 0; column < kColumnCount; ++column) {
    EXPECT_EQ(layout.widths[column], column < 3 ? -2 : 0) << column;
  }
  EXPECT_EQ(layout.sortColumn, 0);
  EXPECT_FALSE(layout.sortAscending);
  EXPECT_EQ(Headers(BuildChooserList(layout), true),
            (std::vector<std::string>{"Demoname", "Size", "Recorded"}));
  EXPECT_EQ(Headers(BuildChooserList(layout), false).front(), "Archive Location");
}

TEST(ColumnModel, HeadersAndChooserWidths) {
  EXPECT_EQ(ColumnOfHeader("Final Score"), 20);
  EXPECT_EQ(ColumnOfHeader("Description"), 25);
  EXPECT_EQ(ColumnOfHeader("no such column"), 0);
  EXPECT_EQ(ChooserWidth(4), -2);
  EXPECT_EQ(ChooserWidth(20), -2);
  EXPECT_EQ(ChooserWidth(21), 90);
  EXPECT_EQ(ChooserWidth(25), 90);
}

TEST(ColumnChooser, HidingSizeMovesItBeforeTheVisibleColumns) {
  ColumnLayout layout = BuiltInColumnLayout();
  ColumnChooser chooser(layout);
  chooser.Select(1);
  ASSERT_EQ(chooser.entries()[1].header, "Size");
  EXPECT_TRUE(chooser.canHide());
  chooser.Hide();
  EXPECT_TRUE(chooser.applyEnabled());
  chooser.Apply(layout);
  EXPECT_FALSE(chooser.applyEnabled());
  EXPECT_EQ(layout.widths[1], 0);
  EXPECT_EQ(layout.order[0], 1);  // the first hidden entry of the check list
  EXPECT_EQ(layout.order[1], 3);
  EXPECT_EQ(layout.order[24], 0);
  EXPECT_EQ(layout.order[25], 2);

  const std::vector<ChooserEntry> again = BuildChooserList(layout);
  EXPECT_EQ(Headers(again, true), (std::vector<std::string>{"Demoname", "Recorded"}));
  EXPECT_EQ(again[2].header, "Size");  // right after the visible ones
  EXPECT_FALSE(again[2].checked);
}

TEST(ColumnChooser, CheckedColumnsGetFitOrNinety) {
  ColumnLayout layout = BuiltInColumnLayout();
  layout.widths[0] = 313;  // dragged by the user
  ColumnChooser chooser(layout);
  const auto& entries = chooser.entries();
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    if (entries[i].header == "Description" || entries[i].header == "Map") {
      EXPECT_TRUE(chooser.SetChecked(i, true));
    }
  }
  chooser.Apply(layout);
  EXPECT_EQ(layout.widths[25], 90);
  EXPECT_EQ(layout.widths[4], -2);
  EXPECT_EQ(layout.widths[0], -2);
  EXPECT_EQ(layout.widths[3], 0);
  // Hidden first, then the visible ones in check-list order: Demoname, Size, Recorded, then
  // Map and Description in the order they stood among the hidden columns.
  EXPECT_EQ(PositionOf(layout, 0), 21);
  EXPECT_EQ(PositionOf(layout, 4), 24);
  EXPECT_EQ(PositionOf(layout, 25), 25);
}

TEST(ColumnChooser, DemonameCannotBeHidden) {
  ColumnLayout layout = BuiltInColumnLayout();
  ColumnChooser chooser(layout);
  chooser.Select(0);
  ASSERT_EQ(chooser.entries()[0].header, "Demoname");
  EXPECT_FALSE(chooser.canHide());
  EXPECT_FALSE(chooser.canShow());
  chooser.Hide();
  EXPECT_FALSE(chooser.SetChecked(0, false));
  EXPECT_TRUE(chooser.entries()[0].checked);
  EXPECT_FALSE(chooser.applyEnabled());

  std::vector<ChooserEntry> forced = BuildChooserList(layout);
  forced[0].checked = false;
  ApplyChooserList(forced, layout);
  EXPECT_EQ(layout.widths[0], -2);
}

TEST(ColumnChooser, MovesKeepTheCheckMarkAndButtonStatesFollow) {
  ColumnLayout layout = BuiltInColumnLayout();
  ColumnChooser chooser(layout);
  EXPECT_FALSE(chooser.canMoveUp());
  EXPECT_FALSE(chooser.canMoveDown());
  chooser.Select(2);  // Recorded
  chooser.MoveUp();
  EXPECT_EQ(chooser.selected(), 1);
  EXPECT_EQ(chooser.entries()[1].header, "Recorded");
  EXPECT_TRUE(chooser.entries()[1].checked);
  chooser.Select(25);
  EXPECT_TRUE(chooser.canMoveUp());
  EXPECT_FALSE(chooser.canMoveDown());
  EXPECT_TRUE(chooser.canShow());
  chooser.Apply(layout);
  EXPECT_EQ(layout.order[24], 2);
  EXPECT_EQ(layout.order[25], 1);
}

TEST(ColumnChooser, RepairsAnOrderThatIsNoPermutation) {
  ColumnLayout layout = BuiltInColumnLayout();
  layout.order[0] = 0;  // 0 twice, 3 missing
  layout.order[5] = 99;
  std::vector<ChooserEntry> entries = BuildChooserList(layout);
  EXPECT_EQ(entries.size(), 26u);
  ApplyChooserList(entries, layout);
  EXPECT_TRUE(IsColumnPermutation(layout.order));
}

TEST(ColumnModel, HeaderClicksSortAscendingThenReverse) {
  ColumnLayout layout = BuiltInColumnLayout();
  ClickColumnHeader(layout, 0);
  EXPECT_TRUE(layout.sortAscending);
  ClickColumnHeader(layout, 0);
  EXPECT_FALSE(layout.sortAscending);
  ClickColumnHeader(layout, 4);
  EXPECT_EQ(layout.sortColumn, 4);
  EXPECT_TRUE(layout.sortAscending);
}

TEST(ColumnModel, ListKeysRoundTripThroughTheProfile) {
  ColumnLayout layout = BuiltInColumnLayout();
  std::swap(layout.order[0], layout.order[25]);
  layout.widths[7] = 123;
  layout.sortColumn = 7;
  layout.sortAscending = true;
  ProfileFile file;
  SaveColumnLayout(file, "Play List", layout);
  const std::string text = file.Serialize();
  EXPECT_NE(text.find("Column0_Order=2\r\n"), std::string::npos);
  EXPECT_NE(text.find("Column7_Width=123\r\n"), std::string::npos);
  EXPECT_NE(text.find("SortAscending=1\r\n"), std::string::npos);

  ColumnLayout back = BuiltInColumnLayout();
  LoadColumnLayout(ProfileFile::Parse(text), "play list", back);
  EXPECT_EQ(back, layout);
}

}  // namespace
}  // namespace rw
