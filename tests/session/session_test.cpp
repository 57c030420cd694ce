#include "session/session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "demo/display_text.h"
#include "host/fake/fake_host.h"
#include "host/fake/fake_processes.h"
#include "host/fake/fake_windows.h"
#include "host/locale.h"
#include "support/scan_fakes.h"
#include "support/test_files.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

// A program folder, a game folder and a copy of the bundled sample demos (two files, and an
// archive holding archived_tdm.dm3 and matches/archived_ffa.dm_48, as unzip -l lists it).
class SessionTest : public ::testing::Test {
 protected:
  SessionTest() {
    fs::create_directories(game_);
    test::WriteBytes(game_ + "/quake3.exe", "MZ");
    // The samples alone: the folder may hold the parse cache of the README's main job.
    fs::create_directories(demos_);
    for (const char* name : {"sample_tdm.dm3", "sample_ffa.dm_48", "demo_pack.zip"}) {
      fs::copy_file(std::string(REELWRIGHT_SOURCE_DIR) + "/samples/demos/" + name,
                    demos_ + "/" + name);
    }
  }

  std::unique_ptr<Session> Open(bool loadConfiguration = true, bool needsGame = false) {
    return Session::Open({home_, game_, loadConfiguration, needsGame},
                         {messages_, locale_, pump_, shell_, windows_, processes_});
  }
  static std::vector<std::string> Names(const RowList& rows) {
    std::vector<std::string> names;
    for (const ListItem& item : rows) names.push_back(item.columns[kDemonameColumn]);
    return names;
  }

  test::TempDir dir_;
  const std::string home_ = dir_.Join("home");
  const std::string game_ = dir_.Join("game");
  const std::string demos_ = dir_.Join("demos");
  FakeMessages messages_;
  FixedLocale locale_;
  CountingPump pump_;
  FakeShell shell_;
  FakeWindowSystem windows_;
  FakeProcessTable processes_;
  test::RecordingStatus status_;
};

TEST_F(SessionTest, ListsAFolderInTheConfigurationsSortOrder) {
  std::unique_ptr<Session> session = Open();
  ASSERT_TRUE(session);
  session->ListFolder(demos_, status_);
  // The built-in order: Demoname, descending.
  EXPECT_EQ(Names(session->demoList().rows()),
            (std::vector<std::string>{"sample_tdm.dm3", "sample_ffa.dm_48", "archived_tdm.dm3",
                                      "archived_ffa.dm_48"}));
  EXPECT_TRUE(fs::exists(demos_ + "/rwt_scan"));
  ASSERT_EQ(status_.summaries.size(), 1u);
  EXPECT_EQ(status_.summaries[0].substr(0, 18), "4 item(s) loaded i");

  test::WriteBytes(home_ + "/Reelwright.cfg", "[Demo List]\r\nSortColumn=0\r\nSortAscending=1\r\n");
  session = Open();
  session->ListFolder(demos_, status_);
  EXPECT_EQ(Names(session->demoList().rows()),
            (std::vector<std::string>{"archived_ffa.dm_48", "archived_tdm.dm3", "sample_ffa.dm_48",
                                      "sample_tdm.dm3"}));
}

TEST_F(SessionTest, PlayListGrowsByEntriesAndIsReplacedByAPlayListFile) {
  std::unique_ptr<Session> session = Open();
  EXPECT_EQ(session->AddToPlayList(ScanEntry::DemoFile(demos_ + "/sample_tdm.dm3"), status_), 1u);
  EXPECT_EQ(
      session->AddToPlayList(
          ScanEntry::ArchiveMembers(demos_ + "/demo_pack.zip", "archived_ffa.dm_48"), status_),
      1u);
  EXPECT_EQ(Names(session->playList().rows()),
            (std::vector<std::string>{"sample_tdm.dm3", "archived_ffa.dm_48"}));
  EXPECT_TRUE(session->demoList().rows().empty());

  // Of the member's name in every folder, the path picks one; the lists stay as they are.
  const std::optional<ListRow> member =
      session->RowOfMember(demos_ + "/demo_pack.zip", "matches/archived_ffa.dm_48", status_);
  ASSERT_TRUE(member);
  EXPECT_EQ((*member)[kArchiveLocationColumn], "matches");
  EXPECT_FALSE(session->RowOfMember(demos_ + "/demo_pack.zip", "archived_ffa.dm_48", status_));
  EXPECT_EQ(session->playList().RowCount(), 2u);

  const std::string list = dir_.Join("two.rwt");
  test::WriteBytes(list, "RWT Play List, ver 1.32\r\n" + demos_ + "/sample_ffa.dm_48\r\n\x01" +
                             demos_ + "/demo_pack.zip\\archived_tdm.dm3\r\n");
  const PlayListLoad load = session->LoadPlayList(list, status_);
  EXPECT_TRUE(load.loaded);
  EXPECT_EQ(Names(session->playList().rows()),
            (std::vector<std::string>{"sample_ffa.dm_48", "archived_tdm.dm3"}));
}

TEST_F(SessionTest, ALookAtOneDemoChangesNothingOnDisk) {
  std::unique_ptr<Session> session = Open(false);
  const std::optional<ListedDemo> demo = FindDemoFile(session->files(), demos_ + "/sample_tdm.dm3");
  ASSERT_TRUE(demo);
  const DemoDescription description = session->DescribeDemo(*demo, true);
  EXPECT_EQ(description.result, "1");
  EXPECT_EQ(description.row[DemoInfo::Name], "sample_tdm.dm3");
  EXPECT_EQ(description.row[DemoInfo::Size], "103 KB");  // 105916 bytes
  EXPECT_EQ(description.row[DemoInfo::Location], demos_);
  EXPECT_FALSE(session->reader().State().MatchLog.empty());
  EXPECT_FALSE(fs::exists(home_));
  EXPECT_FALSE(fs::exists(demos_ + "/rwt_scan"));
}

TEST_F(SessionTest, NotesAreKeptByTheDemosFileName) {
  std::unique_ptr<Session> session = Open();
  UserData notes;
  notes.Rating = "7";
  notes.Description = {"first", "second"};
  ASSERT_TRUE(session->SaveNotes("final.dm_48", notes));
  EXPECT_TRUE(fs::exists(home_ + "/RWT Data/Demos/final.dm_48.description"));
  const std::optional<UserData> read = session->ReadNotes("final.dm_48");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Rating, "7");
  EXPECT_EQ(read->Description, (std::vector<std::string>{"first", "second"}));
  EXPECT_TRUE(session->ClearNotes("final.dm_48"));
  EXPECT_FALSE(fs::exists(session->NotesPath("final.dm_48")));
}

TEST_F(SessionTest, PropertiesReadTheRowAgainAndDescribeItsPlayers) {
  std::unique_ptr<Session> session = Open();
  session->ListFolder(demos_, status_);
  const RowList& rows = session->demoList().rows();
  ASSERT_EQ(rows.size(), 4u);
  // "archived_ffa.dm_48" lies in the folder "matches" of demo_pack.zip (unzip -l).
  const ListRow& member = rows[3].columns;
  ASSERT_EQ(member[kDemonameColumn], "archived_ffa.dm_48");
  const ListRow& tdm = rows[0].columns;
  const PropertiesView view = session->Properties(member, SourceList::kPlayList);
  EXPECT_EQ(view.caption, "Properties of archived_ffa.dm_48");
  EXPECT_EQ(view.playlistButton, PlaylistButton::kRemove);
  EXPECT_TRUE(session->appState().isBusy());
  session->appState().LowerBusy();
  ASSERT_FALSE(view.players.empty());
  EXPECT_FALSE(view.course.empty());

  // The editor's reading leaves the same players.
  const size_t players = session->reader().State().Players.size();
  session->ReadRowDemo(tdm);
  EXPECT_NE(session->reader().State().Players.size(), 0u);
  session->ReadRowDemo(member);
  EXPECT_EQ(session->reader().State().Players.size(), players);
  const std::optional<PlayerView> first = session->DescribePlayer(0);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->caption,
            StripColors(session->reader().State().Players[view.players[0].playerIndex].Name));
  EXPECT_FALSE(session->appState().isBusy());
  EXPECT_FALSE(session->DescribePlayer(view.players.size()));
  EXPECT_EQ(messages_.shown.size(), 1u);
}

TEST_F(SessionTest, SavedNotesShowInTheRowTheyBelongTo) {
  std::unique_ptr<Session> session = Open();
  session->ListFolder(demos_, status_);
  session->appState().SetCurrentFolder(demos_);
  const ListRow row = session->demoList().rows()[1].columns;
  ASSERT_EQ(row[kDemonameColumn], "sample_ffa.dm_48");
  session->ReadRowDemo(row);
  UserDataEditor editor(session->files(), session->messages(), session->paths().userDataFolder);
  editor.Fill(RowRef{ListKind::kDemoList, 1}, row[kDemonameColumn], LocationOfRow(row),
              session->reader().State().Players);
  ASSERT_TRUE(editor.SetRating("7"));
  editor.SetDescription({"first", "second"});
  const UserDataEditor::Saved saved = session->ApplyNotes(editor);
  EXPECT_TRUE(saved.written);
  const ListRow& shown = session->demoList().rows()[1].columns;
  EXPECT_EQ(shown[kRatingColumn], "7");
  EXPECT_EQ(shown[kDescriptionColumn], "first");
  EXPECT_EQ(shown[kPovColumn], "");
  // EMPTY, 7, EMPTY and the two lines, each ended by CR LF.
  EXPECT_EQ(test::ReadBytes(session->NotesPath("sample_ffa.dm_48")),
            "\x01\r\n7\r\n\x01\r\nfirst\r\nsecond\r\n");
}

TEST_F(SessionTest, PicturesComeOutOfTheGamesArchives) {
  std::unique_ptr<Session> session = Open();
  const std::string archive = test::TestDataPath("pk3/openarena-sample.pk3");
  // 128 by 128 pixels, as `file` reports the member once unzipped.
  const std::optional<Image> shot =
      session->PictureFromArchive(archive, "levelshots\\ps37ctf2.jpg");
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->width, 128);
  EXPECT_EQ(shot->height, 128);
  EXPECT_FALSE(session->PictureFromArchive(archive, "levelshots\\missing.jpg"));
}

TEST_F(SessionTest, PlayingNeedsTheGame) {
  fs::remove(game_ + "/quake3.exe");
  messages_.inputs.push_back(std::nullopt);  // the folder chooser is closed
  EXPECT_FALSE(Open(true, true));
  ASSERT_FALSE(messages_.shown.empty());
  EXPECT_EQ(messages_.shown.back().caption, "Fatal Error");
}

TEST_F(SessionTest, RefreshReadsTheCacheAndReparseReadsEveryDemoAgain) {
  std::unique_ptr<Session> session = Open();
  FolderNode& node = session->AddFolderBranch(demos_, {});
  ASSERT_TRUE(session->SelectFolder(node, status_));
  session->RefreshList(status_);
  session->ReparseList(status_);
  ASSERT_EQ(status_.summaries.size(), 3u);
  EXPECT_NE(status_.summaries[1].find(" 100.00% read from cache"), std::string::npos);
  EXPECT_NE(status_.summaries[2].find(" 0.00% read from cache"), std::string::npos);
  EXPECT_EQ(session->demoList().RowCount(), 4u);
}

TEST_F(SessionTest, WebLocationAndClearingActOnTheSelectedRowsAndTheirFiles) {
  const std::string notes = home_ + "/RWT Data/Demos/";
  fs::create_directories(notes);
  test::WriteBytes(notes + "sample_tdm.dm3.description", "^1Ann\r\n7\r\n\x01\r\none\r\ntwo\r\n");
  std::unique_ptr<Session> session = Open();
  session->ListFolder(demos_, status_);
  RowList& rows = session->demoList().rows();
  const auto row = [&](const std::string& name) -> ListItem& {
    for (ListItem& item : rows) {
      if (item.columns[kDemonameColumn] == name) return item;
    }
    ADD_FAILURE() << name;
    return rows.front();
  };
  EXPECT_EQ(row("sample_tdm.dm3").columns[kPovColumn], "Ann");
  row("sample_tdm.dm3").selected = true;
  row("archived_tdm.dm3").selected = true;

  // "http://" unchanged, or a cancelled box, changes nothing.
  messages_.inputs = {std::string("http://"), std::nullopt};
  EXPECT_FALSE(session->SetWebLocationForSelected());
  EXPECT_FALSE(session->SetWebLocationForSelected());
  EXPECT_FALSE(fs::exists(notes + "archived_tdm.dm3.description"));

  messages_.inputs = {std::string("http://q3.example/cup")};
  EXPECT_TRUE(session->SetWebLocationForSelected());
  EXPECT_EQ(messages_.shown.back().caption, "Set Web Location");
  EXPECT_EQ(messages_.shown.back().text, "Set Web Location for all selected demos");
  EXPECT_EQ(test::ReadBytes(notes + "sample_tdm.dm3.description"),
            "^1Ann\r\n7\r\nhttp://q3.example/cup\r\none\r\ntwo\r\n");
  EXPECT_EQ(test::ReadBytes(notes + "archived_tdm.dm3.description"),
            "\x01\r\n\x01\r\nhttp://q3.example/cup\r\n");
  EXPECT_EQ(row("sample_tdm.dm3").columns[kWebColumn], "http://q3.example/cup");
  EXPECT_EQ(row("archived_tdm.dm3").columns[kWebColumn], "http://q3.example/cup");
  EXPECT_EQ(row("sample_ffa.dm_48").columns[kWebColumn], "");

  // A selected demo of the same name elsewhere shares the file; it loses its notes too.
  rows.push_back(row("sample_tdm.dm3"));
  messages_.answers = {MessageAnswer::kNo, MessageAnswer::kYes};
  EXPECT_FALSE(session->ClearUserDataForSelected());
  EXPECT_TRUE(fs::exists(notes + "sample_tdm.dm3.description"));
  EXPECT_TRUE(session->ClearUserDataForSelected());
  EXPECT_EQ(messages_.shown.back().caption, "Clear User Data");
  EXPECT_EQ(messages_.shown.back().text, "Really delete all User Data for the 3 selected demos?");
  EXPECT_FALSE(fs::exists(notes + "sample_tdm.dm3.description"));
  EXPECT_FALSE(fs::exists(notes + "archived_tdm.dm3.description"));
  for (const ListItem& item : rows) {
    if (!item.selected) continue;
    for (size_t column : {kPovColumn, kRatingColumn, kWebColumn, kDescriptionColumn}) {
      EXPECT_EQ(item.columns[column], "") << item.columns[kDemonameColumn] << " " << column;
    }
  }
}

TEST_F(SessionTest, AFolderColourChangeIsWrittenAtOnceUnlessItMatchesTheOtherClass) {
  std::unique_ptr<Session> session = Open();
  FolderNode* demoNode = session->tree().AddTopLevel("/a", 0);
  FolderNode* otherNode = session->tree().AddTopLevel("/b", 0x808080);
  EXPECT_FALSE(session->SetFolderFontColour(true, 0x808080));
  EXPECT_EQ(demoNode->colour, 0u);
  EXPECT_FALSE(fs::exists(home_ + "/Reelwright.cfg"));

  EXPECT_TRUE(session->SetFolderFontColour(true, 0x0000FF));
  EXPECT_EQ(demoNode->colour, 0x0000FFu);
  EXPECT_EQ(otherNode->colour, 0x808080u);
  EXPECT_EQ(session->folderColours().demo, 0x0000FFu);
  // 0x0000FF is 255 in decimal.
  EXPECT_NE(test::ReadBytes(home_ + "/Reelwright.cfg").find("DemoFolderFontColor=255\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace rw
