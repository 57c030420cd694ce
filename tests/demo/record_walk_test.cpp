#include "demo/record_walk.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "demo/info_text.h"
#include "support/demo_writer.h"

namespace rw {
namespace {

using test::DemoWriter;
using test::ReaderHarness;
using test::TypicalServerInfo;
using test::TypicalSystemInfo;

// A demo of the protocol that has its game state and a first snapshot at 10000 ms.
DemoWriter Started(int protocol, std::string_view gametype = "0") {
  DemoWriter demo(protocol);
  demo.AddGameState(TypicalServerInfo(protocol, gametype), TypicalSystemInfo(),
                    {{0, "n\\Visor\\t\\0\\model\\visor"}});
  demo.AddSnapshot(10000);
  return demo;
}

bool Logged(const DemoReadState& state, const std::string& line) {
  return std::find(state.MatchLog.begin(), state.MatchLog.end(), line) != state.MatchLog.end();
}

void ExpectParsingError(const ReaderHarness& h, const std::string& text) {
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].caption, "Debug");
  EXPECT_EQ(h.messages.shown[0].text, text);
  EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::kError);
  // The finishing step is skipped.
  EXPECT_EQ(h.state().InfoString, "N/A");
  EXPECT_EQ(h.state().Playtime, "00:00:00");
}

TEST(RecordWalk, WalksEveryRecordToTheEndMarkerForThePlayTime) {
  for (int protocol : {43, 45, 46, 48}) {
    DemoWriter demo = Started(protocol);
    demo.AddSnapshot(20000).AddSnapshot(72500).End();
    demo.AddRecord(5, "trailing bytes after the end marker are never read");
    ReaderHarness h;
    EXPECT_EQ(h.Read(demo.bytes()), "1") << protocol;
    EXPECT_EQ(h.state().Protocol, protocol);
    EXPECT_EQ(h.state().Playtime, "00:01:02") << protocol;  // 62.5 s, halves to even
    EXPECT_EQ(h.state().MatchLog,
              (std::vector<std::string>{"^400:00:00 ^7Demo start.", "^400:01:02 ^7Demo end."}));
    EXPECT_EQ(h.state().InfoString, TypicalServerInfo(protocol) + TypicalSystemInfo() + "\\");
    EXPECT_EQ(h.state().MapMusic, "music/sonic5.wav");
    EXPECT_EQ(h.state().MapMessage, "Temple of Retribution");
    EXPECT_TRUE(h.messages.shown.empty());
  }
}

TEST(RecordWalk, PlayTimeRoundsHalfSecondsToTheEvenNeighbour) {
  DemoWriter demo = Started(43);
  demo.AddSnapshot(13500).End();
  ReaderHarness h;
  h.Read(demo.bytes());
  EXPECT_EQ(h.state().Playtime, "00:00:04");
}

TEST(RecordWalk, DemoWithoutEndMarkerEndsWhenItsBytesAreUsedUp) {
  DemoWriter demo = Started(43);
  demo.AddSnapshot(15000);
  ReaderHarness h;
  EXPECT_EQ(h.Read(demo.bytes()), "1");
  EXPECT_EQ(h.state().MatchLog.back(), "^400:00:05 ^7Demo end.");
}

TEST(RecordWalk, DemoWithoutSnapshotHasNoStartLine) {
  DemoWriter demo(48);
  demo.AddGameState(TypicalServerInfo(48), TypicalSystemInfo()).End();
  ReaderHarness h;
  EXPECT_EQ(h.Read(demo.bytes()), "1");
  EXPECT_EQ(h.state().MatchLog, std::vector<std::string>{"^400:00:00 ^7Demo end."});
}

TEST(RecordWalk, EmptyRecordsAndNoOperationsGoOnWithTheNextRecord) {
  DemoWriter demo = Started(45);
  demo.AddRecord(77, "");
  demo.AddRecord(78, std::string("\x01\x00\x00", 3));
  demo.AddSnapshot(11000).End();
  ReaderHarness h;
  EXPECT_EQ(h.Read(demo.bytes()), "1");
  EXPECT_EQ(h.state().MatchLog,
            (std::vector<std::string>{"^400:00:00 ^7Demo start.", "78; no operation command",
                                      "^400:00:01 ^7Demo end."}));
}

TEST(RecordWalk, BadCommandWithSequenceMinusTwoStopsTheWalk) {
  DemoWriter demo = Started(43);
  demo.AddRecord(-2, std::string("\x00", 1));
  demo.AddSnapshot(50000).End();
  ReaderHarness h;
  EXPECT_EQ(h.Read(demo.bytes(), false), "1");
  EXPECT_EQ(h.state().MatchLog,
            (std::vector<std::string>{"^400:00:00 ^7Demo start.", "4294967294; bad command"}));
  EXPECT_EQ(h.state().Playtime, "00:00:00");
  EXPECT_EQ(h.state().InfoString, TypicalServerInfo(43) + TypicalSystemInfo() + "\\");
}

TEST(RecordWalk, OldQuake2OperationsOutsideAGameStateStopTheWalk) {
  for (uint8_t opcode : {3, 4, 6}) {
    DemoWriter demo = Started(48);
    demo.Add(demo.Message().Byte(opcode).Int16(2).Text("x"));
    demo.AddSnapshot(50000).End();
    ReaderHarness h;
    EXPECT_EQ(h.Read(demo.bytes()), "1");
    EXPECT_EQ(h.state().MatchLog.back(), "1002; old q2 command, not more valid");
    EXPECT_EQ(h.state().Playtime, "00:00:00");
  }
}

TEST(RecordWalk, UnknownOpcodeNamesTheRecord) {
  DemoWriter demo = Started(43);
  demo.Add(demo.Message().Byte(8));
  demo.AddSnapshot(50000).End();
  ReaderHarness h;
  EXPECT_EQ(h.Read(demo.bytes()), "1");
  EXPECT_EQ(h.state().MatchLog.back(), "Packet: 3, Parsing Error");
}

// A download that stops inside a record header leaves a demo as readable as one that stops
// inside a message.
TEST(RecordWalk, DemoCutInsideARecordHeaderEndsBeforeIt) {
  for (const std::string& tail :
       {std::string("\x10\x00\x00\x00\x05\x00", 6), std::string("\x01\x02", 2)}) {
    DemoWriter demo = Started(43);
    for (uint32_t t : {11000, 12000, 13000, 14000}) demo.AddSnapshot(t);
    ReaderHarness h;
    EXPECT_EQ(h.Read(demo.bytes() + tail), "1");
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(h.state().Playtime, "00:00:04");
    EXPECT_EQ(h.state().MatchLog.back(), "^400:00:04 ^7Demo end.");
  }
}

TEST(RecordWalk, NegativeRecordLengthIsAnError) {
  for (int32_t length : {-8, -2147483647}) {
    DemoWriter demo = Started(43);
    std::string bytes = demo.bytes();
    bytes += std::string("\x10\x00\x00\x00", 4);
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((length >> (8 * i)) & 0xFF);
    bytes += std::string("\x07\x00\x00", 3);
    ReaderHarness h;
    EXPECT_EQ(h.Read(bytes), "0") << length;
    ExpectParsingError(h, "Parsing Error (PacketSize) at Packet Nr: 3");
  }
}

// A demo cut off at any byte after its game state, inside a record header or inside a
// message, ends the walk there as the end of the demo does.
TEST(RecordWalk, DemoCutOffAtItsEndReadsAsFarAsTheFileGoes) {
  for (int protocol : {43, 48}) {
    DemoWriter demo(protocol);
    demo.AddGameState(TypicalServerInfo(protocol), TypicalSystemInfo(),
                      {{0, "n\\Visor\\t\\0\\model\\visor"}});
    struct Record {
      size_t start;
      size_t end;
      uint32_t seconds;  // the play time once its snapshot's server time is read
    };
    std::vector<Record> records;
    const auto add = [&](uint32_t serverTime, std::initializer_list<std::string_view> commands) {
      const size_t start = demo.bytes().size();
      demo.AddCommands(serverTime, commands);
      records.push_back({start, demo.bytes().size(), (serverTime - 10000) / 1000});
    };
    add(10000, {});
    add(20000, {"chat \"Visor: gg\""});
    add(30000, {});
    add(40000, {"cs 6 \"12\"", "chat \"bye\""});
    const std::string whole = demo.bytes();
    for (size_t cut = records[0].start; cut < whole.size(); ++cut) {
      ReaderHarness h;
      const std::string result = h.Read(whole.substr(0, cut), false);
      uint32_t seconds = 0;
      for (const Record& r : records) {
        // Nine snapshot bytes the reader skips follow the server time.
        if (cut >= r.end - 9) seconds = r.seconds;
      }
      EXPECT_EQ(result, "1") << protocol << " cut at " << cut;
      EXPECT_TRUE(h.messages.shown.empty()) << cut;
      EXPECT_EQ(h.state().MapMessage, "Temple of Retribution");
      ASSERT_EQ(h.state().Players.size(), 1u);
      EXPECT_EQ(h.state().Players[0].Name, "Visor");
      EXPECT_EQ(h.state().InfoString, TypicalServerInfo(protocol) + TypicalSystemInfo() + "\\");
      const std::string expected =
          "00:00:" + std::string(seconds < 10 ? "0" : "") + std::to_string(seconds);
      EXPECT_EQ(h.state().Playtime, expected) << protocol << " cut at " << cut;
      EXPECT_EQ(h.state().MatchLog.back(), "^4" + expected + " ^7Demo end.");
    }
  }
}

TEST(RecordWalk, ReadsPastTheEndNameTheirField) {
  struct Case {
    std::string tail;  // the last message, cut short
    std::string text;
  };
  const std::vector<Case> cases = {
      {std::string("\x07\xcd\xab\x00\x00\x10", 6), "Parsing Error (ServerTime) at Packet Nr: 3"},
      {std::string("\x05\x09\x00", 3), "Parsing Error (SERVERCOMMAND,cmdnr) at Packet Nr: 3"},
      {std::string("\x05\x09\x00\x00\x00print \"x\"", 14),
       "Parsing Error (SERVERCOMMAND,text) at Packet Nr: 3"},
      {std::string("\x02\x00\x00\x00\x00", 5),
       "Parsing Error (GAMESTATE,gamestate_cmd) at Packet Nr: 3"},
      {std::string("\x02\x00\x00\x00\x00\x03\x02", 7),
       "Parsing Error (GAMESTATE,gamestate_index) at Packet Nr: 3"},
      {std::string("\x02\x00\x00\x00\x00\x03\x02\x00music", 12),
       "Parsing Error (GAMESTATE,gamestate_string) at Packet Nr: 3"},
  };
  for (const Case& c : cases) {
    DemoWriter demo = Started(43);
    demo.AddRecord(3000, c.tail);
    ReaderHarness h;
    EXPECT_EQ(h.Read(demo.bytes()), "0") << c.text;
    ExpectParsingError(h, c.text);
  }
}

TEST(RecordWalk, OperationsStayInsideTheirMessage) {
  struct Case {
    std::string message;
    std::string text;
  };
  const std::vector<Case> cases = {
      {std::string("\x07\xcd\xab\x00\x00\x10", 6), "Parsing Error (ServerTime) at Packet Nr: 3"},
      {std::string("\x05\x09\x00\x00\x00print", 10),
       "Parsing Error (SERVERCOMMAND,text) at Packet Nr: 3"},
      {std::string("\x02\x00\x00\x00\x00\x03\x02\x00music", 12),
       "Parsing Error (GAMESTATE,gamestate_string) at Packet Nr: 3"},
  };
  for (const Case& c : cases) {
    DemoWriter demo = Started(43);
    demo.AddRecord(3000, c.message);
    demo.AddSnapshot(12000).End();  // holds NULs and numbers the cut operations could take
    ReaderHarness h;
    EXPECT_EQ(h.Read(demo.bytes()), "0") << c.text;
    ExpectParsingError(h, c.text);
  }
}

TEST(RecordWalk, TwoGameStatesEndTheGameAndKeepTheFirstInfo) {
  DemoWriter demo = Started(43);
  demo.AddCommands(12000, {"cs 13 \"10000\"", "chat \"before\""});
  demo.Add(demo.Message()
               .GameState(50)
               .ConfigString(0, test::InfoText({{"mapname", "q3dm17"}, {"protocol", "43"}}))
               .ConfigString(1, test::InfoText({{"sv_pure", "0"}}))
               .ConfigString(2, "music/second.wav")
               .ConfigString(3, "The Longest Yard")
               .EndGameState());
  demo.AddCommands(20000, {"chat \"after\"", "print \"fraglimit hit\""});
  demo.End();
  ReaderHarness h;
  EXPECT_EQ(h.Read(demo.bytes()), "1");
  const DemoReadState& s = h.state();
  EXPECT_EQ(s.MapMusic, "music/second.wav");
  EXPECT_EQ(s.MapMessage, "The Longest Yard");
  EXPECT_EQ(s.InfoString, TypicalServerInfo(43) + TypicalSystemInfo() + "\\");
  EXPECT_EQ(GetInfoValue(s, "mapname"), "q3dm7");
  EXPECT_TRUE(Logged(s, "^200:00:00 ^7before"));
  // Commands are stamped with the time of the snapshot before them; the game has ended, so
  // the time counts from the demo start and a hit limit ends nothing more.
  EXPECT_TRUE(Logged(s, "^400:00:02 ^7after"));
  EXPECT_TRUE(Logged(s, "^400:00:02 ^7fraglimit hit"));
  EXPECT_FALSE(Logged(s, "^400:00:02 ^7^1*** GAME END ***"));
}

TEST(RecordWalk, GameStateWithoutConfigurationStringsTakesNothing) {
  DemoWriter demo(43);
  // The server info is found by its text, wherever it stands.
  demo.AddRecord(1, std::string("\x02\x01\x00\x00\x00\x00", 6) + TypicalServerInfo(43) + '\0');
  demo.AddSnapshot(1000).End();
  ReaderHarness h;
  EXPECT_EQ(h.Read(demo.bytes()), "0");  // no system info
  EXPECT_EQ(h.state().MapMusic, "N/A");
  EXPECT_EQ(h.state().Protocol, 43);
  EXPECT_EQ(h.state().InfoString, TypicalServerInfo(43) + "\\");
  EXPECT_EQ(h.state().MatchLog.back(), "^400:00:00 ^7Demo end.");
}

TEST(RecordWalk, ConfigurationString608AndBadPlayerStringsInTheGameState) {
  DemoWriter demo(43);
  demo.Add(demo.Message()
               .GameState()
               .ConfigString(0, TypicalServerInfo(43))
               .ConfigString(1, TypicalSystemInfo())
               .ConfigString(608, "n\\Nobody\\t\\1")
               .ConfigString(545, "n\\Broken\\t\\x")
               .EndGameState());
  demo.End();
  ReaderHarness h;
  EXPECT_EQ(h.Read(demo.bytes()), "1");
  ASSERT_EQ(h.state().Players.size(), 2u);
  EXPECT_EQ(h.state().Players[0].Name, "Broken");  // sorted before the empty slot
  EXPECT_TRUE(Logged(h.state(), "^400:00:00 ^7^1UPDATE PLAYER ERROR!"));

  ReaderHarness quiet;
  quiet.Read(demo.bytes(), false);
  EXPECT_FALSE(Logged(quiet.state(), "^400:00:00 ^7^1UPDATE PLAYER ERROR!"));
}

TEST(RecordWalk, EachCommandNumberIsHandledOnce) {
  DemoWriter demo = Started(43);
  for (int i = 0; i < 3; ++i) {
    demo.Add(demo.Message().ServerCommand(7, "chat \"seven\"").Snapshot(11000 + i));
  }
  demo.Add(demo.Message()
               .ServerCommand(5, "chat \"five\"")
               .ServerCommand(7, "chat \"again\"")
               .ServerCommand(8, "chat \"eight\"")
               .ServerCommand(8, "chat \"eight again\"")
               .Snapshot(20000));
  demo.End();
  ReaderHarness h;
  EXPECT_EQ(h.Read(demo.bytes()), "1");
  EXPECT_EQ(h.state().MatchLog,
            (std::vector<std::string>{"^400:00:00 ^7Demo start.", "^400:00:00 ^7seven",
                                      "^400:00:01 ^7eight", "^400:00:10 ^7Demo end."}));
}

TEST(RecordWalk, ScoresSkipTheRestOfTheirMessage) {
  DemoWriter demo = Started(43);
  demo.Add(demo.Message()
               .ServerCommand(1, "scores 1 4 0 0 4 10 1 0 0")
               .ServerCommand(2, "chat \"unseen\"")
               .Snapshot(90000));
  demo.AddCommands(12000, {});
  demo.End();
  ReaderHarness h;
  EXPECT_EQ(h.Read(demo.bytes(), false), "1");
  EXPECT_EQ(h.state().Players[0].Score, 4);
  EXPECT_EQ(h.state().Playtime, "00:00:02");  // the snapshot after the scores was not taken
  EXPECT_TRUE(h.state().ScoresSeen);
}

TEST(RecordWalk, MatchLogStaysWithinTheDemoSizeAndASlack) {
  // One long name on many full scoreboards would repeat it 64 times a scoreboard.
  const std::string name(8 * 1024, 'N');
  DemoWriter demo(43);
  demo.AddGameState(TypicalServerInfo(43), TypicalSystemInfo(), {{0, "n\\" + name}});
  std::string scores = "scores 64 0 0";
  for (int i = 0; i < 64; ++i) scores += " 0 1 2 3 0 0";
  for (int i = 0; i < 40; ++i) demo.AddCommands(1000 + i, {scores});
  demo.End();
  ReaderHarness h;
  EXPECT_EQ(h.Read(demo.bytes()), "1");
  size_t bytes = 0;
  for (const std::string& line : h.state().MatchLog) bytes += line.size() + sizeof(std::string);
  EXPECT_LE(bytes, demo.bytes().size() + kMatchLogSlack);
  // The first scoreboard is whole (no snapshot came before it).
  ASSERT_GT(h.state().MatchLog.size(), 66u);
  EXPECT_EQ(h.state().MatchLog[1], "^400:00:00 ^1SCORE   PING   TIME   NAME");
  EXPECT_TRUE(h.state().MatchLog[65] == "         ^71       2      3      " + name);
}

TEST(ServerInfoSearch, ProtocolValueRules) {
  struct Case {
    std::string protocol;
    int32_t expected;
  };
  for (const Case& c : std::vector<Case>{{"4x", 0}, {"100", 10}, {"7", 0}, {"", 0}}) {
    DemoWriter demo(43);
    demo.AddGameState(test::InfoText({{"protocol", c.protocol}, {"g_gametype", "4"}}),
                      TypicalSystemInfo());
    demo.AddSnapshot(1000).End();
    ReaderHarness h;
    const std::string result = h.Read(demo.bytes());
    EXPECT_EQ(h.state().Protocol, c.expected) << c.protocol;
    EXPECT_EQ(h.state().GameType, "4");
    if (c.expected == 0) {
      EXPECT_EQ(result, "0");  // no record walked, so no system info
      EXPECT_TRUE(h.state().MatchLog.empty());
    } else {
      EXPECT_EQ(result, "1");
    }
  }
}

TEST(ServerInfoSearch, MissingGametypeAndMissingServerInfo) {
  DemoWriter demo(43);
  demo.AddGameState(test::InfoText({{"protocol", "43"}}), TypicalSystemInfo()).End();
  ReaderHarness h;
  EXPECT_EQ(h.Read(demo.bytes()), "1");
  EXPECT_EQ(h.state().GameType, "N/A");

  DemoWriter none(43);
  none.AddGameState(test::InfoText({{"mapname", "q3dm1"}}), TypicalSystemInfo()).End();
  ReaderHarness h2;
  EXPECT_EQ(h2.Read(none.bytes()), "0");
  EXPECT_EQ(h2.state().InfoString, "\\");
  EXPECT_TRUE(h2.state().MatchLog.empty());
}

TEST(ServerInfoSearch, StartsAtOffsetTwelve) {
  // "protocol\43" inside the first twelve bytes is not seen; the search then finds nothing.
  std::string bytes = "protocol\\43\\";
  bytes += std::string(20, 'x');
  ReaderHarness h;
  EXPECT_EQ(h.Read(bytes), "0");
  EXPECT_EQ(h.state().Protocol, 0);
  EXPECT_EQ(h.state().InfoString, "\\");
}

}  // namespace
}  // namespace rw
