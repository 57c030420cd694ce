// Runs written scripts through the game engine's own console parser: ioquake3's dedicated
// server executes them and lists the variables they leave behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "host/fake/fake_host.h"
#include "host/fake/fake_processes.h"
#include "host/fake/fake_windows.h"
#include "host/posix/proc_process_table.h"
#include "host/posix/steady_clock.h"
#include "model/list_rules.h"
#include "playback/control_keys.h"
#include "playback/launch.h"
#include "playback/playback_script.h"
#include "support/test_files.h"
#include "support/zip_writer.h"

namespace rw {
namespace {

constexpr const char* kEngine = "/usr/lib/ioquake3/ioq3ded";
constexpr std::size_t kEngineLineLimit = 1023;
constexpr std::size_t kEngineCommandBuffer = 16384;

// The client commands a dedicated server lacks become variables, so each call leaves its
// arguments behind.
constexpr const char* kDefaultConfig =
    "set demo \"\"; set bind \"\"; set unbind \"\"; set cl_freezedemo \"\"\n";

using Variables = std::map<std::string, std::string>;

// A line of "cvarlist": flags, the name and the value in double quotes.
bool ParseVariable(const std::string& line, std::string& name, std::string& value) {
  const std::size_t open = line.find('"');
  if (open == std::string::npos || line.size() < open + 2 || line.back() != '"' || open < 2 ||
      line[open - 1] != ' ') {
    return false;
  }
  const std::size_t nameStart = line.rfind(' ', open - 2);
  name = line.substr(nameStart == std::string::npos ? 0 : nameStart + 1,
                     open - 1 - (nameStart == std::string::npos ? 0 : nameStart + 1));
  value = line.substr(open + 1, line.size() - open - 2);
  return !name.empty();
}

// The engine's output split at the lines "==NAME==" that the checks echo.
struct Output {
  std::vector<std::string> lines;

  std::vector<std::string> Section(const std::string& mark) const {
    std::vector<std::string> section;
    bool inside = false;
    for (const std::string& line : lines) {
      if (line.starts_with("==") && line.ends_with("==")) {
        if (inside) break;
        inside = line == "==" + mark + "==";
      } else if (inside) {
        section.push_back(line);
      }
    }
    return section;
  }
  Variables VariablesIn(const std::string& mark) const {
    Variables variables;
    for (const std::string& line : Section(mark)) {
      std::string name;
      std::string value;
      if (ParseVariable(line, name, value)) variables[name] = value;
    }
    return variables;
  }
  bool Has(const std::string& line) const {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
};

class EngineConsole : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(kEngine))
        << kEngine << " is missing: install the Debian package ioquake3-server to run the game "
        << "console tests.";
    std::filesystem::create_directories(game_);
    std::filesystem::create_directories(dir_.Join("home"));
    test::WriteBytes(game_ + "/default.cfg", kDefaultConfig);
  }

  // Runs the script in rwttmp.rwt, then the checks, then quits.
  Output Run(const std::string& checks) {
    test::WriteBytes(game_ + "/checks.cfg", checks);
    const std::string command = std::string("timeout 20 ") + kEngine +
                                " +set dedicated 1 +set net_enabled 0 +set com_standalone 1"
                                " +set com_basegame rwt +set fs_basepath " +
                                dir_.Join("base") + " +set fs_homepath " + dir_.Join("home") +
                                " +exec rwttmp.rwt +exec checks.cfg +quit 2>&1";
    Output output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    std::string text;
    char buffer[4096];
    while (const std::size_t got = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, got);
    pclose(pipe);
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      output.lines.push_back(line);
    }
    return output;
  }

  std::string Script() const { return test::ReadBytes(game_ + "/rwttmp.rwt"); }

  test::TempDir dir_;
  std::string game_ = dir_.Join("base/rwt");
  FakeFileSystem files_;
  FakeMessages messages_;
};

// What the engine makes of "set NAME VALUE" lines: quotes removed, words joined by blanks.
Variables SetLines(const std::string& script) {
  Variables variables;
  std::istringstream stream(script);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.starts_with("set ")) continue;
    const std::size_t nameEnd = line.find(' ', 4);
    std::string value = line.substr(nameEnd + 1);
    if (value.starts_with('"')) value = value.substr(1, value.size() - 2);
    variables[line.substr(4, nameEnd - 4)] = value;
  }
  return variables;
}

void ExpectWithinEngineLimits(const std::string& script) {
  EXPECT_LE(script.size(), kEngineCommandBuffer);
  std::istringstream stream(script);
  for (std::string line; std::getline(stream, line);) EXPECT_LE(line.size(), kEngineLineLimit + 1);
}

// The speed states as the keys are meant to move them: tenths of normal speed, 0 the pause,
// 1000 the top speed.
struct SpeedModel {
  int state = 10;

  void Press(const std::string& key) {
    if (key == "d_p") {
      state = state == 0 ? 10 : 0;
    } else if (key == "d_f") {
      state = state < 40 ? state + 1 : state < 90 ? state + 10 : 1000;
    } else if (key == "d_s") {
      state = state == 0 ? 0 : state <= 40 ? state - 1 : 39;
    } else if (key == "d_s_t") {
      state = state == 10 || state == 0 || state == 90 || state == 1000 || state == 4 ? 4 : 10;
    } else if (key == "d_f_t") {
      state = state == 10 || state == 25 ? 25 : 10;
    }
  }
  std::string Scale() const {
    if (state == 1000) return "100";
    if (state == 0) return "0.1";
    return std::to_string(state / 10) + "." + std::to_string(state % 10);
  }
  std::string Freeze() const { return state == 0 ? "1" : "0"; }
  std::string Text() const {
    switch (state) {
      case 0:
        return "^4PAUSE";
      case 4:
        return "^1SLOWMOTION";
      case 10:
        return "^2NORMALSPEED";
      case 25:
        return "^3FASTFORWARD";
      case 1000:
        return "^4MAXSPEED";
      default:
        return "SPEED " + Scale();
    }
  }
};

std::vector<std::string> TwoRecords() {
  return {"rwttmp00.dm_48*/home/player/demos/first one.dm_48",
          "cup/final.dm_48*\x01/home/player/packs/cup.zip/final.dm_48"};
}

TEST_F(EngineConsole, ScriptDefinesEveryVariableAsWritten) {
  PlaybackControls controls;
  ASSERT_TRUE(WritePlayListScript(files_, messages_, game_, {true, false, controls.bindBlock()},
                                  TwoRecords()));
  const Output output = Run("echo ==VARIABLES==\r\ncvarlist\r\necho ==END==\r\n");
  const Variables engine = output.VariablesIn("VARIABLES");
  const Variables written = SetLines(Script());
  ASSERT_EQ(written.size(), 47u + 7u + 1u + 1u + 2u);
  for (const auto& [name, value] : written) {
    // The first state the chain enters gives the keys their meaning anew.
    if (name.starts_with("d_") || name == "nextdemo" || name == "actualdemo") continue;
    EXPECT_EQ(engine.count(name) ? engine.at(name) : "(missing)", value) << name;
  }
  EXPECT_EQ(engine.at("end"), "quit");
  EXPECT_EQ(engine.at("timedemo"), "1");
  EXPECT_EQ(engine.at("demo"), "rwttmp00.dm_48");
  EXPECT_EQ(engine.at("nextdemo"), "vstr d2");
  EXPECT_EQ(engine.at("actualdemo"), "echo Demo #^21^7 of ^22^7: ^3first one.dm_48");
  EXPECT_EQ(engine.at("timescale"), "1.0");
  EXPECT_EQ(engine.at("cl_freezedemo"), "0");
  EXPECT_EQ(engine.at("d_f"), "vstr ds11");
  EXPECT_EQ(engine.at("d_p"), "vstr ds00");
  EXPECT_EQ(engine.at("bind"), "pause vstr d_p");  // the last bind line
  // Starting the first demo shows the banner, the demo and the speed.
  EXPECT_TRUE(output.Has("^5RWT ^51.32 ^5(rwttmp.rwt)"));
  EXPECT_TRUE(output.Has("Demo #^21^7 of ^22^7: ^3first one.dm_48"));
  EXPECT_TRUE(output.Has("^2NORMALSPEED"));
  ExpectWithinEngineLimits(Script());
}

TEST_F(EngineConsole, KeysMoveThroughTheSpeedStates) {
  PlaybackControls controls;
  ASSERT_TRUE(WritePlayListScript(files_, messages_, game_, {false, true, controls.bindBlock()},
                                  TwoRecords()));
  const std::vector<std::string> keys = {"d_f", "d_s", "d_p", "d_s_t", "d_f_t"};
  std::vector<std::string> presses(50, "d_f");  // all the way up to the top speed
  for (const char* key : {"d_s", "d_s_t", "d_p", "d_f", "d_p", "d_s_t", "d_s_t", "d_f_t", "d_f_t",
                          "d_s", "d_f_t", "d_p", "d_s_t", "d_f", "d_s"}) {
    presses.push_back(key);
  }
  uint32_t seed = 12345;
  for (int i = 0; i < 250; ++i) {
    seed = seed * 1103515245u + 12345u;
    // Upward steps more often than the others, so the walk reaches the high states.
    const uint32_t pick = (seed >> 16) % 8;
    presses.push_back(pick >= 5 ? "d_f" : keys[pick]);
  }
  std::string checks;
  for (std::size_t i = 0; i < presses.size(); ++i) {
    checks += "echo ==P" + std::to_string(i) + "==\r\nvstr " + presses[i] +
              "\r\ncvarlist timescale\r\ncvarlist cl_freezedemo\r\n";
  }
  checks += "echo ==END==\r\n";
  const Output output = Run(checks);
  SpeedModel model;
  std::set<int> seen;
  for (std::size_t i = 0; i < presses.size(); ++i) {
    model.Press(presses[i]);
    seen.insert(model.state);
    const std::string mark = "P" + std::to_string(i);
    const Variables engine = output.VariablesIn(mark);
    ASSERT_EQ(engine.count("timescale") ? engine.at("timescale") : "(missing)", model.Scale())
        << "press " << i << " " << presses[i];
    ASSERT_EQ(engine.at("cl_freezedemo"), model.Freeze()) << "press " << i;
    const std::vector<std::string> section = output.Section(mark);
    ASSERT_GE(section.size(), 3u);
    EXPECT_EQ(section[0], "^5RWT ^51.32 ^5(rwttmp.rwt)");
    EXPECT_EQ(section[1], "Demo #^21^7 of ^22^7: ^3first one.dm_48");
    EXPECT_EQ(section[2], model.Text()) << "press " << i;
  }
  EXPECT_EQ(seen.size(), 47u) << "the walk should visit every state";
}

TEST_F(EngineConsole, ChainEndsWithQuitWithoutLooping) {
  PlaybackControls controls;
  ASSERT_TRUE(WritePlayListScript(files_, messages_, game_, {false, false, controls.bindBlock()},
                                  TwoRecords()));
  const Output output =
      Run("vstr d_f\r\nvstr d_f\r\necho ==SECOND==\r\nvstr nextdemo\r\ncvarlist\r\n"
          "echo ==LAST==\r\nvstr nextdemo\r\necho ==AFTER==\r\n");
  const Variables second = output.VariablesIn("SECOND");
  EXPECT_EQ(second.at("demo"), "cup/final.dm_48");
  EXPECT_EQ(second.at("nextdemo"), "vstr end");
  EXPECT_EQ(second.at("timescale"), "1.0");  // each demo starts at normal speed
  EXPECT_EQ(output.Section("SECOND")[1], "Demo #^22^7 of ^22^7: ^3final.dm_48");
  EXPECT_TRUE(output.Section("LAST").empty());
  EXPECT_FALSE(output.Has("==AFTER=="));  // the end of the last demo quit the game
}

TEST_F(EngineConsole, LoopingChainStartsOverAndTheSingleDemoRepeats) {
  PlaybackControls controls;
  ASSERT_TRUE(WritePlayListScript(files_, messages_, game_, {false, true, controls.bindBlock()},
                                  TwoRecords()));
  const Output looped = Run(
      "vstr nextdemo\r\nvstr nextdemo\r\necho ==AGAIN==\r\ncvarlist demo\r\ncvarlist nextdemo\r\n"
      "echo ==END==\r\n");
  EXPECT_EQ(looped.VariablesIn("AGAIN").at("demo"), "rwttmp00.dm_48");
  EXPECT_EQ(looped.VariablesIn("AGAIN").at("nextdemo"), "vstr d2");

  ASSERT_TRUE(MakeTmpPlayList(files_, messages_, game_, {false, true, controls.bindBlock()},
                              "q3dm6.dm3", std::nullopt));
  const Output single = Run(
      "vstr nextdemo\r\necho ==AGAIN==\r\ncvarlist demo\r\ncvarlist nextdemo\r\necho ==END==\r\n");
  EXPECT_EQ(single.VariablesIn("AGAIN").at("demo"), "rwttmp00.dm3");
  EXPECT_EQ(single.VariablesIn("AGAIN").at("nextdemo"), "vstr d1");
  EXPECT_EQ(std::count(single.lines.begin(), single.lines.end(), "Demo ^3q3dm6.dm3"), 2);

  ASSERT_TRUE(MakeTmpPlayList(files_, messages_, game_, {false, false, controls.bindBlock()},
                              "q3dm6.dm3", std::string_view("SUB\\Q3DM6")));
  const Output once = Run("cvarlist demo\r\necho ==LAST==\r\nvstr nextdemo\r\necho ==AFTER==\r\n");
  EXPECT_TRUE(once.Has("Playing demo: ^3q3dm6.dm3"));
  EXPECT_FALSE(once.Has("==AFTER=="));
}

TEST_F(EngineConsole, ChangedKeysAreUnboundAndBoundAgain) {
  PlaybackControls controls;
  ControlKeys keys;
  keys.nextDemo = "n";
  controls.ConfirmKeys(keys);
  ASSERT_TRUE(WritePlayListScript(files_, messages_, game_, {false, false, controls.bindBlock()},
                                  TwoRecords()));
  const Output output =
      Run("echo ==KEYS==\r\ncvarlist bind\r\ncvarlist unbind\r\necho ==END==\r\n");
  EXPECT_EQ(output.VariablesIn("KEYS").at("unbind"), "kp_5");
  EXPECT_EQ(output.VariablesIn("KEYS").at("bind"), "n vstr nextdemo");
}

TEST_F(EngineConsole, TwelveAndTwentyNineEntriesStayWithinTheEngineLimits) {
  PlaybackControls controls;
  for (const int count : {12, 29}) {
    std::vector<std::string> records;
    for (int k = 0; k < count; ++k) {
      const std::string number = (k < 10 ? "0" : "") + std::to_string(k);
      records.push_back("rwttmp" + number + ".dm_48*/home/player/Quake III Arena/demos/cup2001/" +
                        "final-round-" + number + ".dm_48");
    }
    ASSERT_TRUE(WritePlayListScript(files_, messages_, game_, {true, false, controls.bindBlock()},
                                    records));
    ExpectWithinEngineLimits(Script());
    std::string checks;
    for (int k = 1; k < count; ++k) checks += "vstr nextdemo\r\n";
    checks += "echo ==LAST==\r\ncvarlist demo\r\ncvarlist nextdemo\r\necho ==END==\r\n";
    const Output output = Run(checks);
    const Variables last = output.VariablesIn("LAST");
    const std::string number = std::to_string(count - 1);
    EXPECT_EQ(last.at("demo"), "rwttmp" + number + ".dm_48") << count;
    EXPECT_EQ(last.at("nextdemo"), "vstr end") << count;
    EXPECT_TRUE(output.Has("Demo #^2" + std::to_string(count) + "^7 of ^2" + std::to_string(count) +
                           "^7: ^3final-round-" + number + ".dm_48"));
  }
}

// Names that would run commands if the console split or unquoted them.
const std::vector<std::string>& HostileNames() {
  static const std::vector<std::string> names = {"a;set rwtpwned 1;b.dm_48", "q\"uote.dm_48",
                                                 "x;quit.dm_48"};
  return names;
}

// The launch over a game folder whose base folder the engine runs the script from.
class HostileDemoNames : public EngineConsole {
 protected:
  void SetUp() override {
    EngineConsole::SetUp();
    std::filesystem::create_directories(install_.baseDemosFolder());
    test::WriteBytes(gameFolder_ + "/quake3.exe", "MZ");
    install_.FindPrograms({.userHome = dir_.Join("home"), .systemPrefix = dir_.Join("none")});
  }

  ListRow Row(const std::string& name, const std::string& location,
              const std::string& archiveFolder = "") const {
    ListRow row;
    row[kDemonameColumn] = name;
    row[kArchiveLocationColumn] = archiveFolder;
    row[kModColumn] = "baseq3";
    row[kProtocolColumn] = "48";
    row[kLocationColumn] = location;
    return row;
  }

  // Each name from a folder elsewhere, from the base demos folder and from a base pack.
  std::vector<ListRow> Rows() const {
    const std::string elsewhere = dir_.Join("downloads");
    const std::string pack = install_.baseFolder() + "/zz-cup.pk3";
    std::vector<test::ZipMember> members;
    std::vector<ListRow> rows;
    for (const std::string& name : HostileNames()) {
      test::WriteBytes(elsewhere + "/" + name, "folder " + name);
      test::WriteBytes(install_.baseDemosFolder() + "/" + name, "in place " + name);
      members.push_back({"demos/" + name, "pack " + name});
      rows.push_back(Row(name, elsewhere));
      rows.push_back(Row(name, install_.baseDemosFolder()));
      rows.push_back(Row(name, pack, "demos"));
    }
    test::WriteBytes(pack, test::ZipBytes(members));
    return rows;
  }

  // The script the launch wrote, where the engine runs it.
  void HandOver() {
    test::WriteBytes(game_ + "/rwttmp.rwt", test::ReadBytes(install_.baseFolder() + "/rwttmp.rwt"));
  }

  std::string gameFolder_ = dir_.Join("Quake III Arena");
  FakeClock clock_;
  CountingPump pump_;
  FakeWindowSystem windows_;
  FakeShell shell_;
  GameWindow gameWindow_{windows_, pump_, clock_};
  FakeProcessTable processes_;
  GameInstall install_{files_, gameFolder_};
  RunningGame running_{install_, {files_, processes_, gameWindow_, pump_, clock_}};
  GenerationSwitch versions_{install_, {files_, running_, shell_, messages_, pump_, clock_}};
  Extractor extractor_{clock_, pump_, files_};
  Launch launch_{install_, {files_, messages_, running_, versions_, shell_, extractor_}};
  LaunchOptions options_;
};

TEST_F(HostileDemoNames, PlayListRunsToItsEndWithoutRunningTheNames) {
  const std::vector<ListRow> rows = Rows();
  RowList playList;
  for (const ListRow& row : rows) playList.push_back({row, false});
  options_.script.bindBlock = PlaybackControls().bindBlock();
  ASSERT_TRUE(launch_.CreatePlaylist(playList, options_));
  // Every one was staged under a name of our own, with the bytes of its own place.
  for (std::size_t position = 0; position < rows.size(); ++position) {
    const std::string staged =
        install_.baseDemosFolder() + "/" + TemporaryDemoName(position, "48", "final.dm_48");
    const std::string& name = rows[position][kDemonameColumn];
    const char* origin[] = {"folder ", "in place ", "pack "};
    EXPECT_EQ(test::ReadBytes(staged), origin[position % 3] + name) << position;
  }
  HandOver();
  std::string checks;
  for (std::size_t k = 1; k < rows.size(); ++k) checks += "vstr nextdemo\r\n";
  checks += "echo ==LAST==\r\ncvarlist\r\necho ==QUIT==\r\nvstr nextdemo\r\necho ==AFTER==\r\n";
  const Output output = Run(checks);
  const Variables last = output.VariablesIn("LAST");
  EXPECT_EQ(last.count("rwtpwned"), 0u);
  EXPECT_EQ(last.at("demo"), "rwttmp08.dm_48");
  EXPECT_EQ(last.at("nextdemo"), "vstr end");
  EXPECT_TRUE(output.Has("Demo #^21^7 of ^29^7: ^3aset rwtpwned 1b.dm_48"));
  EXPECT_TRUE(output.Has("Demo #^24^7 of ^29^7: ^3quote.dm_48"));
  EXPECT_TRUE(output.Has("Demo #^29^7 of ^29^7: ^3xquit.dm_48"));
  EXPECT_TRUE(output.Has("==QUIT=="));
  EXPECT_FALSE(output.Has("==AFTER=="));  // the end of the last demo quit the game
  // The remark lines keep the paths, without what the console would act on.
  EXPECT_NE(Script().find("\r\n// " + install_.baseDemosFolder() + "/quote.dm_48\r\n"),
            std::string::npos);
}

TEST_F(EngineConsole, CommentsAndLineBreaksInShownNamesEndNothing) {
  PlaybackControls controls;
  ASSERT_TRUE(MakeTmpPlayList(files_, messages_, game_, {false, false, controls.bindBlock()},
                              "x/*y;set rwtpwned 1*/z//w\r\nquit\x7f.dm_48",
                              std::string_view("rwttmp00.dm_48")));
  const Output output =
      Run("echo ==PLAYED==\r\ncvarlist\r\necho ==QUIT==\r\nvstr nextdemo\r\necho ==AFTER==\r\n");
  EXPECT_EQ(output.VariablesIn("PLAYED").count("rwtpwned"), 0u);
  EXPECT_TRUE(output.Has("Playing demo: ^3x*yset rwtpwned 1*/z/wquit.dm_48"));
  EXPECT_TRUE(output.Has("==QUIT=="));
  EXPECT_FALSE(output.Has("==AFTER=="));
}

TEST_F(HostileDemoNames, SingleDemosPlayOnceWithoutRunningTheirNames) {
  for (const ListRow& row : Rows()) {
    const std::string& name = row[kDemonameColumn];
    ASSERT_TRUE(launch_.PlayOneDemo(row, options_)) << name;
    HandOver();
    const Output output =
        Run("echo ==PLAYED==\r\ncvarlist\r\necho ==QUIT==\r\nvstr nextdemo\r\necho ==AFTER==\r\n");
    const Variables played = output.VariablesIn("PLAYED");
    EXPECT_EQ(played.count("rwtpwned"), 0u) << name;
    EXPECT_EQ(played.at("demo"), "rwttmp00.dm_48") << name;
    EXPECT_TRUE(output.Has("==QUIT==")) << name;
    EXPECT_FALSE(output.Has("==AFTER==")) << name;
  }
}

}  // namespace
}  // namespace rw

namespace rw {
namespace {

bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 400; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return false;
}

// The engine itself, found by its process the way a user's PATH names it, takes console lines
// through the pipe it was started with and quits through it.
TEST(EnginePipe, ARunningEngineIsFoundByItsProcessAndTakesLinesThroughItsPipe) {
  ASSERT_TRUE(std::filesystem::exists(kEngine))
      << kEngine << " is missing: install the Debian package ioquake3-server.";
  test::TempDir dir;
  const std::string game = dir.Join("game");
  const std::string home = dir.Join("home");
  const std::string engine = dir.Join("bin/ioquake3");
  // Without the game's data the engine runs a base game of the test's own.
  std::filesystem::create_directories(game + "/baseq3");
  std::filesystem::create_directories(dir.Join("bin"));
  test::WriteBytes(game + "/rwt/default.cfg", kDefaultConfig);
  // A copy of its own: the console tests running beside this one run the engine too.
  std::filesystem::copy_file(kEngine, engine);

  FakeFileSystem files;
  GameInstall install(files, game);
  install.FindPrograms({.searchPath = {dir.Join("bin")},
                        .userHome = dir.Join("user"),
                        .globalParameters = "+set fs_homepath " + home,
                        .systemPrefix = dir.Join("none")});
  ASSERT_EQ(install.programs().size(), 1u);
  const GameProgram& program = install.programs()[0];
  EXPECT_EQ(program.homePath, home);
  ProcProcessTable processes;
  FakeWindowSystem windows;
  CountingPump pump;
  SteadyClock clock;
  GameWindow gameWindow(windows, pump, clock);
  RunningGame running(install, {files, processes, gameWindow, pump, clock});
  ASSERT_FALSE(running.Find());

  const std::string log = dir.Join("engine.log");
  ASSERT_EQ(std::system(("timeout 60 '" + engine +
                         "' +set dedicated 1 +set net_enabled 0 +set com_standalone 1 +set "
                         "com_basegame rwt +set fs_homepath '" +
                         home + "' +set com_pipefile rwtpipe +set fs_basepath '" + game + "' >'" +
                         log + "' 2>&1 &")
                            .c_str()),
            0);
  const std::string pipe = home + "/rwt/rwtpipe";
  ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(pipe); })) << test::ReadBytes(log);
  const std::optional<FoundGame> found = running.Find();
  ASSERT_TRUE(found);
  EXPECT_EQ(found->program, &program);
  EXPECT_EQ(found->pipe, pipe);
  EXPECT_TRUE(found->pipeInHome);

  test::WriteBytes(home + "/rwt/rwttmp.rwt", "echo ==HANDED OVER==\r\n");
  ASSERT_TRUE(running.HandOver(program, "exec rwttmp.rwt"));
  EXPECT_TRUE(WaitFor([&] {
    return test::ReadBytes(log).find("==HANDED OVER==") != std::string::npos;
  })) << test::ReadBytes(log);
  EXPECT_TRUE(running.CloseWithin(kGameWaitLimitMs));
  EXPECT_FALSE(running.Find());
}

}  // namespace
}  // namespace rw

namespace rw {
namespace {

// The script of a 68 play list, as the launch writes it for ioquake3, changes in the engine's
// console only what its own lines name, and the game's demo and speed variables.
TEST_F(EngineConsole, ALaterPlayListSetsNothingButItsOwnVariables) {
  const std::string gameFolder = dir_.Join("ioq3");
  const std::string home = dir_.Join("user/.q3a");
  test::WriteBytes(gameFolder + "/ioquake3.x86_64", "#!/bin/sh\n");
  test::WriteBytes(home + "/baseq3/demos/cup/semi.dm_68", "semi");
  test::WriteBytes(dir_.Join("downloads/final.dm_68"), "final");
  FakeClock clock;
  CountingPump pump;
  FakeWindowSystem windows;
  FakeShell shell;
  FakeProcessTable processes;
  GameWindow gameWindow(windows, pump, clock);
  GameInstall install(files_, gameFolder);
  install.FindPrograms({.userHome = dir_.Join("user"), .systemPrefix = dir_.Join("none")});
  RunningGame running(install, {files_, processes, gameWindow, pump, clock});
  GenerationSwitch versions(install, {files_, running, shell, messages_, pump, clock});
  Extractor extractor(clock, pump, files_);
  Launch launch(install, {files_, messages_, running, versions, shell, extractor});
  LaunchOptions options;
  options.script.bindBlock = PlaybackControls().bindBlock();
  RowList list;
  for (const auto& [name, location] : {std::pair{"semi.dm_68", home + "/baseq3/demos/cup"},
                                       std::pair{"final.dm_68", dir_.Join("downloads")}}) {
    ListRow row;
    row[kDemonameColumn] = name;
    row[kModColumn] = "baseq3";
    row[kProtocolColumn] = "68";
    row[kLocationColumn] = location;
    list.push_back({row, false});
  }
  ASSERT_TRUE(launch.CreatePlaylist(list, options));
  const std::string script = test::ReadBytes(home + "/baseq3/rwttmp.rwt");

  const std::string listing = "echo ==VARIABLES==\r\ncvarlist\r\necho ==END==\r\n";
  test::WriteBytes(game_ + "/rwttmp.rwt", "");
  const Variables before = Run(listing).VariablesIn("VARIABLES");
  // What differs between two runs of nothing is the engine's own chance.
  const Variables again = Run(listing).VariablesIn("VARIABLES");
  test::WriteBytes(game_ + "/rwttmp.rwt", script);
  const Output output = Run(listing);
  const Variables after = output.VariablesIn("VARIABLES");
  ASSERT_GT(before.size(), 50u);
  std::set<std::string> allowed = {"timedemo", "timescale", "cl_freezedemo",
                                   "demo",     "bind",      "unbind"};
  // Every variable a "set" of the script names, inside a value too.
  for (std::size_t at = script.find("set "); at != std::string::npos;
       at = script.find("set ", at + 1)) {
    const std::size_t end = script.find_first_of(" \";\r", at + 4);
    allowed.insert(script.substr(at + 4, end - at - 4));
  }
  for (const auto& [name, value] : after) {
    const auto was = before.find(name);
    if (was != before.end() && was->second == value) continue;
    if (was != before.end() && again.at(name) != was->second) continue;
    EXPECT_TRUE(allowed.contains(name)) << name << " became \"" << value << "\"";
  }
  for (const auto& [name, value] : before) EXPECT_TRUE(after.contains(name)) << name;
  EXPECT_EQ(after.at("demo"), "cup/semi.dm_68");
  EXPECT_EQ(after.at("d2"),
            "demo rwttmp01.dm_68; set actualdemo echo Demo #^22^7 of ^22^7: "
            "^3final.dm_68; vstr ds10; set nextdemo vstr end");
  EXPECT_TRUE(output.Has("Demo #^21^7 of ^22^7: ^3semi.dm_68"));
}

}  // namespace
}  // namespace rw
