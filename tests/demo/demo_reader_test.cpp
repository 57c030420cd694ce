#include "demo/demo_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>

#include "demo/info_text.h"
#include "demo/time_text.h"
#include "support/demo_writer.h"
#include "support/test_files.h"

namespace rw {
namespace {

using test::ReaderHarness;
using test::TestDataPath;

// Expected values below come from `strings`, `xxd` and a few lines of python (struct) run over
// the files, never from this reader.

TEST(RealDemos, TeamDeathmatchOfTheOldGeneration) {
  ReaderHarness h;
  ASSERT_EQ(h.reader.GetFromDemo(TestDataPath("demos/tdm.dm3"), "", true), "1");
  EXPECT_TRUE(h.messages.shown.empty());
  const DemoReadState& s = h.state();
  EXPECT_EQ(s.Protocol, 43);
  EXPECT_EQ(s.GameType, "3");
  EXPECT_EQ(GetInfoValue(s, "mapname"), "q3dm7");
  EXPECT_EQ(GetInfoValue(s, "sv_hostname"), "East Teamplay.Net Teams 2");
  EXPECT_EQ(GetInfoValue(s, "version"), "Q3 1.15c win-x86 Jan 13 2000");
  EXPECT_EQ(GetInfoValue(s, "timelimit"), "20");
  EXPECT_EQ(GetInfoValue(s, "fraglimit"), "0");
  EXPECT_EQ(GetInfoValue(s, "capturelimit"), "15");
  EXPECT_EQ(GetInfoValue(s, "sv_maxclients"), "14");
  EXPECT_EQ(GetInfoValue(s, "sv_serverid"), "630498015");  // from the system info
  EXPECT_EQ(s.InfoString.back(), '\\');
  EXPECT_EQ(s.MapMusic, "music\\sonic5.wav");
  EXPECT_EQ(s.MapMessage, "Temple of Retribution (TMP)");
  EXPECT_EQ(s.SizeText, "2.53 MB");   // 2657087 bytes
  EXPECT_EQ(s.Playtime, "00:21:49");  // snapshots 104454250 to 105763250
  EXPECT_EQ(s.Score1, "117");
  EXPECT_EQ(s.Score2, "109");
  EXPECT_TRUE(s.ScoresSeen);

  // Ten player strings in the game state (clients 0, 1, 3 to 9, 12); the last scoreboard
  // orders the eight players, the two spectators and three empty slots follow.
  ASSERT_EQ(s.Players.size(), 13u);
  const std::vector<std::pair<std::string, int>> leaders = {{"^1nb^7-^1sir^7ex", 38},
                                                            {"^14^7ReVeNaNt", 33},
                                                            {"^14^7Power3D", 31},
                                                            {"^14^7Cloak", 28},
                                                            {"^.^3nb^^0gustoff", 27},
                                                            {"^14^7r00t", 25},
                                                            {"^1nb^&^7-^1det^7hstalker", 24},
                                                            {"^1nb^7-^1bus^7tanut", 20}};
  for (size_t i = 0; i < leaders.size(); ++i) {
    EXPECT_EQ(s.Players[i].Name, leaders[i].first) << i;
    EXPECT_EQ(s.Players[i].Score, leaders[i].second) << i;
    EXPECT_EQ(s.Players[i].Rank, static_cast<int>(i)) << i;
    EXPECT_EQ(s.Players[i].Time, 20) << i;
  }
  EXPECT_EQ(s.Players[0].Team, 2);
  EXPECT_EQ(s.Players[0].Model, "lucy/blue");
  EXPECT_EQ(s.Players[1].Team, 1);
  // The spectators carry no skill, so they come before the empty slots.
  std::vector<std::string> spectators = {s.Players[8].Name, s.Players[9].Name};
  std::sort(spectators.begin(), spectators.end());
  EXPECT_EQ(spectators, (std::vector<std::string>{"QTV-TEAMPLAY-NET", "^4QIL^3-^7trixie"}));
  EXPECT_EQ(s.Players[8].Team, 3);
  EXPECT_EQ(s.Players[8].Score, kNoScore);
  for (size_t i = 10; i < 13; ++i) EXPECT_EQ(s.Players[i].Name, "") << i;

  ASSERT_GE(s.MatchLog.size(), 2u);
  EXPECT_EQ(s.MatchLog.front(), "^400:00:00 ^7Demo start.");
  EXPECT_EQ(s.MatchLog.back(), "^400:21:49 ^7Demo end.");
  const auto has = [&s](const std::string& line) {
    return std::find(s.MatchLog.begin(), s.MatchLog.end(), line) != s.MatchLog.end();
  };
  // cs 5 "104552050" at 104547050, cs 13 "104552050" at 104552050; "Timelimit hit." at
  // 105752000, 1200 s after the level start.
  EXPECT_TRUE(has("^400:01:33 ^7Match will be restarted in 5"));
  EXPECT_TRUE(has("^400:01:38 ^7^7-> ^200:00:00 ^1*** GAME START ***"));
  EXPECT_TRUE(has("^200:20:00 ^7Timelimit hit."));
  EXPECT_TRUE(has("^200:20:00 ^7^1*** GAME END ***"));
  EXPECT_TRUE(has("         ^1TEAMSCORE ^1117^7:^4109"));
}

TEST(RealDemos, DuelOfTheNewGenerationStartsAndEndsItsGameWithStrings21And22) {
  ReaderHarness h;
  ASSERT_EQ(h.reader.GetFromDemo(TestDataPath("demos/duel.dm_48"), "", true), "1");
  EXPECT_TRUE(h.messages.shown.empty());
  const DemoReadState& s = h.state();
  EXPECT_EQ(s.Protocol, 48);
  EXPECT_EQ(s.GameType, "1");
  EXPECT_EQ(GetInfoValue(s, "mapname"), "ztn3tourney1");
  EXPECT_EQ(GetInfoValue(s, "sv_hostname"), "CPL Europe Tourney #19");
  EXPECT_EQ(GetInfoValue(s, "version"), "Q3 1.27g linux-i386 Dec 18 2000");
  EXPECT_EQ(GetInfoValue(s, "gameversion"), "OSP v0.99t");
  EXPECT_EQ(GetInfoValue(s, "timelimit"), "15");
  EXPECT_EQ(GetInfoValue(s, "fraglimit"), "0");
  EXPECT_EQ(GetInfoValue(s, "capturelimit"), "0");
  EXPECT_EQ(GetInfoValue(s, "sv_maxclients"), "6");
  EXPECT_EQ(s.MapMusic, "music\\fla22k_03.wav");
  EXPECT_EQ(s.MapMessage, "Blood Run Tourney by ztn");
  EXPECT_EQ(s.SizeText, "1.27 MB");   // 1335016 bytes
  EXPECT_EQ(s.Playtime, "00:15:17");  // snapshots 37291550 to 38208550
  // The last scoreboard comes after the game end and carries 0 and 0 as its totals.
  EXPECT_EQ(s.Score1, "0");
  EXPECT_EQ(s.Score2, "0");

  ASSERT_EQ(s.Players.size(), 3u);
  EXPECT_EQ(s.Players[0].Name, "^0cK^3-^7fatal^01^7ty");
  EXPECT_EQ(s.Players[0].Score, 14);
  EXPECT_EQ(s.Players[0].Accuracy, 20);
  EXPECT_EQ(s.Players[0].Impressives, 2);
  EXPECT_EQ(s.Players[0].Wins, 1);  // cs 544 after the game end
  EXPECT_EQ(s.Players[0].HeadModel, "sarge");
  EXPECT_EQ(s.Players[1].Name, "^2c58^3|^2PELE ^3[^2PK^3]^7");
  EXPECT_EQ(s.Players[1].Score, 3);
  EXPECT_EQ(s.Players[1].Accuracy, 18);
  EXPECT_EQ(s.Players[1].Losses, 1);
  EXPECT_EQ(s.Players[2].Name, "CPL Spec");
  EXPECT_EQ(s.Players[2].Team, 3);
  EXPECT_EQ(s.Players[2].Score, kNoScore);

  EXPECT_EQ(s.MatchLog.front(), "^400:00:00 ^7Demo start.");
  EXPECT_EQ(s.MatchLog.back(), "^400:15:17 ^7Demo end.");
  const auto has = [&s](const std::string& line) {
    return std::find(s.MatchLog.begin(), s.MatchLog.end(), line) != s.MatchLog.end();
  };
  // cs 21 "37301450" at 37301450; "Timelimit hit." at 38201400.
  EXPECT_TRUE(has("^400:00:10 ^7^7-> ^200:00:00 ^1*** GAME START ***"));
  EXPECT_TRUE(has("^200:15:00 ^7Timelimit hit."));
  EXPECT_TRUE(has("^200:15:00 ^7^1*** GAME END ***"));
  EXPECT_TRUE(has("         ^714      0      15     ^0cK^3-^7fatal^01^7ty"));
  EXPECT_TRUE(has("         ^7SPECT   0      13     CPL Spec"));
}

TEST(RealDemos, WithoutALogOnlyTheFixedLinesRemain) {
  ReaderHarness h;
  ASSERT_EQ(h.reader.GetFromDemo(TestDataPath("demos/tdm.dm3"), "", false), "1");
  EXPECT_EQ(h.state().MatchLog,
            (std::vector<std::string>{"^400:00:00 ^7Demo start.", "^400:21:49 ^7Demo end."}));
  EXPECT_EQ(h.state().Score1, "117");
}

// Cut points inside messages of a real demo, found by walking its record headers (4-byte
// sequence, 4-byte length) by hand; a cut inside a header moves past it.
std::vector<size_t> CutsInsideMessages(const std::string& bytes) {
  std::vector<size_t> starts;
  for (size_t pos = 0; pos + 8 <= bytes.size();) {
    starts.push_back(pos);
    uint32_t length = 0;
    std::memcpy(&length, bytes.data() + pos + 4, 4);
    pos += 8 + length;
  }
  std::vector<size_t> cuts;
  for (double share : {0.05, 0.31, 0.5, 0.77, 0.999}) {
    auto cut = static_cast<size_t>(static_cast<double>(bytes.size()) * share);
    const size_t start = *(std::upper_bound(starts.begin(), starts.end(), cut) - 1);
    if (cut < start + 8) cut = start + 9;
    cuts.push_back(cut);
  }
  return cuts;
}

std::vector<std::string> PlayerNames(const DemoReadState& state) {
  std::vector<std::string> names;
  for (const TPlayer& player : state.Players) names.push_back(player.Name);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(RealDemos, DemoCutOffAtItsEndKeepsWhatTheWholeDemoShows) {
  for (const char* name : {"demos/tdm.dm3", "demos/duel.dm_48"}) {
    ReaderHarness whole;
    ASSERT_EQ(whole.reader.GetFromDemo(TestDataPath(name), "", false), "1");
    const DemoReadState& full = whole.state();
    const std::optional<std::string> bytes = whole.files.ReadFile(TestDataPath(name));
    ASSERT_TRUE(bytes);
    for (const size_t cut : CutsInsideMessages(*bytes)) {
      ReaderHarness h;
      EXPECT_EQ(h.Read(bytes->substr(0, cut), false), "1") << name << " cut at " << cut;
      EXPECT_TRUE(h.messages.shown.empty()) << name << " cut at " << cut;
      const DemoReadState& s = h.state();
      EXPECT_EQ(s.InfoString, full.InfoString) << name << " cut at " << cut;
      EXPECT_EQ(s.GameType, full.GameType);
      EXPECT_EQ(s.MapMessage, full.MapMessage);
      EXPECT_EQ(PlayerNames(s), PlayerNames(full)) << name << " cut at " << cut;
      EXPECT_GT(SecondsFromTime(s.Playtime), 0u) << name << " cut at " << cut;
      EXPECT_LE(SecondsFromTime(s.Playtime), SecondsFromTime(full.Playtime));
      EXPECT_EQ(s.MatchLog.back(), "^4" + s.Playtime + " ^7Demo end.");
    }
  }
}

// The bundled samples, checked against what samples/make_demo_samples.py puts in them.
std::string SamplePath(std::string_view name) {
  return std::string(REELWRIGHT_SOURCE_DIR) + "/samples/demos/" + std::string(name);
}

TEST(BundledSamples, TeamDeathmatchOfProtocol43) {
  ReaderHarness h;
  ASSERT_EQ(h.reader.GetFromDemo(SamplePath("sample_tdm.dm3"), "", true), "1");
  EXPECT_TRUE(h.messages.shown.empty());
  const DemoReadState& s = h.state();
  EXPECT_EQ(s.Protocol, 43);
  EXPECT_EQ(GetInfoValue(s, "mapname"), "q3dm7");
  EXPECT_EQ(s.GameType, "3");
  EXPECT_EQ(s.Score1, "17");
  EXPECT_EQ(s.Score2, "8");
  EXPECT_EQ(s.Playtime, "00:03:01");  // 1810 snapshots 100 ms apart
  ASSERT_EQ(s.Players.size(), 6u);
  EXPECT_EQ(s.Players[0].Name, "^1Red^7Baron");
  EXPECT_EQ(s.Players[0].Score, 11);
  EXPECT_EQ(s.Players[3].Name, "^2Grun^7t");
  EXPECT_EQ(s.Players[4].Name, "^7Watcher");
  EXPECT_EQ(s.MatchLog.front(), "^400:00:00 ^7Demo start.");
  EXPECT_EQ(s.MatchLog.back(), "^400:03:01 ^7Demo end.");
  EXPECT_NE(std::find(s.MatchLog.begin(), s.MatchLog.end(),
                      "^400:00:05 ^7^7-> ^200:00:00 ^1*** GAME START ***"),
            s.MatchLog.end());
}

TEST(BundledSamples, FreeForAllOfProtocol48) {
  ReaderHarness h;
  ASSERT_EQ(h.reader.GetFromDemo(SamplePath("sample_ffa.dm_48"), "", true), "1");
  const DemoReadState& s = h.state();
  EXPECT_EQ(s.Protocol, 48);
  EXPECT_EQ(GetInfoValue(s, "mapname"), "q3dm17");
  EXPECT_EQ(s.GameType, "0");
  ASSERT_EQ(s.Players.size(), 4u);
  const std::vector<std::pair<std::string, int>> order = {
      {"^1Anarki", 10}, {"^2Xaero^7!", 9}, {"^3Doom^7Guy", 3}, {"^5Hunter", 1}};
  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(s.Players[i].Name, order[i].first);
    EXPECT_EQ(s.Players[i].Score, order[i].second);
  }
  EXPECT_EQ(s.Players[0].Accuracy, 35);
  EXPECT_EQ(s.Players[0].Wins, 1);
  EXPECT_EQ(s.Players[3].Skill, 4.0);
  EXPECT_EQ(std::count_if(
                s.MatchLog.begin(), s.MatchLog.end(),
                [](const std::string& line) { return line.ends_with(" ^7^1*** GAME END ***"); }),
            1);
}

TEST(LoadingDemos, EmptyFileGivesTheEmptyResult) {
  ReaderHarness h;
  EXPECT_EQ(h.Read(""), "0");
  const DemoReadState& s = h.state();
  EXPECT_EQ(s.SizeText, "0 KB");
  EXPECT_EQ(s.InfoString, "\\");
  EXPECT_EQ(s.Playtime, "00:00:00");
  EXPECT_TRUE(s.MatchLog.empty());
  EXPECT_TRUE(s.Players.empty());
  EXPECT_TRUE(h.messages.shown.empty());
}

TEST(LoadingDemos, MissingFileGivesTheEmptyResultWithoutAMessage) {
  ReaderHarness h;
  EXPECT_EQ(h.reader.GetFromDemo(h.PathOf("none.dm3"), "", true), "0");
  EXPECT_EQ(h.state().SizeText, "0 KB");
  EXPECT_EQ(h.state().InfoString, "\\");
  EXPECT_EQ(h.state().RecordedText, "");
  EXPECT_TRUE(h.state().MatchLog.empty());
  EXPECT_TRUE(h.messages.shown.empty());
}

TEST(LoadingDemos, FileOverTheSizeLimitIsUnreadableWithoutAMessage) {
  ReaderHarness h;
  test::DemoWriter demo(43);
  demo.AddGameState(test::TypicalServerInfo(43), test::TypicalSystemInfo()).AddSnapshot(5).End();
  const std::string path = h.PathOf("long.dm3");
  test::WriteBytes(path, demo.bytes());
  ASSERT_EQ(h.reader.GetFromDemo(path, "", false), "1");
  // A sparse tail: the file claims 300 MiB without taking the disk space.
  std::filesystem::resize_file(path, uint64_t{300} << 20);
  EXPECT_EQ(h.reader.GetFromDemo(path, "", false), "0");
  EXPECT_EQ(h.state().SizeText, "300.00 MB");
  EXPECT_EQ(h.state().InfoString, "\\");
  EXPECT_TRUE(h.messages.shown.empty());
}

// A file system whose reads fail, or run out of memory.
class FailingReads : public FakeFileSystem {
 public:
  explicit FailingReads(bool outOfMemory) : outOfMemory_(outOfMemory) {}
  bool ReadFileInto(const std::string&, uint64_t, ReadBuffer&) override {
    if (outOfMemory_) throw std::bad_alloc();
    return false;
  }

 private:
  bool outOfMemory_;
};

TEST(LoadingDemos, UnreadableFileKeepsItsSize) {
  test::TempDir folder;
  const std::string path = folder.Join("locked.dm3");
  test::WriteBytes(path, std::string(4096, 'x'));
  FakeMessages messages;
  FixedLocale locale;
  FailingReads files(false);
  DemoReader reader(messages, locale, files);
  EXPECT_EQ(reader.GetFromDemo(path, "", true), "0");
  EXPECT_EQ(reader.State().SizeText, "4 KB");
  EXPECT_EQ(reader.State().InfoString, "\\");
  EXPECT_TRUE(reader.State().MatchLog.empty());
  EXPECT_TRUE(messages.shown.empty());
}

TEST(LoadingDemos, BlockThatCannotBeAllocatedIsReportedToTheUserAndTheCaller) {
  test::TempDir folder;
  const std::string path = folder.Join("huge.dm3");
  test::WriteBytes(path, std::string(2048, 'x'));
  FakeMessages messages;
  FixedLocale locale;
  FailingReads files(true);
  DemoReader reader(messages, locale, files);
  EXPECT_EQ(reader.GetFromDemo(path, "", true), "0");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "Debug");
  EXPECT_EQ(messages.shown[0].text, "Memory Allocation Error in proc GetFromDemo");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kError);
  EXPECT_TRUE(reader.RanOutOfMemory());
  EXPECT_EQ(reader.State().SizeText, "2 KB");
  EXPECT_TRUE(reader.State().MatchLog.empty());
}

TEST(LoadingDemos, RecordedTextAndSizeTextComeFromTheFile) {
  ReaderHarness h;
  const std::string path = h.PathOf("dated.dm3");
  test::WriteBytes(path, std::string(1572864, '\0'));
  // 2001-05-03 17:04:08 local time.
  ASSERT_TRUE(h.files.SetModifiedDosTime(
      path, (21u << 25) | (5u << 21) | (3u << 16) | (17u << 11) | (4u << 5) | 4u));
  EXPECT_EQ(h.reader.GetFromDemo(path, "", false), "0");
  EXPECT_EQ(h.state().SizeText, "1.50 MB");
  EXPECT_EQ(h.state().RecordedText, "2001-05-03 17:04:08");
}

TEST(LoadingDemos, EachReadStartsFromTheResetState) {
  ReaderHarness h;
  ASSERT_EQ(h.reader.GetFromDemo(TestDataPath("demos/duel.dm_48"), "", true), "1");
  EXPECT_EQ(h.Read(""), "0");
  EXPECT_EQ(h.state().Protocol, 0);
  EXPECT_EQ(h.state().MapMessage, "N/A");
  EXPECT_EQ(h.state().GameType, "");
  EXPECT_FALSE(h.state().ScoresSeen);
  EXPECT_TRUE(h.state().Players.empty());
}

}  // namespace
}  // namespace rw
