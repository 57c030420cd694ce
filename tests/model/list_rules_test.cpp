#include "model/list_rules.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/fake/fake_host.h"
#include "model/list_drag.h"
#include "model/selection_status.h"
#include "support/test_files.h"

namespace rw {
namespace {

ListRow MakeRow(std::string name, std::string location = "/demos", std::string mod = "baseq3",
                std::string protocol = "48") {
  ListRow row;
  row[kDemonameColumn] = std::move(name);
  row[kLocationColumn] = std::move(location);
  row[kModColumn] = std::move(mod);
  row[kProtocolColumn] = std::move(protocol);
  return row;
}

ListItem Item(ListRow row, bool selected = false) {
  return ListItem{std::move(row), selected};
}

std::vector<std::string> Names(const RowList& list) {
  std::vector<std::string> names;
  for (const ListItem& item : list) names.push_back(item.columns[kDemonameColumn]);
  return names;
}

TEST(RowImage, FollowsTheLocationEndingAndAnUnknownMod) {
  EXPECT_EQ(RowImage(MakeRow("a.dm3", "/demos")), 0);
  EXPECT_EQ(RowImage(MakeRow("a.dm3", "/demos/Pak9.PK3")), 1);
  EXPECT_EQ(RowImage(MakeRow("a.dm3", "/demos/pack.Zip")), 2);
  EXPECT_EQ(RowImage(MakeRow("a.dm3", "/demos/sfx.EXE")), 3);
  EXPECT_EQ(RowImage(MakeRow("a.dm3", "/demos", "N/A")), 4);
  EXPECT_EQ(RowImage(MakeRow("a.dm3", "/demos/p.pk3", "n/a")), 5);
  EXPECT_EQ(RowImage(MakeRow("a.dm3", "/demos/p.zip", "N/A")), 6);
  EXPECT_EQ(RowImage(MakeRow("a.dm3", "/demos/p.exe", "N/A")), 7);
  EXPECT_EQ(RowImage(MakeRow("a.dm3", "/demos/zip")), 0);

  EXPECT_TRUE(IsPlayable(MakeRow("a.dm3", "/demos/p.exe")));
  EXPECT_FALSE(IsPlayable(MakeRow("a.dm3", "/demos", "n/a")));
  EXPECT_FALSE(IsPlayable(MakeRow("a.dm3", "/demos", "cpma", "46")));
  EXPECT_FALSE(IsArchiveRow(MakeRow("a.dm3", "/demos", "n/a")));
  EXPECT_TRUE(IsArchiveRow(MakeRow("a.dm3", "/demos/p.zip", "n/a")));
}

TEST(RowImage, DemosSince130HaveTheirOwnPictureAndPlayAsTheOthers) {
  EXPECT_EQ(RowPicture(MakeRow("a.dm_48", "/demos")), 0);
  EXPECT_EQ(RowPicture(MakeRow("a.dm_68", "/demos", "baseq3", "68")), 8);
  EXPECT_EQ(RowPicture(MakeRow("a.dm_67", "/d/p.zip", "osp", "67")), 10);
  // A 68 client's demo on a server that names protocol 71.
  EXPECT_EQ(RowPicture(MakeRow("a.dm_68", "/d/p.exe", "defrag", "71")), 11);
  EXPECT_EQ(RowImage(MakeRow("a.dm_68", "/d/p.exe", "defrag", "71")), 3);
  EXPECT_TRUE(IsPlayable(MakeRow("a.dm_68", "/d/p.exe", "defrag", "71")));
  // Unreadable ones keep the unreadable pictures and cannot be played.
  EXPECT_EQ(RowPicture(MakeRow("a.dm_68", "/demos", "n/a", "N/A")), 4);
  EXPECT_EQ(RowPicture(MakeRow("ql.dm_91", "/demos", "n/a", "N/A")), 4);
  EXPECT_FALSE(IsPlayable(MakeRow("ql.dm_91", "/demos", "n/a", "N/A")));
}

TEST(ListMenus, EnablingFollowsTheSelection) {
  RowList demos = {Item(MakeRow("a.dm3"), true), Item(MakeRow("b.dm3", "/d/p.zip")),
                   Item(MakeRow("c.dm3", "/d", "n/a"))};
  DemoListMenuState one = DemoListMenu(demos, false);
  EXPECT_TRUE(one.playIt && one.moveToPlaylist && one.deleteFiles && one.rename &&
              one.editUserData && one.setWebLocation && one.clearUserData && one.selectAll &&
              one.properties);
  EXPECT_TRUE(PlayItButtonEnabled(demos));

  // Read-only mode takes away deleting and renaming only.
  const DemoListMenuState readOnly = DemoListMenu(demos, true);
  EXPECT_FALSE(readOnly.deleteFiles);
  EXPECT_FALSE(readOnly.rename);
  EXPECT_TRUE(readOnly.playIt);
  EXPECT_FALSE(CanEditName(demos[0].columns, true));

  // An archive member and an unreadable demo: no playing, no deleting, no renaming.
  demos[1].selected = true;
  demos[2].selected = true;
  const DemoListMenuState three = DemoListMenu(demos, false);
  EXPECT_FALSE(three.playIt || three.moveToPlaylist || three.deleteFiles || three.rename ||
               three.editUserData || three.properties);
  EXPECT_TRUE(three.setWebLocation && three.clearUserData && three.selectAll);
  EXPECT_FALSE(PlayItButtonEnabled(demos));
  EXPECT_FALSE(CanEditName(demos[1].columns, false));
  EXPECT_TRUE(CanEditName(demos[2].columns, false));

  // Only the unreadable demo: it may be deleted and renamed but not played.
  demos[0].selected = demos[1].selected = false;
  const DemoListMenuState unreadable = DemoListMenu(demos, false);
  EXPECT_TRUE(unreadable.deleteFiles && unreadable.rename);
  EXPECT_FALSE(unreadable.playIt || unreadable.moveToPlaylist);

  EXPECT_FALSE(DemoListMenu({}, false).selectAll);

  RowList plays = {Item(MakeRow("a.dm3", "/d", "cpma", "46"), true)};
  PlayListMenuState play = PlayListMenu(plays);
  // The play list's "Play it" looks at the image only.
  EXPECT_TRUE(play.playIt && play.removeFromPlaylist && play.editUserData && play.selectAll &&
              play.properties);
  EXPECT_TRUE(PlayListButtonsEnabled(plays));
  EXPECT_FALSE(PlayListButtonsEnabled({}));
  plays.push_back(Item(MakeRow("b.dm3"), true));
  play = PlayListMenu(plays);
  EXPECT_FALSE(play.playIt || play.editUserData || play.properties);
  EXPECT_TRUE(play.removeFromPlaylist);
}

TEST(PointerOverDemoList, LinkEditorOrNothing) {
  ListRow row = MakeRow("final.dm3");
  row[kWebColumn] = "HTTP://q3.example/final";
  PointerHint hint = PointerOverDemoList(&row, kWebColumn, "12 demos");
  EXPECT_EQ(hint.action, PointerAction::kOpenLink);
  EXPECT_EQ(hint.status, "Web action: HTTP://q3.example/final");

  row[kWebColumn] = "q3.example";
  hint = PointerOverDemoList(&row, kWebColumn, "12 demos");
  EXPECT_EQ(hint.action, PointerAction::kOpenEditor);
  EXPECT_EQ(hint.status, "Edit User Data of final.dm3");
  EXPECT_EQ(PointerOverDemoList(&row, kPovColumn, "12 demos").action, PointerAction::kOpenEditor);
  EXPECT_EQ(PointerOverDemoList(&row, kDescriptionColumn, "").action, PointerAction::kOpenEditor);

  hint = PointerOverDemoList(&row, kLocationColumn, "12 demos");
  EXPECT_EQ(hint.action, PointerAction::kNone);
  EXPECT_EQ(hint.status, "12 demos");
  EXPECT_EQ(PointerOverDemoList(nullptr, kWebColumn, "12 demos").action, PointerAction::kNone);

  EXPECT_EQ(FieldOfColumn(kRatingColumn), UserDataField::kRating);
  EXPECT_EQ(FieldOfColumn(kSizeColumn), std::nullopt);
}

ListRow Sized(std::string size, std::string playtime) {
  ListRow row = MakeRow("x.dm3");
  row[kSizeColumn] = std::move(size);
  row[kPlaytimeColumn] = std::move(playtime);
  return row;
}

TEST(SelectionStatus, ThreeRowsOfOneTwoAndThreeHundredKilobytes) {
  FixedLocale locale;
  StatusPanels panels(locale);
  panels.ListingDone("3 demos listed");
  const ListRow a = Sized("100 KB", "00:01:00");
  const ListRow b = Sized("200 KB", "00:02:00");
  const ListRow c = Sized("300 KB", "00:03:00");
  panels.DemoRowChanged(a, true, 1);
  panels.DemoRowChanged(b, true, 2);
  panels.DemoRowChanged(c, true, 3);
  // 614400 bytes are 600 kilobytes.
  EXPECT_EQ(panels.panel1(), "3 item(s) selected. 600.00 KB. Playtime: 00:06:00.");
  EXPECT_EQ(panels.rememberedStatus(), panels.panel1());

  panels.DemoRowChanged(b, false, 2);
  EXPECT_EQ(panels.panel1(), "2 item(s) selected. 400.00 KB. Playtime: 00:04:00.");

  // An empty selection brings the listing summary back and resets the sums.
  panels.DemoRowChanged(a, false, 0);
  EXPECT_EQ(panels.panel1(), "3 demos listed");
  panels.DemoRowChanged(b, true, 1);
  EXPECT_EQ(panels.panel1(), "1 item(s) selected. 200.00 KB. Playtime: 00:02:00.");

  panels.PointerMoved(PointerHint{PointerAction::kOpenEditor, "Edit User Data of x.dm3"});
  EXPECT_EQ(panels.panel1(), "Edit User Data of x.dm3");
  EXPECT_EQ(panels.rememberedStatus(), "1 item(s) selected. 200.00 KB. Playtime: 00:02:00.");

  EXPECT_EQ(panels.panel2(), "0 item(s) selected. 0.00 KB. Playtime: 00:00:00.");
  const ListRow big = Sized("2048 KB", "01:00:00");
  panels.PlayRowChanged(big, true, 1);
  EXPECT_EQ(panels.panel2(), "1 item(s) selected. 2.00 MB. Playtime: 01:00:00.");
  panels.PlayRowChanged(big, false, 0);
  EXPECT_EQ(panels.panel2(), "0 item(s) selected. 0.00 KB. Playtime: 00:00:00.");

  // After a drop: the selected count with the totals of the whole play list.
  panels.RowsDropped({Item(a, true), Item(b), Item(c, true)});
  EXPECT_EQ(panels.panel2(), "2 item(s) selected. 600.00 KB. Playtime: 00:06:00.");
}

TEST(SelectionStatus, SizesThatAreNoNumbersCountAsNothing) {
  EXPECT_EQ(RowKilobytes(Sized("12 KB", "")), 12);
  EXPECT_EQ(RowKilobytes(Sized("KB", "")), 0);
  EXPECT_EQ(RowKilobytes(Sized("x1 KB", "")), 0);
  EXPECT_EQ(RowSeconds(Sized("", "01:02:03")), 3723);
}

TEST(ListDrag, DemoRowsAreCopiedBeforeTheTargetOrAtTheEnd) {
  RowList demos = {Item(MakeRow("a.dm3"), true), Item(MakeRow("b.dm3")),
                   Item(MakeRow("c.dm3"), true)};
  RowList plays = {Item(MakeRow("x.dm3")), Item(MakeRow("y.dm3"))};
  ASSERT_TRUE(PlayListAcceptsDrop(demos));
  EXPECT_EQ(DragCursorFor(demos), DragCursor::kMultipleItems);
  EXPECT_EQ(CopyToPlayList(demos, plays, 1), std::optional<size_t>(1));
  EXPECT_EQ(Names(plays), (std::vector<std::string>{"x.dm3", "a.dm3", "c.dm3", "y.dm3"}));
  EXPECT_TRUE(plays[1].selected && plays[2].selected);
  EXPECT_EQ(CopyToPlayList(demos, plays, std::nullopt), std::optional<size_t>(1));
  EXPECT_EQ(plays.size(), 6u);
  EXPECT_EQ(plays[4].columns[kDemonameColumn], "a.dm3");
  // Copies, not moves.
  EXPECT_EQ(demos.size(), 3u);
}

TEST(ListDrag, APropertiesRowJoinsThePlayListAsItsOnlySelection) {
  RowList plays = {Item(MakeRow("x.dm3"), true), Item(MakeRow("y.dm3"))};
  AppendToPlayList(plays, MakeRow("a.dm3"));
  EXPECT_EQ(Names(plays), (std::vector<std::string>{"x.dm3", "y.dm3", "a.dm3"}));
  EXPECT_EQ(SelectedCount(plays), 1u);
  EXPECT_TRUE(plays[2].selected);
  // Taken off again as a drag back onto the demo list does.
  RemoveSelected(plays);
  EXPECT_EQ(Names(plays), (std::vector<std::string>{"x.dm3", "y.dm3"}));
}

TEST(ListDrag, AnUnplayableSelectionIsRefused) {
  RowList demos = {Item(MakeRow("a.dm3"), true), Item(MakeRow("b.dm3", "/d", "n/a"), true)};
  EXPECT_FALSE(PlayListAcceptsDrop(demos));
  EXPECT_FALSE(DemoListMenu(demos, false).moveToPlaylist);
  demos[1].selected = false;
  EXPECT_TRUE(PlayListAcceptsDrop(demos));
  EXPECT_EQ(DragCursorFor(demos), DragCursor::kSingleItem);
}

TEST(ListDrag, ReorderingMovesOneRowOnly) {
  RowList plays = {Item(MakeRow("a")), Item(MakeRow("b")), Item(MakeRow("c")), Item(MakeRow("d"))};
  plays[2].selected = true;
  ASSERT_TRUE(ReorderPlayList(plays, 1));
  EXPECT_EQ(Names(plays), (std::vector<std::string>{"a", "c", "b", "d"}));
  EXPECT_TRUE(plays[1].selected);
  ASSERT_TRUE(ReorderPlayList(plays, 3));
  EXPECT_EQ(Names(plays), (std::vector<std::string>{"a", "b", "d", "c"}));
  ASSERT_TRUE(ReorderPlayList(plays, 3));
  EXPECT_EQ(Names(plays), (std::vector<std::string>{"a", "b", "d", "c"}));
  EXPECT_FALSE(ReorderPlayList(plays, std::nullopt));

  plays[0].selected = true;
  EXPECT_FALSE(ReorderPlayList(plays, 1));
  EXPECT_EQ(Names(plays), (std::vector<std::string>{"a", "b", "d", "c"}));

  RemoveSelected(plays);
  EXPECT_EQ(Names(plays), (std::vector<std::string>{"b", "d"}));
}

TEST(ListDrag, SelectedDemosMoveOntoAFolderAndLeaveTheList) {
  test::TempDir dir;
  FakeFileSystem files;
  FakeMessages messages;
  FixedLocale locale;
  FolderTree tree(locale);
  const FolderColours colours;
  FolderNode* source = tree.AddTopLevel(dir.Join("source"), colours.demo);
  FolderNode* target = tree.AddTopLevel(dir.Join("target"), colours.nonDemo);
  tree.Select(source);
  std::filesystem::create_directory(dir.Join("target"));
  test::WriteBytes(dir.Join("source/a.dm3"), "a");
  test::WriteBytes(dir.Join("source/b.dm3"), "b");
  RowList demos = {Item(MakeRow("a.dm3", dir.Join("source")), true),
                   Item(MakeRow("b.dm3", dir.Join("source")), false),
                   Item(MakeRow("c.dm3", dir.Join("source/p.zip")), false)};
  EXPECT_EQ(SelectedImages(demos), (std::set<int>{0}));
  demos[2].selected = true;
  EXPECT_EQ(SelectedImages(demos), (std::set<int>{0, 2}));
  demos[2].selected = false;

  RowListSelection selection(demos);
  MoveDemosOntoNode(tree, *target, selection, colours, files, messages);
  EXPECT_EQ(Names(demos), (std::vector<std::string>{"b.dm3", "c.dm3"}));
  EXPECT_EQ(test::ReadBytes(dir.Join("target/a.dm3")), "a");
  EXPECT_FALSE(std::filesystem::exists(dir.Join("source/a.dm3")));
  EXPECT_EQ(target->colour, colours.demo);
  EXPECT_EQ(source->colour, colours.demo);  // b.dm3 is still there
}

}  // namespace
}  // namespace rw
