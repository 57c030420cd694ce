#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "support/test_files.h"
#include "support/zip_writer.h"

namespace rw {
namespace {

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

// A user's machine in a temporary folder: a program folder, a home, a PATH.
struct Machine {
  test::TempDir dir;
  std::string home = dir.Join("reelwright");
  std::string user = dir.Join("user");

  Machine() { std::filesystem::create_directories(home); }
  void Add(const std::string& relative, std::string_view bytes = "#!/bin/sh\n") {
    std::filesystem::create_directories(std::filesystem::path(dir.Join(relative)).parent_path());
    test::WriteBytes(dir.Join(relative), bytes);
  }
  test::CliRun Game(const std::string& game, const std::string& more = "") const {
    return test::RunCli("game --home " + Quoted(home) + " --game " + Quoted(game) + more,
                        "HOME=" + Quoted(user) + " PATH=" + Quoted(dir.Join("bin")) + ":/bin");
  }
};

TEST(GameCommand, ListsAnInstallersFolderWithItsEngineHomeAndMods) {
  Machine m;
  m.Add("ioq3/ioquake3.x86_64");
  m.Add("ioq3/baseq3/pak0.pk3", "pak");
  m.Add("ioq3/osp/zz-osp.pk3", "pak");
  m.Add("user/.q3a/cpma/z-cpma.pk3", "pak");
  m.Add("bin/quake3e");  // on PATH, not wanted beside an engine of the folder's own
  const test::CliRun run = m.Game(m.dir.Join("ioq3"));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "game folder: " + m.dir.Join("ioq3") + "\nprogram: ioquake3 " +
                         m.dir.Join("ioq3/ioquake3.x86_64") +
                         "\n  found in: game folder\n  plays protocols: 66 67 68\n  base path: " +
                         m.dir.Join("ioq3") + "\n  home path: " + m.user +
                         "/.q3a\n  staging folder: " + m.user +
                         "/.q3a/baseq3\n  command pipe: yes\nmod: cpma " + m.user +
                         "/.q3a/cpma\nmod: osp " + m.dir.Join("ioq3/osp") + "\n");
}

TEST(GameCommand, ListsDebiansLayoutAsJsonAndFailsWithoutAProgram) {
  Machine m;
  const std::string data = m.dir.Join("usr/share/games/quake3");
  m.Add("usr/share/games/quake3/baseq3/pak0.pk3", "pak");
  m.Add("usr/lib/ioquake3/ioquake3");
  m.Add("reelwright/Reelwright.cfg",
        "[Global]\r\nq3a_start_param=+set fs_homepath " + m.dir.Join("q3home") + "\r\n");
  const test::CliRun run = m.Game(data, " --json");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const nlohmann::json out = nlohmann::json::parse(run.out);
  EXPECT_EQ(out["gameFolder"], data);
  ASSERT_EQ(out["programs"].size(), 1u);
  const nlohmann::json& engine = out["programs"][0];
  EXPECT_EQ(engine["engine"], "ioquake3");
  EXPECT_EQ(engine["path"], m.dir.Join("usr/lib/ioquake3/ioquake3"));
  EXPECT_EQ(engine["foundIn"], "system");
  EXPECT_EQ(engine["wine"], false);
  EXPECT_EQ(engine["basePath"], data);
  EXPECT_EQ(engine["homePath"], m.dir.Join("q3home"));
  EXPECT_EQ(engine["stagingFolder"], m.dir.Join("q3home/baseq3"));
  EXPECT_EQ(engine["commandPipe"], true);
  EXPECT_TRUE(out["mods"].empty());

  m.Add("empty/readme.txt", "");
  const test::CliRun none = m.Game(m.dir.Join("empty"));
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.out, "game folder: " + m.dir.Join("empty") + "\n");
  EXPECT_NE(none.err.find("holds no program that plays Quake III Arena demos. Looked for "
                          "quake3.exe, ioquake3."),
            std::string::npos)
      << none.err;
}

TEST(GameCommand, AWindowsGameRunsThroughWineWithItsVersions) {
  Machine m;
  m.Add("q3/quake3.exe", test::ExecutableStub(512));
  m.Add("q3/newversion", test::ExecutableStub(512));
  m.Add("q3/baseq3/pak4.zip", "4");
  m.Add("q3/baseq3/pak5.zip", "5");
  m.Add("q3/ioquake3.x86_64");
  const test::CliRun run = m.Game(m.dir.Join("q3"), " --json");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const nlohmann::json out = nlohmann::json::parse(run.out);
  ASSERT_EQ(out["programs"].size(), 2u);
  const nlohmann::json& game = out["programs"][0];
  EXPECT_EQ(game["engine"], "quake3.exe");
  EXPECT_EQ(game["versions"], nlohmann::json::array({"1.17", "1.27"}));
  EXPECT_EQ(game["wine"], true);
  EXPECT_EQ(game["protocols"], nlohmann::json::array({43, 45, 48}));
  EXPECT_EQ(game["homePath"], m.dir.Join("q3"));
  EXPECT_EQ(game["commandPipe"], false);
  EXPECT_EQ(out["programs"][1]["engine"], "ioquake3");
}

}  // namespace
}  // namespace rw
