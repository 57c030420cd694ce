#include "library/player_description.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/fake/fake_host.h"
#include "library/player_view.h"
#include "support/test_files.h"

namespace rw {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(PlayerDescription, NamesWithColoursAndSlashesShareOneSafeFile) {
  TempDir dir;
  FakeFileSystem files;
  FakeMessages messages;
  EXPECT_EQ(PlayerDescriptionPath(dir.path(), "^1Bad/Boy"), dir.Join("Bad_Boy.description"));

  PlayerDescriptionEditor editor(files, messages, dir.path());
  editor.Load("^1Bad/Boy");
  EXPECT_TRUE(editor.lines().empty());
  editor.SetLines({"camps the rail", "", "good aim"});
  EXPECT_TRUE(editor.applyEnabled());
  EXPECT_TRUE(editor.Apply());
  EXPECT_FALSE(editor.applyEnabled());
  EXPECT_EQ(ReadBytes(dir.Join("Bad_Boy.description")), "camps the rail\r\n\r\ngood aim\r\n");

  // Another demo, the same name in other colours.
  editor.Load("^4Bad/Boy");
  EXPECT_EQ(editor.lines(), (std::vector<std::string>{"camps the rail", "", "good aim"}));
  EXPECT_FALSE(editor.applyEnabled());

  // A text Windows-1252 cannot hold (Привет, U+1F3AE) is kept whole, as UTF-8 after a mark.
  const std::vector<std::string> typed = {"\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82",
                                          "\xf0\x9f\x8e\xae"};
  editor.SetLines(typed);
  EXPECT_TRUE(editor.Apply());
  EXPECT_EQ(ReadBytes(dir.Join("Bad_Boy.description")),
            "\xef\xbb\xbf\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82\r\n\xf0\x9f\x8e\xae\r\n");
  editor.Load("Bad/Boy");
  EXPECT_EQ(editor.lines(), typed);

  editor.SetLines({});
  EXPECT_TRUE(editor.Apply());
  EXPECT_FALSE(std::filesystem::exists(dir.Join("Bad_Boy.description")));
  editor.Load("Bad/Boy");
  EXPECT_TRUE(editor.lines().empty());
  EXPECT_TRUE(messages.shown.empty());
}

TEST(PlayerDescription, FailuresKeepTheOldTextAndSaySo) {
  TempDir dir;
  FakeFileSystem files;
  FakeMessages messages;
  const std::string path = dir.Join("Visor.description");
  WriteBytes(path, "old\r\n");
  files.failWrites.push_back(path);
  EXPECT_FALSE(SavePlayerDescription(files, messages, path, {"new"}));
  EXPECT_EQ(ReadBytes(path), "old\r\n");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "RWT: File Save Error");
  EXPECT_EQ(messages.shown[0].text, "Could not save: " + path);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kError);

  // A description that cannot be read.
  std::filesystem::create_directory(dir.Join("Doom.description"));
  EXPECT_TRUE(LoadPlayerDescription(files, messages, dir.Join("Doom.description")).empty());
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].caption, "RWT Load File Error");
  EXPECT_EQ(messages.shown[1].text, "PlayerDescr.SetPlayerData: " + dir.Join("Doom.description"));
}

TPlayer Player(std::string name, int32_t team) {
  TPlayer player;
  player.Name = std::move(name);
  player.Team = team;
  player.Skill = kKeyAbsent;
  return player;
}

class PlayerViewTest : public ::testing::Test {
 protected:
  PlayerViewTest() {
    context.gameFolder = game.path();
    context.baseFolder = game.Join("baseq3");
    context.baseArchive = game.Join("baseq3/pak0.pk3");
    context.modFolder = context.baseFolder;
    context.modName = "baseq3";
    WriteBytes(context.baseArchive, "PK");
    state.Protocol = 48;
    state.GameType = "4";
    state.Score1 = "8";
    state.Score2 = "3";
    state.InfoString = "\\g_gametype\\4\\g_blueteam\\Sharks\\";
  }

  std::optional<PlayerView> View(size_t n) {
    return SetPlayerData(files, messages, state, context, n,
                         [this](const std::string& archive, const std::string& member) {
                           asked.push_back({archive, member});
                           return holds.count({archive, member}) > 0;
                         });
  }

  TempDir game;
  FakeFileSystem files;
  FakeMessages messages;
  DemoReadState state;
  PlayerViewContext context;
  std::vector<ArchiveMember> asked;
  std::set<std::pair<std::string, std::string>> holds;
};

TEST_F(PlayerViewTest, ClassScoreTeamAndAwards) {
  TPlayer red = Player("^1Visor", 1);
  red.Score = 12;
  red.TeamLeader = "1";
  red.Accuracy = 41;
  red.Impressives = 2;
  red.Captures = 3;
  red.Assists = 1;
  TPlayer bot = Player("Doom", 2);
  bot.Skill = 4.0;
  TPlayer spectator = Player("Watcher", 3);
  spectator.Skill = 2.5;
  state.Players = {Player("", 0), red, bot, spectator};

  const std::optional<PlayerView> first = View(0);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->name, "^1Visor");
  EXPECT_EQ(first->caption, "Visor");
  EXPECT_EQ(first->playerClass, "HUMAN");
  EXPECT_EQ(first->score, "12");
  // No g_redteam in the server info.
  EXPECT_EQ(first->teamName, "Red");
  EXPECT_EQ(first->teamColour, TeamColour::kRed);
  EXPECT_TRUE(first->leaderShown);
  EXPECT_TRUE(first->teamRowsShown);
  EXPECT_EQ(first->redScore, "8");
  EXPECT_EQ(first->blueScore, "3");
  EXPECT_EQ(first->accuracy, "41%");
  EXPECT_EQ(first->impressives, "2");
  EXPECT_EQ(first->captures, "3");
  EXPECT_EQ(first->assists, "1");
  EXPECT_EQ(first->teamPicture, (ArchiveMember{context.baseArchive, "models\\flags\\r_flag2.tga"}));

  const std::optional<PlayerView> second = View(1);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->playerClass, "BOT/SKILL4");
  EXPECT_EQ(second->score, "");
  EXPECT_EQ(second->teamName, "Sharks");
  EXPECT_EQ(second->teamColour, TeamColour::kAqua);
  EXPECT_FALSE(second->leaderShown);
  EXPECT_EQ(second->teamPicture,
            (ArchiveMember{context.baseArchive, "models\\flags\\b_flag2.tga"}));

  const std::optional<PlayerView> third = View(2);
  ASSERT_TRUE(third);
  EXPECT_EQ(third->playerClass, "SPECT");
  EXPECT_EQ(third->teamName, "N/A");
  EXPECT_FALSE(third->teamRowsShown);
  EXPECT_EQ(third->accuracy, "");
  EXPECT_EQ(third->gauntlets, "");
  EXPECT_EQ(third->teamPicture, (ArchiveMember{context.baseArchive, "textures\\sfx\\logo512.jpg"}));

  EXPECT_FALSE(View(3));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "RWT: Parsing ERROR");
  EXPECT_EQ(messages.shown[0].text, "SetPlayerData: Parsing ERROR. Could not find player index");
}

TEST_F(PlayerViewTest, AwardsDependOnProtocolAndGameType) {
  TPlayer player = Player("Visor", 0);
  player.Accuracy = 50;
  player.Captures = 2;
  state.Players = {player};
  state.GameType = "1";
  std::optional<PlayerView> view = View(0);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->accuracy, "50%");
  EXPECT_EQ(view->perfects, "0");
  EXPECT_EQ(view->captures, "");
  EXPECT_EQ(view->defends, "");
  EXPECT_EQ(view->assists, "");
  EXPECT_EQ(view->teamName, "N/A");
  EXPECT_EQ(view->teamPicture, (ArchiveMember{context.baseArchive, "textures\\sfx\\logo512.jpg"}));

  state.Protocol = 43;
  state.GameType = "4";
  view = View(0);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->accuracy, "");
  EXPECT_EQ(view->impressives, "");
  EXPECT_EQ(view->captures, "");
}

TEST(PlayerClass, SkillRoundsHalvesToEven) {
  TPlayer player;
  player.Skill = kKeyAbsent;
  EXPECT_EQ(PlayerClassText(player), "HUMAN");
  player.Skill = 2.5;
  EXPECT_EQ(PlayerClassText(player), "BOT/SKILL2");
  player.Skill = 4.5;
  EXPECT_EQ(PlayerClassText(player), "BOT/SKILL4");
  player.Skill = 5.4;
  EXPECT_EQ(PlayerClassText(player), "BOT/SKILL5");
  player.Skill = 5.6;
  EXPECT_EQ(PlayerClassText(player), "UNKNOWN");
  player.Skill = -0.6;
  EXPECT_EQ(PlayerClassText(player), "UNKNOWN");
  player.Team = 3;
  EXPECT_EQ(PlayerClassText(player), "SPECT");
}

TEST(PlayerIcons, HeadAndModelPaths) {
  EXPECT_EQ(HeadIconPath("*james/default"), "heads\\james\\icon_default.tga");
  EXPECT_EQ(HeadIconPath("sarge"), "sarge\\icon_default.tga");
  EXPECT_EQ(HeadIconPath("/red"), "/red\\icon_default.tga");
  EXPECT_EQ(HeadIconPath("N/A"), std::nullopt);
  EXPECT_EQ(ModelIconPath("sarge/red"), "sarge\\icon_red.tga");
  EXPECT_EQ(ModelIconPath("visor"), "visor\\icon_default.tga");
  EXPECT_EQ(ModelName("sarge/red"), "sarge");
  EXPECT_EQ(ModelName("visor"), "visor");
}

TEST_F(PlayerViewTest, ArchivesAreSearchedModFirstThenBaseHeadBeforeModel) {
  const std::string modFolder = game.Join("cpma");
  const std::string modArchive = modFolder + "/z-cpma.pk3";
  WriteBytes(modArchive, "PK");
  context.modFolder = modFolder;
  context.modName = "cpma";
  TPlayer player = Player("Visor", 0);
  player.HeadModel = "*james/default";
  player.Model = "sarge/red";
  state.Players = {player};
  holds.insert({context.baseArchive, "models\\players\\sarge\\icon_red.tga"});

  std::optional<PlayerView> view = View(0);
  ASSERT_TRUE(view);
  EXPECT_EQ(asked, (std::vector<ArchiveMember>{
                       {modArchive, "models\\players\\heads\\james\\icon_default.tga"},
                       {context.baseArchive, "models\\players\\heads\\james\\icon_default.tga"},
                       {modArchive, "models\\players\\sarge\\icon_red.tga"},
                       {context.baseArchive, "models\\players\\sarge\\icon_red.tga"}}));
  EXPECT_EQ(view->archive, context.baseArchive);
  EXPECT_EQ(view->headPictures,
            (std::vector<ArchiveMember>{
                {context.baseArchive, "models\\players\\heads\\james\\icon_default.tga"},
                {context.baseArchive, "models\\players\\sarge\\icon_red.tga"},
                {context.baseArchive, "gfx\\2d\\defer.tga"}}));
  EXPECT_EQ(view->taunts,
            (std::vector<ArchiveMember>{{context.baseArchive, "sound\\player\\sarge\\taunt.wav"},
                                        {context.baseArchive, "sound\\player\\sarge\\taunt.wav"}}));

  // The mod folder is the base folder, in other letters: searched once.
  asked.clear();
  context.modFolder = game.Join("BASEQ3");
  holds.insert({context.baseArchive, "models\\players\\heads\\james\\icon_default.tga"});
  view = View(0);
  ASSERT_TRUE(view);
  EXPECT_EQ(asked, (std::vector<ArchiveMember>{
                       {context.baseArchive, "models\\players\\heads\\james\\icon_default.tga"}}));
}

TEST_F(PlayerViewTest, WithoutAnIconTheFallBacksComeFromTheBaseArchive) {
  TPlayer player = Player("Visor", 1);
  player.HeadModel = "N/A";
  player.Model = "visor";
  state.Players = {player};
  std::optional<PlayerView> view = View(0);
  ASSERT_TRUE(view);
  EXPECT_EQ(asked, (std::vector<ArchiveMember>{
                       {context.baseArchive, "models\\players\\visor\\icon_default.tga"}}));
  EXPECT_EQ(view->archive, "");
  EXPECT_EQ(view->headPictures,
            (std::vector<ArchiveMember>{{context.baseArchive, "gfx\\2d\\defer.tga"}}));
  EXPECT_EQ(view->taunts,
            (std::vector<ArchiveMember>{{context.baseArchive, "sound\\player\\sarge\\taunt.wav"}}));

  // The mission pack's archive is taken unchecked, and names the team pictures.
  const std::string missionPack = game.Join("missionpack/pak0.pk3");
  WriteBytes(missionPack, "PK");
  context.modName = "MissionPack";
  state.InfoString = "\\g_redteam\\The Fallen\\";
  view = View(0);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->archive, missionPack);
  EXPECT_EQ(view->headPictures,
            (std::vector<ArchiveMember>{{missionPack, "models\\players\\visor\\icon_default.tga"},
                                        {context.baseArchive, "gfx\\2d\\defer.tga"}}));
  EXPECT_EQ(view->taunts,
            (std::vector<ArchiveMember>{{missionPack, "sound\\player\\visor\\taunt.wav"},
                                        {context.baseArchive, "sound\\player\\sarge\\taunt.wav"}}));
  EXPECT_EQ(view->teamPicture, (ArchiveMember{missionPack, "team_icon\\TheFallen_red.tga"}));

  state.InfoString = "\\g_redteam\\Sharks\\";
  view = View(0);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->teamPicture, std::nullopt);
  state.Players[0].Team = 0;
  view = View(0);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->teamPicture, (ArchiveMember{context.baseArchive, "textures\\sfx\\logo512.jpg"}));
}

TEST_F(PlayerViewTest, TheIconIsFoundInARealGameArchive) {
  // The sample holds models/players/angelyss/icon_red.tga and icon_default.tga.
  const std::string sample = game.Join("baseq3/zz-sample.pk3");
  std::filesystem::copy_file(test::TestDataPath("pk3/openarena-sample.pk3"), sample);
  TPlayer player = Player("Angel", 1);
  player.HeadModel = "N/A";
  player.Model = "Angelyss/RED";
  state.Players = {player};
  std::optional<PlayerView> view = SetPlayerData(files, messages, state, context, 0);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->archive, sample);
  EXPECT_EQ(view->headPictures.front(),
            (ArchiveMember{sample, "models\\players\\Angelyss\\icon_RED.tga"}));
  EXPECT_EQ(view->taunts.front(), (ArchiveMember{sample, "sound\\player\\Angelyss\\taunt.wav"}));

  state.Players[0].Model = "angelyss/blue";
  view = SetPlayerData(files, messages, state, context, 0);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->archive, "");
}

}  // namespace
}  // namespace rw
