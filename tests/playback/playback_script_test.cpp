#include "playback/playback_script.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>

#include "host/fake/fake_host.h"
#include "support/test_files.h"

namespace rw {
namespace {

using Values = std::map<std::string, std::string>;

// Fills the capital-letter placeholders of a line pattern; everything else stays as written.
std::string Fill(std::string_view pattern, const Values& values) {
  std::string line;
  std::size_t at = 0;
  while (at < pattern.size()) {
    if (std::isupper(static_cast<unsigned char>(pattern[at]))) {
      std::size_t end = at;
      while (end < pattern.size() && std::isupper(static_cast<unsigned char>(pattern[end]))) ++end;
      const std::string word(pattern.substr(at, end - at));
      // A capital that begins a word in lower case ("Demo") is text, not a placeholder.
      const bool text =
          end < pattern.size() && std::islower(static_cast<unsigned char>(pattern[end]));
      const auto found = text ? values.end() : values.find(word);
      line += found != values.end() ? found->second : word;
      at = end;
    } else {
      line += pattern[at++];
    }
  }
  return line + "\r\n";
}

constexpr std::string_view kLowStatePattern =
    "set NAME \"cl_freezedemo F;set d_p vstr P;timescale T;set d_f vstr UP;set d_s vstr DOWN;"
    "set d_s_t vstr SLOW;set d_f_t vstr FAST;vstr actualplaylist;vstr actualdemo;echo TEXT\"";
constexpr std::string_view kHighStatePattern =
    "set NAME \"cl_freezedemo F;set d_p vstr P;timescale T;set d_f vstr UP;set d_s vstr DOWN;"
    "set d_f_t vstr FAST;set d_s_t vstr SLOW;vstr actualplaylist;vstr actualdemo;echo TEXT\"";
constexpr std::string_view kTopStatePattern =
    "set NAME \"cl_freezedemo F;set d_p vstr P;timescale T; set d_f vstr UP; set d_s vstr DOWN; "
    "set d_f_t vstr FAST; set d_s_t vstr SLOW;vstr actualplaylist;vstr actualdemo;echo TEXT\"";

std::string Two(int n) {
  return (n < 10 ? "ds0" : "ds") + std::to_string(n);
}

std::string ExpectedSpeedBlock() {
  const std::map<std::string, std::vector<std::string>> table = {
      {"ds00", {"1", "ds10", "0.1", "ds01", "ds00", "ds04", "ds10", "^4PAUSE"}},
      {"ds04", {"0", "ds00", "0.4", "ds05", "ds03", "ds04", "ds10", "^1SLOWMOTION"}},
      {"ds10", {"0", "ds00", "1.0", "ds11", "ds09", "ds04", "ds25", "^2NORMALSPEED"}},
      {"ds25", {"0", "ds00", "2.5", "ds26", "ds24", "ds10", "ds25", "^3FASTFORWARD"}},
      {"ds40", {"0", "ds00", "4.0", "ds50", "ds39", "ds10", "ds10", "SPEED 4.0"}},
      {"ds50", {"0", "ds00", "5.0", "ds60", "ds39", "ds10", "ds10", "SPEED 5.0"}},
      {"ds60", {"0", "ds00", "6.0", "ds70", "ds39", "ds10", "ds10", "SPEED 6.0"}},
      {"ds70", {"0", "ds00", "7.0", "ds80", "ds39", "ds10", "ds10", "SPEED 7.0"}},
      {"ds80", {"0", "ds00", "8.0", "ds90", "ds39", "ds10", "ds10", "SPEED 8.0"}},
      {"ds90", {"0", "ds00", "9.0", "dsmax", "ds39", "ds_s", "ds10", "SPEED 9.0"}},
      {"dsmax", {"0", "ds00", "100", "dsmax", "ds39", "ds_s", "ds10", "^4MAXSPEED"}},
  };
  std::vector<std::string> order;
  for (int n = 0; n <= 40; ++n) order.push_back(Two(n));
  for (const char* name : {"ds50", "ds60", "ds70", "ds80", "ds90", "dsmax"}) order.push_back(name);

  std::string block = "//Reelwright Play List, Version 1.32\r\n";
  for (std::size_t i = 0; i < order.size(); ++i) {
    const std::string& name = order[i];
    Values v;
    v["NAME"] = name;
    if (const auto row = table.find(name); row != table.end()) {
      const std::vector<std::string>& r = row->second;
      v["F"] = r[0], v["P"] = r[1], v["T"] = r[2], v["UP"] = r[3], v["DOWN"] = r[4];
      v["SLOW"] = r[5], v["FAST"] = r[6], v["TEXT"] = r[7];
    } else {
      const int n = static_cast<int>(i);
      const std::string t = std::to_string(n / 10) + "." + std::to_string(n % 10);
      v["F"] = "0", v["P"] = "ds00", v["T"] = t, v["UP"] = Two(n + 1), v["DOWN"] = Two(n - 1);
      v["SLOW"] = "ds10", v["FAST"] = "ds10", v["TEXT"] = "SPEED " + t;
    }
    const std::string_view pattern = name == "ds90" || name == "dsmax" ? kTopStatePattern
                                     : i <= 17                         ? kLowStatePattern
                                                                       : kHighStatePattern;
    block += Fill(pattern, v);
  }
  block +=
      "set ds_s \"vstr ds04\"\r\nset ds_f \"vstr ds25\"\r\nset d_f \"vstr ds11\"\r\n"
      "set d_s \"vstr ds09\"\r\nset d_s_t \"vstr ds_s\"\r\nset d_f_t \"vstr ds_f\"\r\n"
      "set d_p \"vstr ds00\"\r\n";
  return block;
}

constexpr std::string_view kBuiltInBinds =
    "bind kp_plus \"vstr d_f\"\r\nbind kp_minus \"vstr d_s\"\r\nbind kp_enter \"vstr d_f_t\"\r\n"
    "bind kp_del \"vstr d_s_t\"\r\nbind kp_5 \"vstr nextdemo\"\r\nbind pause \"vstr d_p\"";

constexpr std::string_view kBanner = "set actualplaylist echo ^5RWT ^51.32 ^5(rwttmp.rwt)\r\n";

std::string ExpectedSingle(bool timeDemo, bool loop, const std::string& play,
                           const std::string& display, std::string_view binds) {
  std::string script = ExpectedSpeedBlock() + std::string(kBanner);
  script += timeDemo ? "timedemo 1\r\n" : "timedemo 0\r\n";
  script += "set end quit\r\n";
  const Values v = {{"N", play}, {"D", display}};
  script +=
      loop
          ? Fill("set d1 \"demo N; set actualdemo echo Demo ^3D; vstr ds10; set nextdemo vstr d1\"",
                 v)
          : Fill(
                "set d1 \"demo N; set actualdemo echo Playing demo: ^3D; vstr ds10; set "
                "nextdemo vstr end\"",
                v);
  return script + "vstr d1\r\n" + std::string(binds) + "\r\n";
}

struct Entry {
  std::string play;
  std::string display;
  std::string file;
};

std::string ExpectedPlayList(bool timeDemo, bool loop, const std::vector<Entry>& entries,
                             std::string_view binds) {
  std::string script = ExpectedSpeedBlock() + std::string(kBanner);
  script += "//!Do not remove the following remark lines!\r\n";
  for (const Entry& e : entries) script += "// " + e.display + "\r\n";
  script += timeDemo ? "timedemo 1\r\n" : "timedemo 0\r\n";
  const int n = static_cast<int>(entries.size());
  for (int k = 1; k <= n; ++k) {
    const Values v = {{"K", std::to_string(k)},
                      {"NEXT", std::to_string(k + 1)},
                      {"COUNT", std::to_string(n)},
                      {"N", entries[k - 1].play},
                      {"F", entries[k - 1].file}};
    if (k < n) {
      script += Fill(
          "set dK \"demo N; set actualdemo echo Demo #^2K^7 of ^2COUNT^7: ^3F; vstr ds10; set "
          "nextdemo vstr dNEXT\"",
          v);
    } else if (loop) {
      script += Fill(
          "set dK \"demo N; set actualdemo echo Demo #^2K^7 of ^2COUNT^7: ^3F; vstr ds10; set "
          "nextdemo vstr d1\"",
          v);
    } else {
      script += "set end quit\r\n";
      script += Fill(
          "set dK \"demo N; set actualdemo echo Demo #^2K^7 of ^2COUNT^7: ^3F; vstr ds10; set "
          "nextdemo vstr end\"",
          v);
    }
  }
  return script + "vstr d1\r\n" + std::string(binds) + "\r\n";
}

std::vector<std::string> Records(const std::vector<Entry>& entries) {
  std::vector<std::string> records;
  for (const Entry& e : entries) records.push_back(e.play + "*" + e.display);
  return records;
}

ScriptOptions Options(bool timeDemo, bool loop, std::string_view binds = kBuiltInBinds) {
  return {timeDemo, loop, std::string(binds)};
}

TEST(SpeedBlock, HoldsFiftyFiveLinesAsWritten) {
  const std::string block = SpeedBlock();
  EXPECT_EQ(block, ExpectedSpeedBlock());
  EXPECT_EQ(std::count(block.begin(), block.end(), '\n'), 55);
  // A few lines typed out in full, apart from the patterns above.
  EXPECT_NE(block.find("\r\nset ds00 \"cl_freezedemo 1;set d_p vstr ds10;timescale 0.1;set d_f "
                       "vstr ds01;set d_s vstr ds00;set d_s_t vstr ds04;set d_f_t vstr ds10;vstr "
                       "actualplaylist;vstr actualdemo;echo ^4PAUSE\"\r\n"),
            std::string::npos);
  EXPECT_NE(block.find("\r\nset ds18 \"cl_freezedemo 0;set d_p vstr ds00;timescale 1.8;set d_f "
                       "vstr ds19;set d_s vstr ds17;set d_f_t vstr ds10;set d_s_t vstr ds10;vstr "
                       "actualplaylist;vstr actualdemo;echo SPEED 1.8\"\r\n"),
            std::string::npos);
  EXPECT_NE(block.find("\r\nset ds90 \"cl_freezedemo 0;set d_p vstr ds00;timescale 9.0; set d_f "
                       "vstr dsmax; set d_s vstr ds39; set d_f_t vstr ds10; set d_s_t vstr "
                       "ds_s;vstr actualplaylist;vstr actualdemo;echo SPEED 9.0\"\r\n"),
            std::string::npos);
}

TEST(SingleDemoScript, StagedDemoPlaysTheTemporaryName) {
  for (const bool loop : {false, true}) {
    for (const bool timeDemo : {false, true}) {
      EXPECT_EQ(SingleDemoScript(Options(timeDemo, loop), "final four.dm_48", std::nullopt),
                ExpectedSingle(timeDemo, loop, "rwttmp00.dm_48", "final four.dm_48", kBuiltInBinds))
          << loop << timeDemo;
    }
  }
  EXPECT_EQ(SingleDemoScript(Options(false, false), "q3dm17.dm3", std::nullopt),
            ExpectedSingle(false, false, "rwttmp00.dm3", "q3dm17.dm3", kBuiltInBinds));
}

TEST(SingleDemoScript, InPlaceDemoPlaysItsRelativeName) {
  for (const bool loop : {false, true}) {
    const std::string script =
        SingleDemoScript(Options(false, loop), "duel.dm_48", std::string_view("cups/duel.dm_48"));
    EXPECT_EQ(script, ExpectedSingle(false, loop, "cups/duel.dm_48", "duel.dm_48", kBuiltInBinds));
    // The single-demo script always defines the end, looping or not.
    EXPECT_NE(script.find("\r\nset end quit\r\n"), std::string::npos);
  }
}

std::vector<Entry> TwelveEntries() {
  std::vector<Entry> entries;
  for (int k = 0; k < 12; ++k) {
    const std::string number = (k < 10 ? "0" : "") + std::to_string(k);
    entries.push_back({"rwttmp" + number + ".dm_48", "/data/demos/match" + number + ".dm_48",
                       "match" + number + ".dm_48"});
  }
  // An in-place demo and an archive member among them.
  entries[3] = {"sub/inplace.dm_48", "/q3/baseq3/demos/sub/inplace.dm_48", "inplace.dm_48"};
  entries[6] = {"rwttmp06.dm_48", "\x01/data/packs/cup.zip/final.dm_48", "final.dm_48"};
  return entries;
}

TEST(PlayListScript, ChainsOneTwoAndTwelveEntries) {
  const std::vector<Entry> one = {{"rwttmp00.dm3", "/d/a.dm3", "a.dm3"}};
  const std::vector<Entry> two = {{"rwttmp00.dm3", "/d/a.dm3", "a.dm3"},
                                  {"SUB\\B", "/q3/baseq3/demos/sub/b.dm3", "b.dm3"}};
  for (const auto* entries : {&one, &two}) {
    for (const bool loop : {false, true}) {
      for (const bool timeDemo : {false, true}) {
        EXPECT_EQ(PlayListScript(Options(timeDemo, loop), Records(*entries)),
                  ExpectedPlayList(timeDemo, loop, *entries, kBuiltInBinds))
            << entries->size() << loop << timeDemo;
      }
    }
  }
  const std::vector<Entry> twelve = TwelveEntries();
  for (const bool loop : {false, true}) {
    EXPECT_EQ(PlayListScript(Options(true, loop), Records(twelve)),
              ExpectedPlayList(true, loop, twelve, kBuiltInBinds));
  }
}

TEST(PlayListScript, TwelveEntriesReadAsTheGameShowsThem) {
  const std::string script = PlayListScript(Options(false, false), Records(TwelveEntries()));
  EXPECT_NE(script.find("set d5 \"demo rwttmp04.dm_48; set actualdemo echo Demo #^25^7 of ^212^7: "
                        "^3match04.dm_48; vstr ds10; set nextdemo vstr d6\"\r\n"),
            std::string::npos);
  EXPECT_NE(script.find("\r\n// \x01/data/packs/cup.zip/final.dm_48\r\n"), std::string::npos);
  EXPECT_NE(script.find("^3final.dm_48; vstr ds10;"), std::string::npos);
  EXPECT_NE(script.find("set d12 \"demo rwttmp11.dm_48;"), std::string::npos);
  // Looping leaves out the end.
  const std::string looped = PlayListScript(Options(false, true), Records(TwelveEntries()));
  EXPECT_EQ(looped.find("set end quit"), std::string::npos);
}

TEST(PlayListScript, CarriesChangedKeys) {
  const std::string binds =
      "unbind pause\r\nbind kp_enter \"vstr d_f_t\"\r\nbind kp_del \"vstr d_s_t\"\r\n"
      "bind kp_plus \"vstr d_f\"\r\nbind kp_minus \"vstr d_s\"\r\nbind p \"vstr d_p\"\r\n"
      "bind kp_5 \"vstr nextdemo\"";
  const std::vector<Entry> two = {{"a", "/x/a.dm3", "a.dm3"}, {"b", "/x/b.dm3", "b.dm3"}};
  EXPECT_EQ(PlayListScript(Options(false, true, binds), Records(two)),
            ExpectedPlayList(false, true, two, binds));
}

// Names are UTF-8; the game shows its script as Windows-1252, where a character it lacks
// becomes "?".
TEST(ScriptWriters, ShowNamesInTheGamesCodePage) {
  const std::string single =
      SingleDemoScript(Options(false, false), "\xC3\xB1.dm_48", std::nullopt);
  EXPECT_NE(single.find("echo Playing demo: ^3\xF1.dm_48;"), std::string::npos);
  const std::string list = PlayListScript(
      Options(false, false), {"rwttmp00.dm3*/d/b\xC3\xA4r/\xD0\x94.dm3", "rwttmp01.dm3*/d/x.dm3"});
  EXPECT_NE(list.find("\r\n// /d/b\xE4r/?.dm3\r\n"), std::string::npos);
  EXPECT_NE(list.find("^3?.dm3; vstr ds10;"), std::string::npos);
}

TEST(PlayListScript, RemarkKeepsAtMost260Characters) {
  const std::string display = "/" + std::string(300, 'x') + ".dm3";
  const std::string script = PlayListScript(Options(false, false), {"rwttmp00.dm3*" + display});
  EXPECT_NE(script.find("\r\n// " + display.substr(0, 260) + "\r\n"), std::string::npos);
}

TEST(ScriptWriters, WriteIntoTheBaseFolderReplacingTheOldScript) {
  test::TempDir base;
  FakeFileSystem files;
  FakeMessages messages;
  test::WriteBytes(base.Join("rwttmp.rwt"), "old");
  ASSERT_TRUE(
      MakeTmpPlayList(files, messages, base.path(), Options(false, false), "a.dm3", std::nullopt));
  EXPECT_EQ(test::ReadBytes(base.Join("rwttmp.rwt")),
            ExpectedSingle(false, false, "rwttmp00.dm3", "a.dm3", kBuiltInBinds));
  const std::vector<Entry> one = {{"rwttmp00.dm3", "/d/a.dm3", "a.dm3"}};
  ASSERT_TRUE(WritePlayListScript(files, messages, base.path(), Options(true, true), Records(one)));
  EXPECT_EQ(test::ReadBytes(base.Join("rwttmp.rwt")),
            ExpectedPlayList(true, true, one, kBuiltInBinds));
  EXPECT_TRUE(messages.shown.empty());
}

TEST(ScriptWriters, TellTheUserWhenTheScriptCannotBeSaved) {
  test::TempDir base;
  FakeFileSystem files;
  FakeMessages messages;
  const std::string path = base.Join("rwttmp.rwt");
  files.failWrites.push_back(path);
  EXPECT_FALSE(
      MakeTmpPlayList(files, messages, base.path(), Options(false, false), "a.dm3", std::nullopt));
  EXPECT_FALSE(WritePlayListScript(files, messages, base.path(), Options(false, false),
                                   {"rwttmp00.dm3*/d/a.dm3"}));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].caption, "RWT: File Save Error");
  EXPECT_EQ(messages.shown[0].text, "demoplay.MakeTmpPlayList: " + path);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kError);
  EXPECT_EQ(messages.shown[1].caption, "RWT: File Save Error");
  EXPECT_EQ(messages.shown[1].text, "demoplay.CreatePlaylist: could not save rwttmp.rwt");
}

}  // namespace
}  // namespace rw
