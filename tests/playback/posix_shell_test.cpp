#include "host/posix/posix_shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "host/posix/x11_window_system.h"
#include "support/test_files.h"

namespace rw {
namespace {

// A program that writes its working folder and arguments, one a line, into a file.
std::string WriteRecorder(const test::TempDir& dir, const std::string& name,
                          const std::string& record) {
  const std::string path = dir.Join(name);
  test::WriteBytes(path, "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > " +
                             record + ".tmp && mv " + record + ".tmp " + record + "\n");
  chmod(path.c_str(), 0755);
  return path;
}

std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return std::filesystem::exists(path) ? test::ReadBytes(path) : "(never written)";
}

TEST(SplitCommandLine, BlanksSeparateAndQuotesGroup) {
  EXPECT_EQ(SplitCommandLine(" +set fs_game osp  +exec rwttmp.rwt"),
            (std::vector<std::string>{"+set", "fs_game", "osp", "+exec", "rwttmp.rwt"}));
  EXPECT_EQ(SplitCommandLine("+set name \"A B\"\t\"\""),
            (std::vector<std::string>{"+set", "name", "A B", ""}));
  EXPECT_TRUE(SplitCommandLine("  ").empty());
}

TEST(PosixShell, StartsAProgramWithItsParametersInTheWorkingFolder) {
  test::TempDir dir;
  const std::string record = dir.Join("record");
  const std::string program = WriteRecorder(dir, "game", record);
  std::filesystem::create_directories(dir.Join("work"));
  PosixShell shell("/usr/bin:/bin");
  const ShellResult result =
      shell.StartProgram(program, " +set fs_game osp +exec rwttmp.rwt", dir.Join("work"));
  ASSERT_TRUE(result.started) << result.reason;
  EXPECT_EQ(WaitForFile(record), std::filesystem::canonical(dir.Join("work")).string() +
                                     "\n[+set]\n[fs_game]\n[osp]\n[+exec]\n[rwttmp.rwt]\n");
}

TEST(PosixShell, StartsANativeGameProgramDirectlyWhateverItsName) {
  test::TempDir dir;
  const std::string record = dir.Join("record");
  const std::string program = WriteRecorder(dir, "quake3.exe", record);
  PosixShell shell(dir.Join("nothing"));
  ASSERT_TRUE(shell.StartProgram(program, "+exec rwttmp.rwt", dir.path()).started);
  EXPECT_EQ(WaitForFile(record),
            std::filesystem::canonical(dir.path()).string() + "\n[+exec]\n[rwttmp.rwt]\n");
}

TEST(PosixShell, StartsAWindowsProgramThroughWine) {
  test::TempDir dir;
  const std::string record = dir.Join("record");
  std::filesystem::create_directories(dir.Join("bin"));
  WriteRecorder(dir, "bin/wine", record);
  const std::string game = dir.Join("quake3.exe");
  test::WriteBytes(game, "MZ");
  PosixShell shell(dir.Join("nothing") + ":" + dir.Join("bin"));
  ASSERT_TRUE(shell.StartProgram(game, "+exec rwttmp.rwt", dir.path()).started);
  EXPECT_EQ(WaitForFile(record), std::filesystem::canonical(dir.path()).string() + "\n[" + game +
                                     "]\n[+exec]\n[rwttmp.rwt]\n");
}

TEST(PosixShell, SaysWhyAProgramCannotStart) {
  test::TempDir dir;
  PosixShell shell(dir.path());
  const ShellResult missing = shell.StartProgram(dir.Join("quake3.exe"), "", dir.path());
  EXPECT_FALSE(missing.started);
  EXPECT_EQ(missing.reason, "The program does not exist.");

  test::WriteBytes(dir.Join("quake3.exe"), "MZ");
  const ShellResult noWine = shell.StartProgram(dir.Join("quake3.exe"), "", dir.path());
  EXPECT_FALSE(noWine.started);
  EXPECT_EQ(noWine.reason, "This is a Windows program and wine is not installed.");

  test::WriteBytes(dir.Join("game"), "#!/bin/sh\n");
  const ShellResult notExecutable = shell.StartProgram(dir.Join("game"), "", dir.path());
  EXPECT_FALSE(notExecutable.started);
  EXPECT_EQ(notExecutable.reason, "The program is not executable.");

  // A pipe in the game's place is refused without waiting for a writer.
  ASSERT_EQ(mkfifo(dir.Join("pipe.exe").c_str(), 0644), 0);
  EXPECT_FALSE(shell.StartProgram(dir.Join("pipe.exe"), "", dir.path()).started);

  const std::string program = WriteRecorder(dir, "runs", dir.Join("record"));
  const ShellResult noFolder = shell.StartProgram(program, "", dir.Join("missing"));
  EXPECT_FALSE(noFolder.started);
  EXPECT_FALSE(noFolder.reason.empty());
}

TEST(PosixShell, OpensLinksWithXdgOpen) {
  test::TempDir dir;
  const std::string record = dir.Join("record");
  WriteRecorder(dir, "xdg-open", record);
  PosixShell shell(dir.path());
  ASSERT_TRUE(shell.Open("http://www.example.com/").started);
  EXPECT_NE(WaitForFile(record).find("\n[http://www.example.com/]\n"), std::string::npos);
  EXPECT_FALSE(PosixShell(dir.Join("none")).Open("x").started);
}

TEST(X11WindowSystem, FindsNoGameWithoutADisplay) {
  const char* saved = std::getenv("DISPLAY");
  const std::string display = saved != nullptr ? saved : "";
  unsetenv("DISPLAY");
  {
    X11WindowSystem windows;
    EXPECT_FALSE(windows.HasDisplay());
    EXPECT_EQ(windows.FindTopLevel("Quake 3: Arena", "Quake 3: Arena"), 0u);
    EXPECT_TRUE(windows.Children(1).empty());
    EXPECT_FALSE(windows.Exists(1));
  }
  if (saved != nullptr) setenv("DISPLAY", display.c_str(), 1);
}

}  // namespace
}  // namespace rw
