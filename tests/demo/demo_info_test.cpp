#include "demo/demo_info.h"

#include <gtest/gtest.h>

#include "support/demo_writer.h"

namespace rw {
namespace {

TPlayer Player(std::string name, int32_t team, int32_t score) {
  TPlayer player;
  player.Name = std::move(name);
  player.Team = team;
  player.Score = score;
  return player;
}

DemoReadState TeamGame(std::string score1, std::string score2, std::string info = "\\a\\b\\") {
  DemoReadState state;
  state.GameType = "3";
  state.InfoString = std::move(info);
  state.Score1 = std::move(score1);
  state.Score2 = std::move(score2);
  return state;
}

void ExpectWinners(const DemoReadState& state, std::string_view winner, std::string_view second,
                   std::string_view finalScore) {
  const Winners result = GetWinners(state);
  EXPECT_EQ(result.winner, winner);
  EXPECT_EQ(result.second, second);
  EXPECT_EQ(result.finalScore, finalScore);
}

TEST(GetWinners, TeamGameByScoresWithDrawToBlue) {
  ExpectWinners(TeamGame("8", "3"), "Red Team", "Blue Team", "8:3");
  ExpectWinners(TeamGame("3", "8"), "Blue Team", "Red Team", "8:3");
  ExpectWinners(TeamGame("5", "5"), "Blue Team", "Red Team", "5:5");
  ExpectWinners(TeamGame("-2", "-7"), "Red Team", "Blue Team", "-2:-7");
}

TEST(GetWinners, TeamNamesFromServerInfo) {
  ExpectWinners(TeamGame("8", "3", "\\g_redteam\\Sharks\\"), "Sharks", "Blue Team", "8:3");
  ExpectWinners(TeamGame("1", "3", "\\G_REDTEAM\\Sharks\\g_blueteam\\Jets\\"), "Jets", "Sharks",
                "3:1");
}

TEST(GetWinners, TeamScoreThatIsNoNumberGivesNothing) {
  ExpectWinners(TeamGame("x", "3"), "N/A", "N/A", "0:0");
  ExpectWinners(TeamGame("3", ""), "N/A", "N/A", "0:0");
  ExpectWinners(TeamGame("3", "4 "), "N/A", "N/A", "0:0");
}

TEST(GetWinners, TeamGameTestComparesTheGameTypeAsText) {
  DemoReadState state = TeamGame("8", "3");
  state.ScoresSeen = true;
  state.Players = {Player("Solo", 0, 20)};
  for (const char* team : {"3", "9", "N/A", "4x"}) {
    state.GameType = team;
    EXPECT_EQ(GetWinners(state).winner, "Red Team") << team;
  }
  for (const char* free : {"0", "1", "2", "10", ""}) {
    state.GameType = free;
    EXPECT_EQ(GetWinners(state).winner, "Solo") << free;
  }
}

TEST(GetWinners, FreeGameNeedsAScoreboard) {
  DemoReadState state;
  state.GameType = "1";
  state.Players = {Player("A", 0, 5), Player("B", 0, 3)};
  ExpectWinners(state, "N/A", "N/A", "0:0");
  state.ScoresSeen = true;
  ExpectWinners(state, "A", "B", "5:3");
}

TEST(GetWinners, FreeGameSkipsEmptyNamesAndSpectatorsAndStripsColours) {
  DemoReadState state;
  state.GameType = "0";
  state.ScoresSeen = true;
  state.Players = {Player("", 0, 40),    Player("^1Spec", 3, 30), Player("^2Vi^7sor", 1, 25),
                   Player("Odd", 4, 24), Player("Doom", 0, -3),   Player("Third", 0, -5)};
  ExpectWinners(state, "Visor", "Doom", "25:-3");
}

TEST(GetWinners, FreeGameWithOnePlayer) {
  DemoReadState state;
  state.GameType = "0";
  state.ScoresSeen = true;
  state.Players = {Player("Solo", 0, 12), Player("Watcher", 3, kNoScore)};
  ExpectWinners(state, "Solo", "N/A", "12:0");
}

TEST(SetFieldsFromRead, TakesServerInfoValues) {
  DemoReadState state;
  state.InfoString =
      "\\mapname\\Q3DM7\\version\\Q3 1.17\\gameversion\\osp\\g_gametype\\3\\gamename\\baseq3\\"
      "fs_game\\OSP\\sv_hostname\\^1Arena\\timelimit\\20\\fraglimit\\0\\capturelimit\\8\\"
      "protocol\\43\\sv_maxclients\\16\\sv_maxRate\\0\\sv_maxPing\\250\\sv_minPing\\0\\"
      "g_redteam\\Sharks\\";
  state.GameType = "3";
  state.Score1 = "12";
  state.Score2 = "15";
  state.Playtime = "00:20:03";
  DemoInfo info;
  info[DemoInfo::Name] = "tdm.dm3";
  SetFieldsFromRead(info, state);
  EXPECT_EQ(info[DemoInfo::Name], "tdm.dm3");
  EXPECT_EQ(info[DemoInfo::Map], "q3dm7");
  EXPECT_EQ(info[DemoInfo::Playtime], "00:20:03");
  EXPECT_EQ(info[DemoInfo::Version], "Q3 1.17");
  EXPECT_EQ(info[DemoInfo::Gametype], "Team Deathmatch");
  EXPECT_EQ(info[DemoInfo::Mod], "osp");
  EXPECT_EQ(info[DemoInfo::Hostname], "^1Arena");
  EXPECT_EQ(info[DemoInfo::Timelimit], "20");
  EXPECT_EQ(info[DemoInfo::Fraglimit], "N/S");
  EXPECT_EQ(info[DemoInfo::Capturelimit], "8");
  EXPECT_EQ(info[DemoInfo::Protocol], "43");
  EXPECT_EQ(info[DemoInfo::MaxClients], "16");
  EXPECT_EQ(info[DemoInfo::MaxRate], "N/S");
  EXPECT_EQ(info[DemoInfo::MaxPing], "250");
  EXPECT_EQ(info[DemoInfo::MinPing], "N/S");
  EXPECT_EQ(info[DemoInfo::Winner], "Blue Team");
  EXPECT_EQ(info[DemoInfo::Second], "Sharks");
  EXPECT_EQ(info[DemoInfo::FinalScore], "15:12");
  EXPECT_EQ(info[DemoInfo::Location], "");
}

TEST(SetFieldsFromRead, UnreadableDemo) {
  DemoInfo info;
  SetFieldsFromRead(info, DemoReadState{});
  EXPECT_EQ(info[DemoInfo::Map], "n/a");
  EXPECT_EQ(info[DemoInfo::Mod], "n/a");
  EXPECT_EQ(info[DemoInfo::Playtime], "00:00:00");
  for (DemoInfo::Field field : {DemoInfo::Version, DemoInfo::Gametype, DemoInfo::Hostname}) {
    EXPECT_EQ(info[field], "N/A") << kDemoInfoCaptions[field];
  }
  for (size_t field = DemoInfo::Timelimit; field <= DemoInfo::MinPing; ++field) {
    EXPECT_EQ(info.fields[field], "N/A") << kDemoInfoCaptions[field];
  }
  EXPECT_EQ(info[DemoInfo::Winner], "N/A");
  EXPECT_EQ(info[DemoInfo::Second], "N/A");
  EXPECT_EQ(info[DemoInfo::FinalScore], "0:0");
}

// A free game of protocol 48 whose top scorer watches from the spectators.
std::string FreeGame(bool withScoreboard) {
  test::DemoWriter demo(48);
  demo.AddGameState(test::TypicalServerInfo(48, "0"), test::TypicalSystemInfo(),
                    {{0, "n\\Watcher\\t\\3"}, {1, "n\\^1Anna\\t\\0"}, {2, "n\\Bert\\t\\0"}});
  if (withScoreboard) {
    // Per player: client, score, ping, time and ten more numbers.
    demo.AddCommands(1000, {"scores 3 0 0 0 50 0 1 0 0 0 0 0 0 0 0 0 0 "
                            "1 10 0 1 0 0 0 0 0 0 0 0 0 0 2 4 0 1 0 0 0 0 0 0 0 0 0 0"});
  }
  demo.AddSnapshot(61000);
  demo.End();
  return demo.bytes();
}

TEST(SetFieldsFromRead, FreeGameReadFromADemo) {
  test::ReaderHarness harness;
  ASSERT_EQ(harness.Read(FreeGame(true)), "1");
  DemoInfo info;
  SetFieldsFromRead(info, harness.state());
  EXPECT_EQ(info[DemoInfo::Gametype], "Free for All");
  EXPECT_EQ(info[DemoInfo::Hostname], "Test Arena");
  EXPECT_EQ(info[DemoInfo::Fraglimit], "20");
  EXPECT_EQ(info[DemoInfo::Winner], "Anna");
  EXPECT_EQ(info[DemoInfo::Second], "Bert");
  EXPECT_EQ(info[DemoInfo::FinalScore], "10:4");
}

TEST(SetFieldsFromRead, FreeGameWithoutScoreboardHasNoWinner) {
  test::ReaderHarness harness;
  ASSERT_EQ(harness.Read(FreeGame(false)), "1");
  ASSERT_FALSE(harness.state().Players.empty());
  DemoInfo info;
  SetFieldsFromRead(info, harness.state());
  EXPECT_EQ(info[DemoInfo::Winner], "N/A");
  EXPECT_EQ(info[DemoInfo::Second], "N/A");
  EXPECT_EQ(info[DemoInfo::FinalScore], "0:0");
}

TEST(DemoInfoCaptions, ColumnOrder) {
  EXPECT_EQ(kDemoInfoCaptions[DemoInfo::Name], "Demoname");
  EXPECT_EQ(kDemoInfoCaptions[DemoInfo::ArchiveLocation], "Archive Location");
  EXPECT_EQ(kDemoInfoCaptions[DemoInfo::MaxClients], "Max Clients");
  EXPECT_EQ(kDemoInfoCaptions[DemoInfo::FinalScore], "Final Score");
  EXPECT_EQ(kDemoInfoCaptions[DemoInfo::Location], "Location");
  EXPECT_EQ(kDemoInfoCaptions[DemoInfo::Description], "Description");
  static_assert(DemoInfo::kFieldCount == 26);
}

}  // namespace
}  // namespace rw
