#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "support/demo_writer.h"
#include "support/test_files.h"

namespace rw {
namespace {

using json = nlohmann::ordered_json;

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

json InfoJson(const std::string& arguments) {
  const test::CliRun run = test::RunCli("info --json " + arguments);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return json::parse(run.out);
}

// A free game of protocol 48 with a player whose name holds colour codes and a Latin-1 letter.
std::string BuiltDemo() {
  test::DemoWriter demo(48);
  demo.AddGameState(test::TypicalServerInfo(48, "0"), test::TypicalSystemInfo(),
                    {{0, "n\\^1J\xF6rg\\t\\0\\model\\sarge"}, {1, "n\\Visor\\t\\0\\model\\visor"}});
  demo.AddCommands(1000, {"scores 2 0 0 0 7 0 1 0 0 0 0 0 0 0 0 0 0 1 3 0 1 0 0 0 0 0 0 0 0 0 0"});
  demo.AddSnapshot(61000);
  demo.End();
  return demo.bytes();
}

// Expected values: the demos' server info as strings(1) shows it, and their last "scores".
TEST(InfoCommand, TeamDemoOfTheFirstGeneration) {
  const std::string path = test::TestDataPath("demos/tdm.dm3");
  const json out = InfoJson(Quoted(path));
  EXPECT_EQ(out["Result"], "1");
  EXPECT_EQ(out["Protocol"], 43);
  EXPECT_EQ(out["GameType"], "3");
  EXPECT_EQ(out["Score1"], "117");
  EXPECT_EQ(out["Score2"], "109");
  EXPECT_EQ(out["ScoresSeen"], true);
  EXPECT_EQ(out["MapMusic"], "music\\sonic5.wav");
  EXPECT_EQ(out["MapMessage"], "Temple of Retribution (TMP)");
  const json& info = out["DemoInfo"];
  ASSERT_EQ(info.size(), 26u);
  EXPECT_EQ(info.begin().key(), "Demoname");
  EXPECT_EQ(info["Demoname"], "tdm.dm3");
  EXPECT_EQ(info["Size"], "2595 KB");  // 2657087 bytes
  EXPECT_EQ(info["Archive Location"], "");
  EXPECT_EQ(info["Map"], "q3dm7");
  EXPECT_EQ(info["Version"], "Q3 1.15c win-x86 Jan 13 2000");
  EXPECT_EQ(info["Gametype"], "Team Deathmatch");
  EXPECT_EQ(info["Mod"], "baseq3");
  EXPECT_EQ(info["Hostname"], "East Teamplay.Net Teams 2");
  EXPECT_EQ(info["Timelimit"], "20");
  EXPECT_EQ(info["Fraglimit"], "N/S");
  EXPECT_EQ(info["Capturelimit"], "15");
  EXPECT_EQ(info["Protocol"], "43");
  EXPECT_EQ(info["Max Clients"], "14");
  EXPECT_EQ(info["Max Rate"], "25000");
  EXPECT_EQ(info["Max Ping"], "N/S");
  EXPECT_EQ(info["Min Ping"], "N/S");
  EXPECT_EQ(info["Winner"], "Red Team");
  EXPECT_EQ(info["Second"], "Blue Team");
  EXPECT_EQ(info["Final Score"], "117:109");
  EXPECT_EQ(info["Location"], path.substr(0, path.rfind('/')));
  EXPECT_EQ(info["Description"], "");
  bool found = false;
  for (const json& player : out["Players"]) {
    if (player["Name"] == "^14^7ReVeNaNt") {
      found = true;
      EXPECT_EQ(player["Team"], 1);
      EXPECT_EQ(player["Model"], "sarge/red");
      EXPECT_TRUE(player["Score"].is_number_integer());
      EXPECT_TRUE(player["Skill"].is_number());
    }
  }
  EXPECT_TRUE(found);
  EXPECT_TRUE(out["Messages"].empty());
  // The players the properties window lists: the table's slots without a name are left out,
  // spectators with a name stay.
  bool spectator = false;
  for (const json& player : out["Players"]) {
    EXPECT_NE(player["Name"], "");
    spectator = spectator || player["Name"] == "QTV-TEAMPLAY-NET";
  }
  EXPECT_TRUE(spectator);
  const test::CliRun text = test::RunCli("info " + Quoted(path));
  EXPECT_NE(text.out.find("Players: " + std::to_string(out["Players"].size()) + "\n"),
            std::string::npos);
  EXPECT_EQ(text.out.find("\n  : Team"), std::string::npos);
}

TEST(InfoCommand, DuelWithMatchLog) {
  const json out = InfoJson("--log " + Quoted(test::TestDataPath("demos/duel.dm_48")));
  EXPECT_EQ(out["Result"], "1");
  EXPECT_EQ(out["Protocol"], 48);
  const json& info = out["DemoInfo"];
  EXPECT_EQ(info["Map"], "ztn3tourney1");
  EXPECT_EQ(info["Gametype"], "Tournament");
  EXPECT_EQ(info["Mod"], "osp");
  EXPECT_EQ(info["Version"], "Q3 1.27g linux-i386 Dec 18 2000");
  EXPECT_EQ(info["Hostname"], "CPL Europe Tourney #19");
  EXPECT_EQ(info["Timelimit"], "15");
  EXPECT_EQ(info["Max Clients"], "6");
  EXPECT_EQ(info["Max Rate"], "N/S");
  EXPECT_EQ(info["Size"], "1304 KB");  // 1335016 bytes
  const json& log = out["MatchLog"];
  ASSERT_GE(log.size(), 2u);
  EXPECT_NE(log.front().get<std::string>().find("Demo start."), std::string::npos);
  EXPECT_NE(log.back().get<std::string>().find("Demo end."), std::string::npos);
}

TEST(InfoCommand, A68DemoShowsItsPlayersAndMatchLog) {
  // Values from a separate decoder of the bit-packed messages (see the demo reader's tests).
  const json out =
      InfoJson("--log " + Quoted(test::TestDataPath("demos/newer/udt_baseq3_team_chat.dm_68")));
  EXPECT_EQ(out["Result"], "1");
  EXPECT_EQ(out["Protocol"], 68);
  EXPECT_TRUE(out["Messages"].empty());
  ASSERT_EQ(out["Players"].size(), 4u);
  std::vector<std::pair<std::string, int>> players;
  for (const json& player : out["Players"]) players.emplace_back(player["Name"], player["Team"]);
  std::sort(players.begin(), players.end());
  EXPECT_EQ(players, (std::vector<std::pair<std::string, int>>{
                         {"Grunt", 1}, {"Grunt", 2}, {"Sarge", 1}, {"sausage", 2}}));
  const json& log = out["MatchLog"];
  ASSERT_EQ(log.size(), 8u);  // start, five team chats, one score, end
  EXPECT_EQ(log.front(), "^400:00:00 ^7Demo start.");
  EXPECT_EQ(log.back(), "^400:00:30 ^7Demo end.");
  const json& info = out["DemoInfo"];
  EXPECT_EQ(info["Demoname"], "udt_baseq3_team_chat.dm_68");
  EXPECT_EQ(info["Map"], "q3dm7");
  EXPECT_EQ(info["Gametype"], "Team Deathmatch");
  EXPECT_EQ(info["Protocol"], "68");
  EXPECT_EQ(info["Winner"], "Blue Team");
}

TEST(InfoCommand, TextsBecomeUtf8AndWinnersLoseTheirColours) {
  test::TempDir dir;
  const std::string path = dir.Join("built.dm_48");
  test::WriteBytes(path, BuiltDemo());
  const json out = InfoJson(Quoted(path));
  EXPECT_EQ(out["Result"], "1");
  ASSERT_FALSE(out["Players"].empty());
  EXPECT_EQ(out["Players"][0]["Name"], "^1J\xC3\xB6rg");
  EXPECT_EQ(out["DemoInfo"]["Winner"], "J\xC3\xB6rg");
  EXPECT_EQ(out["DemoInfo"]["Second"], "Visor");
  EXPECT_EQ(out["DemoInfo"]["Final Score"], "7:3");
  EXPECT_EQ(out["DemoInfo"]["Gametype"], "Free for All");
}

TEST(InfoCommand, UserNotesFromTheProgramFolder) {
  test::TempDir home;
  test::WriteBytes(home.Join("RWT Data/Demos/tdm.dm3.description"),
                   "^1Re^7Ve\r\n7\r\n\x01\r\nClose \xE9nd\r\nmore\r\n");
  const json out =
      InfoJson("--home " + Quoted(home.path()) + " " + Quoted(test::TestDataPath("demos/tdm.dm3")));
  const json& info = out["DemoInfo"];
  EXPECT_EQ(info["POV"], "ReVe");
  EXPECT_EQ(info["Rating"], "7");
  EXPECT_EQ(info["Web"], "");
  EXPECT_EQ(info["Description"], "Close \xC3\xA9nd");
}

TEST(InfoCommand, UnreadableNotesAreAMessage) {
  test::TempDir home;
  std::filesystem::create_directories(home.Join("RWT Data/Demos/tdm.dm3.description"));
  const json out =
      InfoJson("--home " + Quoted(home.path()) + " " + Quoted(test::TestDataPath("demos/tdm.dm3")));
  ASSERT_EQ(out["Messages"].size(), 1u);
  EXPECT_EQ(out["Messages"][0]["caption"], "RWT Load File Error");
  EXPECT_EQ(out["Messages"][0]["text"],
            "Parsing.GetUserInfo: " + home.path() + "/RWT Data/Demos/tdm.dm3.description");
}

TEST(InfoCommand, MemberOfAnArchive) {
  test::TempDir dir;
  const std::string archive = dir.Join("demos.zip");
  // Deflated, dated 0x2A634B4A: 2001-03-03 09:26:20.
  test::WriteBytes(archive, test::ZipOf({{"old/built.dm_48", BuiltDemo(), 8}}));
  const json out = InfoJson("--archive " + Quoted(archive) + " OLD/Built.dm_48");
  EXPECT_EQ(out["Result"], "1");
  const json& info = out["DemoInfo"];
  EXPECT_EQ(info["Demoname"], "built.dm_48");
  EXPECT_EQ(info["Archive Location"], "old");
  EXPECT_EQ(info["Recorded"], "2001-03-03 09:26:20");
  EXPECT_EQ(info["Location"], archive);
  EXPECT_EQ(info["Winner"], "J\xC3\xB6rg");
  EXPECT_EQ(out["SizeText"], "0 KB");
}

TEST(InfoCommand, PictureMemberIsNoDemo) {
  // zipinfo: levelshots/ps37ctf2.jpg, 4223 bytes, 2009-11-06 04:30:50.
  const std::string pk3 = test::TestDataPath("pk3/openarena-sample.pk3");
  const json out = InfoJson("--archive " + Quoted(pk3) + " 'levelshots\\ps37ctf2.jpg'");
  EXPECT_EQ(out["Result"], "0");
  const json& info = out["DemoInfo"];
  EXPECT_EQ(info["Demoname"], "ps37ctf2.jpg");
  EXPECT_EQ(info["Size"], "4 KB");
  EXPECT_EQ(info["Recorded"], "2009-11-06 04:30:50");
  EXPECT_EQ(info["Archive Location"], "levelshots");
  EXPECT_EQ(info["Location"], pk3);
}

TEST(InfoCommand, HumanFormKeepsColourCodesWhenNotATerminal) {
  const test::CliRun run = test::RunCli("info " + Quoted(test::TestDataPath("demos/tdm.dm3")));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Result: 1\n"), std::string::npos);
  EXPECT_NE(run.out.find("Protocol: 43\n"), std::string::npos);
  EXPECT_NE(run.out.find("  ^14^7ReVeNaNt: Team 1,"), std::string::npos);
  EXPECT_NE(run.out.find("  Map: q3dm7\n"), std::string::npos);
  EXPECT_NE(run.out.find("  Final Score: 117:109\n"), std::string::npos);
  EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
}

TEST(InfoCommand, TerminalShowsColourCodesAsColours) {
  test::TempDir dir;
  const std::string out = dir.Join("out");
  // script(1) gives the program a terminal as its standard output.
  const std::string command = "script -qec \"'" + std::string(REELWRIGHT_CLI) + "' info '" +
                              test::TestDataPath("demos/tdm.dm3") + "'\" /dev/null >'" + out +
                              "' 2>&1 </dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string text = test::ReadBytes(out);
  // ^1 is red (31), ^7 white (37), then the colours are reset.
  EXPECT_NE(text.find("\x1b[31m4\x1b[37mReVeNaNt\x1b[0m: Team 1,"), std::string::npos);
  EXPECT_EQ(text.find("^14^7ReVeNaNt"), std::string::npos);
}

TEST(InfoCommand, MissingDemoOrMemberAndBadUsage) {
  test::TempDir dir;
  const test::CliRun missing = test::RunCli("info " + Quoted(dir.Join("none.dm3")));
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("none.dm3"), std::string::npos);
  const std::string pk3 = test::TestDataPath("pk3/openarena-sample.pk3");
  const test::CliRun noMember = test::RunCli("info --archive " + Quoted(pk3) + " x.dm_48");
  EXPECT_EQ(noMember.exitCode, 1);
  EXPECT_NE(noMember.err.find("x.dm_48"), std::string::npos);
  const test::CliRun noArchive = test::RunCli("info --archive " + Quoted(dir.Join("a.zip")) + " x");
  EXPECT_EQ(noArchive.exitCode, 1);
  EXPECT_NE(noArchive.err.find("a.zip"), std::string::npos);
  EXPECT_EQ(test::RunCli("info").exitCode, 2);
  EXPECT_EQ(test::RunCli("info --bogus x.dm3").exitCode, 2);
}

}  // namespace
}  // namespace rw
