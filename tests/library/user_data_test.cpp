#include "library/user_data.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/fake/fake_host.h"
#include "library/user_data_editor.h"
#include "support/test_files.h"

namespace rw {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TPlayer Player(std::string name, int32_t team) {
  TPlayer player;
  player.Name = std::move(name);
  player.Team = team;
  return player;
}

ListItem Row(std::string name, std::string location = "") {
  ListItem item;
  item.columns[kDemonameColumn] = std::move(name);
  item.columns[kLocationColumn] = std::move(location);
  return item;
}

class UserDataTest : public ::testing::Test {
 protected:
  std::string PathOf(std::string_view demo) const {
    return dir.Join(std::string(demo) + ".description");
  }

  TempDir dir;
  FakeFileSystem files;
  FakeMessages messages;
  UserDataEditor editor{files, messages, dir.path()};
};

TEST_F(UserDataTest, RatingAndTwoDescriptionLinesWriteFiveLines) {
  editor.Fill(RowRef{ListKind::kDemoList, 0}, "duel.dm_48", {"/demos", false}, {});
  EXPECT_FALSE(editor.applyEnabled());
  EXPECT_TRUE(editor.SetRating("7"));
  EXPECT_TRUE(editor.applyEnabled());
  editor.SetDescription({"good rail", "watch the end"});
  const UserDataEditor::Saved saved = editor.Apply("/demos", {Row("duel.dm_48", "/demos")}, {});
  EXPECT_TRUE(saved.written);
  EXPECT_EQ(ReadBytes(PathOf("duel.dm_48")),
            "\x01\r\n"
            "7\r\n"
            "\x01\r\n"
            "good rail\r\n"
            "watch the end\r\n");
  EXPECT_EQ(saved.columns.Rating, "7");
  EXPECT_EQ(saved.columns.Description, "good rail");  // the list shows the first line only
  EXPECT_EQ(saved.columns.POV, "");
  EXPECT_EQ(saved.row, (RowRef{ListKind::kDemoList, 0}));
  EXPECT_FALSE(editor.applyEnabled());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UserDataTest, SavingEverythingEmptyDeletesTheFile) {
  WriteBytes(PathOf("a.dm3"), "\x01\r\n5\r\nhttp://q3\r\nnice\r\n");
  editor.Fill(std::nullopt, "a.dm3", {"/demos", false}, {});
  EXPECT_EQ(editor.rating(), "5");
  EXPECT_EQ(editor.web(), "http://q3");
  ASSERT_EQ(editor.description(), std::vector<std::string>{"nice"});
  editor.SetRating("0");
  editor.SetWeb("");
  editor.SetDescription({});
  const UserDataEditor::Saved saved = editor.Apply("/demos", {Row("b.dm3"), Row("a.dm3")}, {});
  EXPECT_TRUE(saved.written);
  EXPECT_FALSE(std::filesystem::exists(PathOf("a.dm3")));
  EXPECT_EQ(saved.columns.Rating, "");
  EXPECT_EQ(saved.columns.Web, "");
  EXPECT_EQ(saved.columns.Description, "");
  // Opened without a known row: the first demo-list row of that name.
  EXPECT_EQ(saved.row, (RowRef{ListKind::kDemoList, 1}));
}

TEST_F(UserDataTest, EditorOffersPlayersWhoCanHaveAViewAndSelectsTheStoredOne) {
  WriteBytes(PathOf("tdm.dm3"), "^1Visor\r\n\x01\r\nq3 site\r\n");
  const std::vector<TPlayer> players = {Player("^1Visor", 1), Player("", 1), Player("Onlooker", 3),
                                        Player("Doom", kKeyAbsent)};
  editor.Fill(std::nullopt, "tdm.dm3", {"/demos/pack.zip", true}, players);
  EXPECT_EQ(editor.caption(), "Edit User Data of tdm.dm3");
  EXPECT_EQ(editor.povEntries(), (std::vector<std::string>{"<<NO POV ENTRY>>", "^1Visor", "Doom"}));
  EXPECT_EQ(editor.povSelection(), std::optional<size_t>(1));
  EXPECT_EQ(editor.rating(), "0");
  // A web text without a known prefix is grey, black while the box has the focus.
  EXPECT_EQ(editor.web(), "q3 site");
  EXPECT_EQ(editor.webColor(), WebTextColor::kGrey);
  editor.FocusWeb();
  EXPECT_EQ(editor.webColor(), WebTextColor::kBlack);
  editor.SetWeb("HTTP://q3.example");
  EXPECT_EQ(editor.webColor(), WebTextColor::kBlack);
  editor.SetWeb("q3");
  EXPECT_EQ(editor.webColor(), WebTextColor::kGrey);

  EXPECT_FALSE(editor.SetRating("1000"));
  EXPECT_FALSE(editor.SetRating("7a"));
  editor.ChoosePov(0);
  EXPECT_EQ(editor.povSelection(), std::nullopt);
  const UserDataEditor::Saved saved = editor.Apply("/demos", {}, {Row("tdm.dm3")});
  EXPECT_EQ(ReadBytes(PathOf("tdm.dm3")), "\x01\r\n\x01\r\nq3\r\n");
  // The archive lies in the listed folder; the demo is only in the play list.
  EXPECT_EQ(saved.row, (RowRef{ListKind::kPlayList, 0}));
}

TEST_F(UserDataTest, AStoredViewOfAnotherPlayerShowsNoSelectionAndSavesEmpty) {
  WriteBytes(PathOf("x.dm3"), "Ghost\r\n3\r\n\x01\r\n");
  editor.Fill(std::nullopt, "x.dm3", {"/demos", false}, {Player("Visor", 0)});
  EXPECT_EQ(editor.povSelection(), std::nullopt);
  editor.SetRating("4");
  editor.Apply("/other", {Row("x.dm3")}, {});
  EXPECT_EQ(ReadBytes(PathOf("x.dm3")), "\x01\r\n4\r\n\x01\r\n");
}

TEST_F(UserDataTest, NoRowIsUpdatedForADemoOfAnotherFolder) {
  editor.Fill(RowRef{ListKind::kDemoList, 0}, "x.dm3", {"/demos/old/", false}, {});
  editor.SetRating("3");
  EXPECT_EQ(editor.Apply("/demos/old", {Row("x.dm3")}, {}).row, (RowRef{ListKind::kDemoList, 0}));
  // The list was refilled meanwhile: the row is found by its name.
  editor.SetRating("5");
  EXPECT_EQ(editor.Apply("/demos/old", {Row("a.dm3"), Row("x.dm3")}, {}).row,
            (RowRef{ListKind::kDemoList, 1}));
  editor.SetRating("4");
  EXPECT_EQ(editor.Apply("/demos", {Row("x.dm3")}, {Row("x.dm3")}).row, std::nullopt);
}

TEST_F(UserDataTest, AFailedWriteKeepsTheOldNotesAndSaysSo) {
  const std::string path = PathOf("a.dm3");
  WriteBytes(path, "\x01\r\n5\r\n\x01\r\n");
  files.failWrites.push_back(path);
  editor.Fill(RowRef{ListKind::kDemoList, 0}, "a.dm3", {"/demos", false}, {});
  editor.SetRating("9");
  const UserDataEditor::Saved saved = editor.Apply("/demos", {Row("a.dm3")}, {});
  EXPECT_FALSE(saved.written);
  EXPECT_EQ(ReadBytes(path), "\x01\r\n5\r\n\x01\r\n");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "RWT: File Save Error");
  EXPECT_EQ(messages.shown[0].text, "User.ApplyButtonClick: " + path);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kError);
  // The row still shows what was meant to be written; "&Apply" stays ready for another try.
  EXPECT_EQ(saved.columns.Rating, "9");
  EXPECT_TRUE(editor.applyEnabled());
}

TEST_F(UserDataTest, ShortFileReadsMissingLinesAsEmpty) {
  WriteBytes(PathOf("s.dm3"), "Visor\r\n");
  editor.Fill(std::nullopt, "s.dm3", {"/demos", false}, {Player("Visor", 0)});
  EXPECT_EQ(editor.povSelection(), std::optional<size_t>(1));
  EXPECT_EQ(editor.rating(), "0");
  EXPECT_EQ(editor.web(), "");
  EXPECT_TRUE(editor.description().empty());
  editor.SetWeb("news:q3");
  editor.Apply("/demos", {}, {});
  EXPECT_EQ(ReadBytes(PathOf("s.dm3")), "Visor\r\n\x01\r\nnews:q3\r\n");
}

TEST_F(UserDataTest, SameWebLocationKeepsOtherLinesAndCreatesThreeLineFiles) {
  WriteBytes(PathOf("one.dm3"), "^2Ranger\r\n8\r\nold\r\nfirst line\r\nsecond line\r\n");
  WriteBytes(PathOf("short.dm3"), "Keel\r\n");
  messages.inputs.push_back(std::string("http://q3.example/demos"));
  const std::optional<WebLocationOutcome> outcome =
      SetSameWebLocation(files, messages, dir.path(), {"one.dm3", "two.dm_48", "short.dm3"});
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->web, "http://q3.example/demos");
  EXPECT_EQ(outcome->updated, (std::vector<bool>{true, true, true}));
  EXPECT_EQ(ReadBytes(PathOf("one.dm3")),
            "^2Ranger\r\n8\r\nhttp://q3.example/demos\r\nfirst line\r\nsecond line\r\n");
  EXPECT_EQ(ReadBytes(PathOf("two.dm_48")), "\x01\r\n\x01\r\nhttp://q3.example/demos\r\n");
  EXPECT_EQ(ReadBytes(PathOf("short.dm3")), "Keel\r\n\x01\r\nhttp://q3.example/demos\r\n");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].kind, "ask");
  EXPECT_EQ(messages.shown[0].caption, "Set Web Location");
  EXPECT_EQ(messages.shown[0].text, "Set Web Location for all selected demos");
}

TEST_F(UserDataTest, SameWebLocationStopsOnCancelOrTheUnchangedPreset) {
  messages.inputs.push_back(std::string("http://"));
  messages.inputs.push_back(std::nullopt);
  EXPECT_FALSE(SetSameWebLocation(files, messages, dir.path(), {"a.dm3"}));
  EXPECT_FALSE(SetSameWebLocation(files, messages, dir.path(), {"a.dm3"}));
  EXPECT_FALSE(std::filesystem::exists(PathOf("a.dm3")));
}

TEST_F(UserDataTest, SameWebLocationGoesOnAfterAFailedWrite) {
  files.failWrites.push_back(PathOf("a.dm3"));
  messages.inputs.push_back(std::string("ftp://x"));
  const std::optional<WebLocationOutcome> outcome =
      SetSameWebLocation(files, messages, dir.path(), {"a.dm3", "b.dm3"});
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->updated, (std::vector<bool>{false, true}));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].caption, "RWT: File Save Error");
  EXPECT_EQ(messages.shown[1].text, "User.ApplyButtonClick: " + PathOf("a.dm3"));
}

TEST_F(UserDataTest, ClearAsksThenDeletesTheFilesThatExist) {
  WriteBytes(PathOf("a.dm3"), "\x01\r\n5\r\n\x01\r\n");
  messages.answers.push_back(MessageAnswer::kNo);
  EXPECT_EQ(ClearUserData(files, messages, dir.path(), {"a.dm3", "b.dm3"}),
            (std::vector<bool>{false, false}));
  EXPECT_TRUE(std::filesystem::exists(PathOf("a.dm3")));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "Clear User Data");
  EXPECT_EQ(messages.shown[0].text, "Really delete all User Data for the 2 selected demos?");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kQuestion);
  EXPECT_EQ(messages.shown[0].buttons, MessageButtons::kYesNoDefaultNo);

  messages.answers.push_back(MessageAnswer::kYes);
  EXPECT_EQ(ClearUserData(files, messages, dir.path(), {"a.dm3", "b.dm3"}),
            (std::vector<bool>{true, false}));
  EXPECT_FALSE(std::filesystem::exists(PathOf("a.dm3")));
}

TEST(UserDataText, LinksAndColumns) {
  EXPECT_TRUE(IsWebLink("HTTP://example"));
  EXPECT_TRUE(IsWebLink("Mailto:someone"));
  EXPECT_FALSE(IsWebLink("www.example.com"));
  EXPECT_FALSE(IsWebLink("http:/"));
  // Lists read the first description line and drop the colour codes of the view.
  const UserInfo columns = UserInfoFromLines({"^1Vi^2sor", "\x01", "x", "d1", "d2"});
  EXPECT_EQ(columns.POV, "Visor");
  EXPECT_EQ(columns.Rating, "");
  EXPECT_EQ(columns.Web, "x");
  EXPECT_EQ(columns.Description, "d1");
}

TEST_F(UserDataTest, TheRowIsFoundByWhatItIsNotByDotsInItsLocation) {
  ListItem plain = Row("final.dm_48", "/demos/cup.2004");
  plain.columns[kModColumn] = "osp";
  ListItem packed = Row("semi.dm_48", "/demos/cup.2004/pack.zip");
  packed.columns[kModColumn] = "osp";
  ASSERT_FALSE(LocationOfRow(plain.columns).archive);
  ASSERT_TRUE(LocationOfRow(packed.columns).archive);
  EXPECT_EQ(FolderOfLocation(LocationOfRow(plain.columns)), "/demos/cup.2004");
  EXPECT_EQ(FolderOfLocation(LocationOfRow(packed.columns)), "/demos/cup.2004");
  EXPECT_EQ(FolderOfLocation({"/demos/old.zip/", false}), "/demos/old.zip");
  EXPECT_EQ(FolderOfLocation({"/pack.pk3", true}), "/");

  const RowList demoList = {packed, plain};
  editor.Fill(RowRef{ListKind::kDemoList, 1}, "final.dm_48", LocationOfRow(plain.columns), {});
  editor.SetRating("9");
  EXPECT_EQ(editor.Apply("/demos/cup.2004", demoList, {}).row, (RowRef{ListKind::kDemoList, 1}));
  editor.Fill(RowRef{ListKind::kDemoList, 0}, "semi.dm_48", LocationOfRow(packed.columns), {});
  editor.SetRating("8");
  EXPECT_EQ(editor.Apply("/demos/cup.2004", demoList, {}).row, (RowRef{ListKind::kDemoList, 0}));
  EXPECT_EQ(editor.Apply("/demos", demoList, {}).row, std::nullopt);
}

}  // namespace
}  // namespace rw
