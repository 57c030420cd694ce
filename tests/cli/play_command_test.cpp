#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_files.h"
#include "support/zip_writer.h"

namespace rw {
namespace {

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

std::string Sample(const std::string& name) {
  return std::string(REELWRIGHT_SOURCE_DIR) + "/samples/demos/" + name;
}

// A program folder and a game folder in a temporary directory.
struct Installation {
  test::TempDir dir;
  std::string home = dir.Join("home");
  std::string game = dir.Join("Quake III Arena");

  Installation() {
    std::filesystem::create_directories(home);
    test::WriteBytes(game + "/quake3.exe", "#!/bin/sh\n");
    std::filesystem::create_directories(game + "/baseq3");
  }
  test::CliRun Play(const std::string& arguments) const {
    return test::RunCli("play --home " + Quoted(home) + " --game " + Quoted(game) + " " +
                        arguments);
  }
  std::string Expected(const std::string& parameters, const std::string& program = "") const {
    return "program: " + program + game + "/quake3.exe\nparameters: " + parameters +
           "\nfolder: " + game + "\nstaging: " + game + "/baseq3\n";
  }
  std::string Read(const std::string& relative) const {
    return test::ReadBytes(game + "/" + relative);
  }
  bool Has(const std::string& relative) const {
    return std::filesystem::exists(game + "/" + relative);
  }
};

TEST(PlayCommand, DryRunOfOneSampleDemoStagesItAndPrintsTheStart) {
  Installation g;
  const test::CliRun run = g.Play("--dry-run " + Quoted(Sample("sample_ffa.dm_48")));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, g.Expected("  +exec rwttmp.rwt"));
  EXPECT_EQ(g.Read("baseq3/demos/rwttmp00.dm_48"), test::ReadBytes(Sample("sample_ffa.dm_48")));
  const std::string script = g.Read("baseq3/rwttmp.rwt");
  EXPECT_NE(script.find("set end quit\r\nset d1 \"demo rwttmp00.dm_48; set actualdemo echo "
                        "Playing demo: ^3sample_ffa.dm_48; vstr ds10; set nextdemo vstr end\"\r\n"
                        "vstr d1\r\n"),
            std::string::npos);
  EXPECT_NE(script.find("timedemo 0\r\n"), std::string::npos);
}

TEST(PlayCommand, WindowsProgramRunsThroughWine) {
  Installation g;
  test::WriteBytes(g.game + "/quake3.exe", test::ExecutableStub(512));
  const test::CliRun run = g.Play("--dry-run " + Quoted(Sample("sample_tdm.dm3")));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, g.Expected("  +exec rwttmp.rwt", "wine "));
  EXPECT_TRUE(g.Has("baseq3/demos/rwttmp00.dm3"));
}

TEST(PlayCommand, SettingsComeFromTheConfigurationUnlessGiven) {
  Installation g;
  test::WriteBytes(g.home + "/Reelwright.cfg",
                   "[Global]\r\nq3a_start_param=+exec myconfig\r\npause_key=p\r\n[Demos]\r\n"
                   "loop_demos=1\r\n");
  const test::CliRun run = g.Play("--dry-run --timedemo " + Quoted(Sample("sample_ffa.dm_48")));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, g.Expected("+exec myconfig  +exec rwttmp.rwt"));
  const std::string script = g.Read("baseq3/rwttmp.rwt");
  EXPECT_NE(script.find("timedemo 1\r\n"), std::string::npos);
  EXPECT_NE(script.find("set d1 \"demo rwttmp00.dm_48; set actualdemo echo Demo "
                        "^3sample_ffa.dm_48; vstr ds10; set nextdemo vstr d1\"\r\n"),
            std::string::npos);
  // The keys of the configuration wait for the keys dialog; scripts bind the built-in ones.
  EXPECT_TRUE(script.ends_with("bind pause \"vstr d_p\"\r\n"));
}

TEST(PlayCommand, SeveralItemsPlayAsAPlayList) {
  Installation g;
  test::TempDir archives;
  const std::string zip = archives.Join("cup.zip");
  test::WriteBytes(
      zip,
      test::ZipBytes({{"readme.txt", "x"},
                      {"final/sample_ffa.dm_48", test::ReadBytes(Sample("sample_ffa.dm_48"))}}));
  const test::CliRun run = g.Play("--dry-run " + Quoted(Sample("sample_ffa.dm_48")) + " " +
                                  Quoted(zip + "::final/sample_ffa.dm_48"));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, g.Expected("  +exec rwttmp.rwt"));
  EXPECT_EQ(g.Read("baseq3/demos/rwttmp01.dm_48"), test::ReadBytes(Sample("sample_ffa.dm_48")));
  const std::string script = g.Read("baseq3/rwttmp.rwt");
  EXPECT_NE(script.find("// " + Sample("sample_ffa.dm_48") + "\r\n// \x01" + zip +
                        "\\sample_ffa.dm_48\r\n"),
            std::string::npos);
  EXPECT_NE(script.find("set d2 \"demo rwttmp01.dm_48; set actualdemo echo Demo #^22^7 of "
                        "^22^7: ^3sample_ffa.dm_48; vstr ds10; set nextdemo vstr end\"\r\n"),
            std::string::npos);
}

TEST(PlayCommand, MemberOfABasePackPlaysWhereItLies) {
  Installation g;
  test::WriteBytes(
      g.game + "/baseq3/zz-demos.pk3",
      test::ZipBytes({{"demos/sample_ffa.dm_48", test::ReadBytes(Sample("sample_ffa.dm_48"))}}));
  const test::CliRun run =
      g.Play("--dry-run " + Quoted(g.game + "/baseq3/zz-demos.pk3::demos/sample_ffa.dm_48"));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp00.dm_48"));
  EXPECT_NE(g.Read("baseq3/rwttmp.rwt").find("set d1 \"demo sample_ffa.dm_48; "),
            std::string::npos);
}

TEST(PlayCommand, PlayListFileAndMismatchedGenerations) {
  Installation g;
  test::TempDir lists;
  const std::string list = lists.Join("Mydemos.rwt");
  test::WriteBytes(list, "RWT Play List, ver 1.32\r\n" + Sample("sample_tdm.dm3") + "\r\n");
  test::CliRun run = g.Play("--dry-run " + Quoted(list));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(g.Read("baseq3/demos/rwttmp00.dm3"), test::ReadBytes(Sample("sample_tdm.dm3")));
  EXPECT_NE(g.Read("baseq3/rwttmp.rwt")
                .find("set d1 \"demo rwttmp00.dm3; set actualdemo echo "
                      "Demo #^21^7 of ^21^7: ^3sample_tdm.dm3;"),
            std::string::npos);

  run = g.Play("--dry-run " + Quoted(list) + " " + Quoted(Sample("sample_ffa.dm_48")));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("Protocol Version Mismatch in Playlist"), std::string::npos);
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp00.dm3"));
  EXPECT_FALSE(g.Has("baseq3/rwttmp.rwt"));
}

TEST(PlayCommand, ModDemosSetTheModUnlessTurnedOff) {
  Installation g;
  // The team sample names the mod baseq3, which this folder's archive claims.
  test::WriteBytes(g.game + "/mymod/baseq3.pk3", "x");
  test::CliRun run = g.Play("--dry-run " + Quoted(Sample("sample_tdm.dm3")));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, g.Expected(" +set fs_game mymod +exec rwttmp.rwt"));
  run = g.Play("--dry-run --no-mod-demos " + Quoted(Sample("sample_tdm.dm3")));
  EXPECT_EQ(run.out, g.Expected("  +exec rwttmp.rwt"));
}

TEST(PlayCommand, RelativeGameAndHomeFoldersAreTakenFromWhereTheCommandRuns) {
  Installation g;
  test::WriteBytes(g.game + "/baseq3/demos/sample_ffa.dm_48",
                   test::ReadBytes(Sample("sample_ffa.dm_48")));
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(g.dir.path());
  const test::CliRun run = test::RunCli("play --home home/ --game 'Quake III Arena/' --dry-run " +
                                        Quoted(g.game + "/baseq3/demos/sample_ffa.dm_48"));
  std::filesystem::current_path(before);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, g.Expected("  +exec rwttmp.rwt"));
  // A demo of the game's own demos folder plays where it lies.
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp00.dm_48"));
  EXPECT_NE(g.Read("baseq3/rwttmp.rwt").find("set d1 \"demo sample_ffa.dm_48; "),
            std::string::npos);
}

TEST(PlayCommand, ModFoldersResolveByNameWithCaseIgnored) {
  Installation g;
  // Both claim the team sample's mod; "ab" comes first by name, "mb" was made first.
  test::WriteBytes(g.game + "/mb/baseq3.pk3", "x");
  test::WriteBytes(g.game + "/ab/baseq3.pk3", "x");
  const test::CliRun run = g.Play("--dry-run " + Quoted(Sample("sample_tdm.dm3")));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, g.Expected(" +set fs_game ab +exec rwttmp.rwt"));
}

TEST(PlayCommand, UsersDemosNamedLikeCopiesSurviveAndPlay) {
  Installation g;
  const std::string team = test::ReadBytes(Sample("sample_tdm.dm3"));
  test::WriteBytes(g.game + "/baseq3/demos/rwttmp_cup.dm3", team);
  test::WriteBytes(g.game + "/baseq3/demos/RWTTMP.final.dm_48", "mine");
  test::WriteBytes(g.game + "/baseq3/demos/rwttmp03.dm3", "an old copy");
  const test::CliRun run = g.Play("--dry-run " + Quoted(g.game + "/baseq3/demos/rwttmp_cup.dm3"));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(g.Read("baseq3/demos/rwttmp_cup.dm3"), team);
  EXPECT_EQ(g.Read("baseq3/demos/RWTTMP.final.dm_48"), "mine");
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp03.dm3"));
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp00.dm3"));
  EXPECT_NE(g.Read("baseq3/rwttmp.rwt").find("set d1 \"demo RWTTMP_CUP; "), std::string::npos);
}

TEST(PlayCommand, ItemsThatNameNoDemoAreReported) {
  Installation g;
  test::TempDir other;
  test::WriteBytes(other.Join("notes.txt"), "x");
  const std::string zip = other.Join("a.zip");
  test::WriteBytes(zip, test::ZipBytes({{"demos/x.dm3", "not a demo"}}));
  for (const std::string& item : {other.Join("missing.dm3"), other.Join("notes.txt"),
                                  zip + "::demos/y.dm3", zip + "::other/x.dm3"}) {
    const test::CliRun run = g.Play("--dry-run " + Quoted(item));
    EXPECT_EQ(run.exitCode, 1) << item;
    EXPECT_NE(run.err.find(item), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(g.Play("--dry-run").exitCode, 2);
  EXPECT_FALSE(g.Has("baseq3/rwttmp.rwt"));
}

}  // namespace
}  // namespace rw

namespace rw {
namespace {

std::string Newer(const std::string& name) {
  return test::TestDataPath("demos/newer/" + name);
}

// Later demos in a native engine laid out as its installer or as Debian does: nothing is
// started, and what would start is printed with where the demos went.
TEST(PlayCommand, LaterDemosDryRunInTheEngineOfEachLayout) {
  for (const bool debian : {false, true}) {
    test::TempDir dir;
    const std::string home = dir.Join("home");
    const std::string user = dir.Join("user");
    const std::string game = dir.Join(debian ? "usr/share/games/quake3" : "ioq3");
    const std::string engine =
        debian ? dir.Join("usr/lib/ioquake3/ioquake3") : game + "/ioquake3.x86_64";
    std::filesystem::create_directories(home);
    std::filesystem::create_directories(game + "/baseq3");
    std::filesystem::create_directories(std::filesystem::path(engine).parent_path());
    test::WriteBytes(engine, "#!/bin/sh\n");
    const auto play = [&](const std::string& items) {
      return test::RunCli(
          "play --home " + Quoted(home) + " --game " + Quoted(game) + " --dry-run " + items,
          "HOME=" + Quoted(user) + " PATH=/usr/bin:/bin");
    };
    const std::string staging = user + "/.q3a/baseq3";
    const std::string start = "program: " + engine + "\nparameters:   +set com_pipefile rwtpipe" +
                              (debian ? " +set fs_basepath " + game : "") +
                              " +exec rwttmp.rwt\nfolder: " + game + "\nstaging: " + staging + "\n";

    test::CliRun run = play(Quoted(Newer("czimnick_test.dm_68")));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, start);
    EXPECT_EQ(test::ReadBytes(staging + "/demos/rwttmp00.dm_68"),
              test::ReadBytes(Newer("czimnick_test.dm_68")));

    run = play(Quoted(Newer("czimnick_test.dm_68")) + " " +
               Quoted(Newer("2002 - Duel 3 (Quakecon).dm_67")));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, start);
    EXPECT_EQ(test::ReadBytes(staging + "/demos/rwttmp01.dm_67"),
              test::ReadBytes(Newer("2002 - Duel 3 (Quakecon).dm_67")));
    EXPECT_NE(test::ReadBytes(staging + "/rwttmp.rwt")
                  .find("set d2 \"demo rwttmp01.dm_67; set actualdemo echo Demo #^22^7 of ^22^7: "
                        "^32002 - Duel 3 (Quakecon).dm_67; vstr ds10; set nextdemo vstr end\"\r\n"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(game + "/baseq3/rwttmp.rwt"));

    // A 1.17 demo needs the Windows game, which is not there.
    run = play(Quoted(Sample("sample_tdm.dm3")));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("No Program for this Demo: Demo \"sample_tdm.dm3\" has protocol "
                           "version 43: it plays in quake3.exe of Quake III Arena 1.17."),
              std::string::npos)
        << run.err;
  }
}

}  // namespace
}  // namespace rw
