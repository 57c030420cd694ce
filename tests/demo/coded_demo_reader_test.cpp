#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "demo/demo_info.h"
#include "demo/demo_reader.h"
#include "demo/info_text.h"
#include "support/coded_demo_writer.h"
#include "support/demo_writer.h"
#include "support/test_files.h"

namespace rw {
namespace {

using test::CodedDemo;
using test::CodedMessageWriter;
using test::ReaderHarness;
using test::TestDataPath;

// Expected values of the real demos come from a separate decoder written for these tests in
// Python, outside the repository: it builds the engine's tree by the same adaptive insertion
// from the frequencies in the ioquake3 binary and walks it bit by bit. It gave the configuration
// strings of the first game state, every new server command and every snapshot's server time.

size_t CountLines(const DemoReadState& state, std::string_view part) {
  return std::count_if(state.MatchLog.begin(), state.MatchLog.end(),
                       [part](const std::string& l) { return l.find(part) != std::string::npos; });
}

DemoInfo ColumnsOf(const DemoReadState& state) {
  DemoInfo info;
  SetFieldsFromRead(info, state);
  return info;
}

TEST(CodedDemos, A67DuelOfTheOspModWithItsScoreboards) {
  ReaderHarness h;
  ASSERT_EQ(
      h.reader.GetFromDemo(TestDataPath("demos/newer/2002 - Duel 3 (Quakecon).dm_67"), "", true),
      "1");
  EXPECT_TRUE(h.messages.shown.empty());
  const DemoReadState& s = h.state();
  EXPECT_EQ(s.Protocol, 67);
  EXPECT_EQ(s.MapMessage, "The Chastity Belt Duel (Orange remix)");
  EXPECT_EQ(s.MapMusic, "N/A");  // the game state has no configuration string 2
  EXPECT_EQ(GetInfoValue(s, "sv_serverid"), "12288666");  // from the system info
  const DemoInfo columns = ColumnsOf(s);
  EXPECT_EQ(columns[DemoInfo::Map], "ospdm8");
  EXPECT_EQ(columns[DemoInfo::Hostname], "l4v6_1");
  EXPECT_EQ(columns[DemoInfo::Gametype], "Tournament");
  EXPECT_EQ(columns[DemoInfo::Mod], "osp");
  EXPECT_EQ(columns[DemoInfo::Protocol], "67");
  EXPECT_EQ(columns[DemoInfo::Timelimit], "15");
  // Snapshots from 607311 to 1302588: 695.277 s.
  EXPECT_EQ(columns[DemoInfo::Playtime], "00:11:35");
  // The last "scores": client 0 with 8, accuracy 26 and 2 impressives, client 1 with 4.
  EXPECT_EQ(columns[DemoInfo::Winner], "fatal1ty");
  EXPECT_EQ(columns[DemoInfo::Second], "czm");
  EXPECT_EQ(columns[DemoInfo::FinalScore], "8:4");
  ASSERT_EQ(s.Players.size(), 6u);  // four in the game state, clients 4 and 5 join later
  EXPECT_EQ(s.Players[0].Accuracy, 26);
  EXPECT_EQ(s.Players[0].Impressives, 2);
  EXPECT_EQ(s.Players[0].Time, 14);
  EXPECT_EQ(s.Players[0].Model, "sarge/blue");
  EXPECT_EQ(s.Players[1].Accuracy, 20);
  EXPECT_EQ(s.Players[5].Name, "GTV-OSPizME");
  EXPECT_EQ(s.Players[5].Team, 3);

  // 41 new "scores" commands, 153 prints and 2 chats; "cs 22" ends the game.
  EXPECT_EQ(CountLines(s, " ^1SCORE   PING   TIME   NAME"), 41u);
  EXPECT_EQ(CountLines(s, "^1*** GAME END ***"), 1u);
  EXPECT_EQ(s.MatchLog.front(), "^400:00:00 ^7Demo start.");
  EXPECT_EQ(s.MatchLog.back(), "^400:11:35 ^7Demo end.");
}

TEST(CodedDemos, A68TeamGameWithBotsAndTeamChat) {
  ReaderHarness h;
  ASSERT_EQ(h.reader.GetFromDemo(TestDataPath("demos/newer/udt_baseq3_team_chat.dm_68"), "", true),
            "1");
  EXPECT_TRUE(h.messages.shown.empty());
  const DemoReadState& s = h.state();
  EXPECT_EQ(s.Protocol, 68);
  EXPECT_EQ(s.MapMusic, "music\\sonic5.wav");
  EXPECT_EQ(s.MapMessage, "Temple of Retribution");
  EXPECT_EQ(s.Score1, "-1");  // "cs 6 "-1"" in record 978
  EXPECT_EQ(s.Score2, "0");
  EXPECT_FALSE(s.ScoresSeen);
  const DemoInfo columns = ColumnsOf(s);
  EXPECT_EQ(columns[DemoInfo::Map], "q3dm7");  // "Q3DM7" in the server info
  EXPECT_EQ(columns[DemoInfo::Gametype], "Team Deathmatch");
  EXPECT_EQ(columns[DemoInfo::Mod], "baseq3");
  EXPECT_EQ(columns[DemoInfo::Version], "Q3 1.32 win-x86 Oct  7 2002");
  EXPECT_EQ(columns[DemoInfo::Playtime], "00:00:30");  // 9904 to 40330
  EXPECT_EQ(columns[DemoInfo::Winner], "Blue Team");
  EXPECT_EQ(columns[DemoInfo::FinalScore], "0:-1");

  // A human leading the blue team and three bots whose skill the server pads to "    2.00".
  ASSERT_EQ(s.Players.size(), 4u);
  std::vector<std::string> names;
  for (const TPlayer& player : s.Players) names.push_back(player.Name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Grunt", "Grunt", "Sarge", "sausage"}));
  for (const TPlayer& player : s.Players) {
    EXPECT_EQ(player.Skill, player.Name == "sausage" ? kKeyAbsent : 2.0) << player.Name;
    EXPECT_EQ(player.Handicap, player.Name == "sausage" ? 100 : 70) << player.Name;
  }
  EXPECT_EQ(CountLines(s, "UPDATE PLAYER ERROR"), 0u);
  // Five "tchat" commands, the first "(sausage^7) (Mega Health Room): ^5a".
  EXPECT_EQ(CountLines(s, "(sausage^7"), 5u);
  EXPECT_EQ(CountLines(s, "(Mega Health Room)\x19: ^5a"), 1u);
  EXPECT_EQ(CountLines(s, "Red team ^7scored: -1"), 1u);
  EXPECT_EQ(s.MatchLog.back(), "^400:00:30 ^7Demo end.");
}

TEST(CodedDemos, A68ClientOnAServerThatGivesItsProtocolAs71) {
  // ioquake3 1.36 names the key com_protocol; the client wrote the file as .dm_68.
  ReaderHarness h;
  ASSERT_EQ(h.reader.GetFromDemo(TestDataPath("demos/newer/czimnick_test.dm_68"), "", true), "1");
  const DemoReadState& s = h.state();
  EXPECT_EQ(s.Protocol, 71);
  const DemoInfo columns = ColumnsOf(s);
  EXPECT_EQ(columns[DemoInfo::Map], "bardok-niels");
  EXPECT_EQ(columns[DemoInfo::Hostname], "^1mDd^0 |^3 Defrag CPM Runs I^7");
  EXPECT_EQ(columns[DemoInfo::Mod], "defrag");
  EXPECT_EQ(columns[DemoInfo::Protocol], "71");
  EXPECT_EQ(columns[DemoInfo::Playtime], "00:00:16");  // 922416 to 938704
  // Two chats and a print between the start and the end.
  ASSERT_EQ(s.MatchLog.size(), 5u);
  EXPECT_EQ(s.MatchLog[2],
            "^400:00:16 ^7^1c^2h^3i^4c^5k^6e^7n^7 reached the finish line in ^214:088^7");
  // Clients 2 to 5 in the game state; 0 and 1 stay empty.
  ASSERT_EQ(s.Players.size(), 6u);
  EXPECT_EQ(std::count_if(s.Players.begin(), s.Players.end(),
                          [](const TPlayer& p) { return p.Name.empty(); }),
            2);

  // The same bytes under a foreign extension name nothing the reader knows.
  const std::string bytes = test::ReadBytes(TestDataPath("demos/newer/czimnick_test.dm_68"));
  test::WriteBytes(h.PathOf("run.dm_71"), bytes);
  EXPECT_EQ(h.reader.GetFromDemo(h.PathOf("run.dm_71"), "", true), "0");
  EXPECT_EQ(h.state().InfoString, "\\");
}

TEST(CodedDemos, LaterAndForeignGenerationsAreUnreadableWithoutAMessage) {
  ReaderHarness h;
  // OpenArena: the same coding, protocol 70.
  EXPECT_EQ(h.reader.GetFromDemo(TestDataPath("demos/newer/flyby_suspended.dm_70"), "", true), "0");
  EXPECT_EQ(h.state().InfoString, "\\");
  EXPECT_EQ(h.state().Protocol, 0);
  EXPECT_EQ(h.state().SizeText, "35 KB");
  EXPECT_TRUE(h.state().MatchLog.empty());
  // A Quake Live server info, and bytes that are no demo at all.
  const std::string quakeLive = CodedMessageWriter()
                                    .Byte(2)
                                    .Long(1)
                                    .Byte(3)
                                    .Short(0)
                                    .Text("\\protocol\\91\\mapname\\x")
                                    .bytes();
  test::WriteBytes(h.PathOf("ql.dm_91"), CodedDemo({quakeLive}));
  EXPECT_EQ(h.reader.GetFromDemo(h.PathOf("ql.dm_91"), "", true), "0");
  test::WriteBytes(h.PathOf("noise.dm_73"), std::string(5000, '\x5A'));
  EXPECT_EQ(h.reader.GetFromDemo(h.PathOf("noise.dm_73"), "", true), "0");
  EXPECT_TRUE(h.messages.shown.empty());
}

TEST(CodedDemos, ADemoCutOffReadsAsFarAsItGoes) {
  const std::string demo = test::ReadBytes(TestDataPath("demos/newer/czimnick_test.dm_68"));
  // Last snapshots of the first 75000 and 149000 bytes: 930048 and 938544.
  for (const auto& [bytes, playtime] :
       {std::pair<size_t, std::string>{75000, "00:00:08"}, {149000, "00:00:16"}}) {
    ReaderHarness h;
    test::WriteBytes(h.PathOf("cut.dm_68"), demo.substr(0, bytes));
    EXPECT_EQ(h.reader.GetFromDemo(h.PathOf("cut.dm_68"), "", true), "1") << bytes;
    EXPECT_EQ(h.state().Playtime, playtime) << bytes;
    EXPECT_EQ(h.state().MatchLog.back(), "^4" + playtime + " ^7Demo end.");
    EXPECT_TRUE(h.messages.shown.empty());
  }
  // Cut inside the first message: nothing to read.
  ReaderHarness h;
  test::WriteBytes(h.PathOf("cut.dm_68"), demo.substr(0, 12));
  EXPECT_EQ(h.reader.GetFromDemo(h.PathOf("cut.dm_68"), "", true), "0");
  EXPECT_TRUE(h.messages.shown.empty());
}

// A game state that opens a demo as a 1.32 server's does.
std::string GameState() {
  return CodedMessageWriter()
      .Byte(2)
      .Long(7)
      .Byte(3)
      .Short(0)
      .Text("\\g_gametype\\0\\protocol\\68\\mapname\\q3dm17")
      .Byte(3)
      .Short(1)
      .Text("\\fs_game\\cpma")
      .Byte(3)
      .Short(544)
      .Text("n\\Visor\\t\\0")
      .Byte(4)  // a baseline, which ends what is read
      .Byte(3)
      .Short(545)
      .Text("n\\Hidden\\t\\0")
      .bytes();
}

std::string Snapshot(uint32_t serverTime) {
  return CodedMessageWriter().Byte(7).Long(serverTime).Byte(0x55).bytes();
}

TEST(CodedDemos, OperationEightEndsAMessageAndTheWalkGoesOn) {
  ReaderHarness h;
  const std::string commandsOnly = CodedMessageWriter()
                                       .Byte(5)
                                       .Long(1)
                                       .Text("print \"fraglimit hit\"")
                                       .Byte(8)
                                       .Byte(5)  // after the end: never read
                                       .bytes();
  test::WriteBytes(h.PathOf("a.dm_68"),
                   CodedDemo({GameState(), Snapshot(1000), commandsOnly, Snapshot(4600)}));
  ASSERT_EQ(h.reader.GetFromDemo(h.PathOf("a.dm_68"), "", true), "1");
  const DemoReadState& s = h.state();
  EXPECT_EQ(GetInfoValue(s, "fs_game"), "cpma");
  ASSERT_EQ(s.Players.size(), 1u);
  EXPECT_EQ(s.Players[0].Name, "Visor");
  EXPECT_EQ(s.MatchLog, (std::vector<std::string>{
                            "^400:00:00 ^7Demo start.", "^400:00:00 ^7fraglimit hit",
                            "^400:00:00 ^7^1*** GAME END ***", "^400:00:04 ^7Demo end."}));
}

TEST(CodedDemos, ACommandSentAgainIsTakenOnce) {
  // The server repeats a command until the client has it.
  const std::string first =
      CodedMessageWriter().Byte(5).Long(1).Text("print \"one\"").Byte(8).bytes();
  const std::string again = CodedMessageWriter()
                                .Byte(5)
                                .Long(1)
                                .Text("print \"one\"")
                                .Byte(5)
                                .Long(2)
                                .Text("chat \"two\"")
                                .Byte(7)
                                .Long(3600)
                                .bytes();
  ReaderHarness h;
  test::WriteBytes(h.PathOf("a.dm_68"), CodedDemo({GameState(), Snapshot(1000), first, again}));
  ASSERT_EQ(h.reader.GetFromDemo(h.PathOf("a.dm_68"), "", true), "1");
  EXPECT_EQ(h.state().MatchLog,
            (std::vector<std::string>{"^400:00:00 ^7Demo start.", "^400:00:00 ^7one",
                                      "^400:00:00 ^7two", "^400:00:03 ^7Demo end."}));
}

TEST(CodedDemos, DamageInsideACompleteRecordIsReportedAndNeverReadPast) {
  const struct {
    std::string message;
    std::string field;
  } damaged[] = {
      // A text longer than any the game sends, with no end in the message.
      {CodedMessageWriter().Byte(5).Long(3).Text(std::string(9000, 'a'), true).bytes(),
       "SERVERCOMMAND,text"},
      // The message ends inside the server time.
      {CodedMessageWriter().Byte(7).Short(1).bytes(), "ServerTime"},
      // The tree's empty leaf where an operation should be.
      {CodedMessageWriter().EmptyLeaf().Byte(7).Long(9).bytes(), "Server_cmd"},
  };
  for (const auto& [message, field] : damaged) {
    ReaderHarness h;
    test::WriteBytes(h.PathOf("d.dm_68"), CodedDemo({GameState(), Snapshot(1000), message}));
    EXPECT_EQ(h.reader.GetFromDemo(h.PathOf("d.dm_68"), "", true), "0") << field;
    ASSERT_EQ(h.messages.shown.size(), 1u) << field;
    EXPECT_EQ(h.messages.shown[0].caption, "Debug");
    EXPECT_EQ(h.messages.shown[0].text, "Parsing Error (" + field + ") at Packet Nr: 3");
  }
}

}  // namespace
}  // namespace rw
