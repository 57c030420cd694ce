// Playing later demos in the native engines: where their demos are staged, how they are
// started, and how a running one is handed the next play list.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "host/fake/fake_host.h"
#include "host/fake/fake_processes.h"
#include "host/fake/fake_windows.h"
#include "host/posix/posix_shell.h"
#include "host/posix/proc_process_table.h"
#include "host/posix/steady_clock.h"
#include "model/list_rules.h"
#include "playback/launch.h"
#include "support/fake_engine.h"
#include "support/test_files.h"

namespace rw {
namespace {

enum class Layout { kInstaller, kDebian };

// A game laid out as the engine's installer or as Debian does, with the user's home path.
struct EngineGame {
  explicit EngineGame(Layout layout, std::string_view engineName = "ioquake3.x86_64")
      : debian(layout == Layout::kDebian),
        game(dir.Join(debian ? "usr/share/games/quake3" : "ioq3")),
        engine(debian ? dir.Join("usr/lib/ioquake3/ioquake3")
                      : game + "/" + std::string(engineName)) {
    std::filesystem::create_directories(game + "/baseq3");
    std::filesystem::create_directories(std::filesystem::path(engine).parent_path());
    test::WriteFakeEngine(engine);
    Add(game + "/osp/zz-osp.pk3", "pk");
    options.globalParameters = "+set fs_homepath \"" + home + "\"";
    install.FindPrograms({.userHome = dir.Join("user"),
                          .globalParameters = options.globalParameters,
                          .systemPrefix = dir.Join("none")});
    install.ScanMods();
  }
  static void Add(const std::string& path, std::string_view bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    test::WriteBytes(path, bytes);
  }
  // The start parameters as the engine must be given them.
  std::string Parameters(const std::string& mod = "") const {
    return options.globalParameters + " " + (mod.empty() ? "" : "+set fs_game " + mod) +
           " +set com_pipefile rwtpipe" + (debian ? " +set fs_basepath " + game : "") +
           " +exec rwttmp.rwt";
  }
  bool Play(const std::vector<ListRow>& rows) {
    if (rows.size() == 1) return launch.PlayOneDemo(rows[0], options);
    RowList list;
    for (const ListRow& row : rows) list.push_back({row, false});
    return launch.CreatePlaylist(list, options);
  }

  test::TempDir dir;
  bool debian;
  std::string game;
  std::string engine;
  std::string home = dir.Join("user/q3 home");
  std::string staging = home + "/baseq3";
  FakeFileSystem files;
  FakeMessages messages;
  FakeWindowSystem windows;
  CountingPump pump;
  FakeClock clock;
  FakeShell shell;
  GameWindow gameWindow{windows, pump, clock};
  FakeProcessTable processes;
  GameInstall install{files, game};
  RunningGame running{install, {files, processes, gameWindow, pump, clock}};
  GenerationSwitch versions{install, {files, running, shell, messages, pump, clock}};
  Extractor extractor{clock, pump, files};
  Launch launch{install, {files, messages, running, versions, shell, extractor}};
  LaunchOptions options;
};

ListRow Row(const std::string& name, const std::string& location, const std::string& protocol,
            const std::string& mod = "baseq3") {
  ListRow row;
  row[kDemonameColumn] = name;
  row[kModColumn] = mod;
  row[kProtocolColumn] = protocol;
  row[kLocationColumn] = location;
  return row;
}

TEST(EngineLaunch, LaterDemosStageInTheHomePathAndStartTheEngine) {
  for (const Layout layout : {Layout::kInstaller, Layout::kDebian}) {
    EngineGame g(layout);
    const std::string downloads = g.dir.Join("downloads");
    g.Add(downloads + "/final.dm_68", "final");
    g.Add(downloads + "/old.dm_66", "old");
    g.Add(g.staging + "/demos/cup/semi.dm_68", "semi");
    ASSERT_TRUE(g.Play({Row("final.dm_68", downloads, "68")})) << g.debian;
    EXPECT_EQ(test::ReadBytes(g.staging + "/demos/rwttmp00.dm_68"), "final");
    EXPECT_NE(test::ReadBytes(g.staging + "/rwttmp.rwt").find("set d1 \"demo rwttmp00.dm_68; "),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(g.game + "/baseq3/rwttmp.rwt"));
    ASSERT_EQ(g.shell.calls.size(), 1u);
    EXPECT_EQ(g.shell.calls[0].program, g.engine);
    EXPECT_EQ(g.shell.calls[0].workingFolder, g.game);
    EXPECT_EQ(g.shell.calls[0].parameters, g.Parameters());
    EXPECT_EQ(g.launch.stagingFolder(), g.staging);

    // A 66 demo keeps its extension; one in the home path's demos plays where it lies; a mod
    // demo starts the engine with its mod.
    ASSERT_TRUE(g.Play({Row("old.dm_66", downloads, "66", "osp"),
                        Row("semi.dm_68", g.staging + "/demos/cup", "68", "osp")}));
    EXPECT_EQ(test::ReadBytes(g.staging + "/demos/rwttmp00.dm_66"), "old");
    const std::string script = test::ReadBytes(g.staging + "/rwttmp.rwt");
    EXPECT_NE(script.find("set d1 \"demo rwttmp00.dm_66; "), std::string::npos);
    EXPECT_NE(script.find("set d2 \"demo cup/semi.dm_68; "), std::string::npos);
    ASSERT_EQ(g.shell.calls.size(), 2u);
    EXPECT_EQ(g.shell.calls[1].parameters, g.Parameters("osp"));
    EXPECT_TRUE(g.messages.shown.empty());
  }
}

TEST(EngineLaunch, ARunningEngineIsHandedThePlayListOrQuitsForAMod) {
  EngineGame g(Layout::kInstaller);
  const std::string pipe = g.staging + "/rwtpipe";
  const int engine = g.processes.Add("/usr/bin/dash", {"/bin/sh", g.engine, "+exec"}, "ioquake3");
  g.processes.pipes[engine] = {pipe};
  g.processes.onWrite = [&](const std::string&, const std::string& text) {
    if (text == "quit\n") g.processes.Remove(engine);
  };
  g.Add(g.dir.Join("d/final.dm_68"), "final");
  ASSERT_TRUE(g.Play({Row("final.dm_68", g.dir.Join("d"), "68")}));
  EXPECT_EQ(g.processes.written[pipe], "exec rwttmp.rwt\n");
  EXPECT_TRUE(g.shell.calls.empty());
  // Its staged demo stays while it runs.
  g.launch.RemoveTemporaryFiles();
  EXPECT_TRUE(std::filesystem::exists(g.staging + "/demos/rwttmp00.dm_68"));

  ASSERT_TRUE(g.Play({Row("final.dm_68", g.dir.Join("d"), "68", "osp")}));
  EXPECT_EQ(g.processes.written[pipe], "exec rwttmp.rwt\nquit\n");
  ASSERT_EQ(g.shell.calls.size(), 1u);
  EXPECT_EQ(g.shell.calls[0].parameters, g.Parameters("osp"));
  g.launch.RemoveTemporaryFiles();
  EXPECT_FALSE(std::filesystem::exists(g.staging + "/demos/rwttmp00.dm_68"));
  EXPECT_FALSE(std::filesystem::exists(g.staging + "/rwttmp.rwt"));
}

TEST(EngineLaunch, AnEngineWithoutACommandPipeIsAskedToBeClosed) {
  EngineGame g(Layout::kInstaller, "quake3e.x64");
  g.Add(g.staging + "/demos/rwttmp00.dm_68", "being played");
  g.processes.Add(g.engine, {g.engine, "+exec", "rwttmp.rwt"}, "quake3e.x64");
  g.Add(g.dir.Join("d/final.dm_68"), "final");
  EXPECT_FALSE(g.Play({Row("final.dm_68", g.dir.Join("d"), "68")}));
  ASSERT_EQ(g.messages.shown.size(), 1u);
  EXPECT_EQ(g.messages.shown[0].caption, "Game is running");
  EXPECT_EQ(test::ReadBytes(g.staging + "/demos/rwttmp00.dm_68"), "being played");
  EXPECT_TRUE(g.shell.calls.empty());
}

bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 400; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return false;
}

// The real processes of a stand-in engine, as a user's machine runs them.
TEST(EngineLaunch, AnEngineStartsOnceAndThenTakesThePlayListsThroughItsPipe) {
  for (const Layout layout : {Layout::kInstaller, Layout::kDebian}) {
    EngineGame g(layout);
    PosixShell shell;
    ProcProcessTable processes;
    SteadyClock clock;
    RunningGame running{g.install, {g.files, processes, g.gameWindow, g.pump, clock}};
    Launch launch{g.install, {g.files, g.messages, running, g.versions, shell, g.extractor}};
    g.Add(g.dir.Join("d/final.dm_68"), "final");
    g.Add(g.dir.Join("d/semi.dm_68"), "semi");

    ASSERT_TRUE(launch.PlayOneDemo(Row("final.dm_68", g.dir.Join("d"), "68"), g.options));
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(g.staging + "/rwtpipe"); }));
    std::vector<std::string> expected{std::filesystem::canonical(g.game).string()};
    for (const std::string& argument : SplitCommandLine(g.Parameters())) {
      expected.push_back("[" + argument + "]");
    }
    EXPECT_EQ(test::FakeEngineStarts(g.engine), std::vector<std::vector<std::string>>{expected});

    RowList list{{Row("semi.dm_68", g.dir.Join("d"), "68"), false},
                 {Row("final.dm_68", g.dir.Join("d"), "68"), false}};
    ASSERT_TRUE(launch.CreatePlaylist(list, g.options));
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(g.engine + ".lines"); }));
    EXPECT_EQ(test::ReadBytes(g.engine + ".lines"), "exec rwttmp.rwt\n");
    EXPECT_EQ(test::FakeEngineStarts(g.engine).size(), 1u);
    launch.RemoveTemporaryFiles();
    EXPECT_EQ(test::ReadBytes(g.staging + "/demos/rwttmp01.dm_68"), "final");

    ASSERT_TRUE(running.CloseWithin(kGameWaitLimitMs));
    launch.RemoveTemporaryFiles();
    EXPECT_FALSE(std::filesystem::exists(g.staging + "/demos/rwttmp01.dm_68"));
    EXPECT_FALSE(std::filesystem::exists(g.staging + "/rwttmp.rwt"));
    EXPECT_TRUE(g.messages.shown.empty());
  }
}

}  // namespace
}  // namespace rw
