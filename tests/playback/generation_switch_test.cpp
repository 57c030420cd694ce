#include "playback/generation_switch.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/fake/fake_host.h"
#include "host/fake/fake_processes.h"
#include "host/fake/fake_windows.h"
#include "support/test_files.h"

namespace rw {
namespace {

constexpr const char* kToNewFailed =
    "Something went wrong in changing version to 1.27 !\r\nStudy the rwt readme file for problem "
    "solving issues with version changing.";
constexpr const char* kToOldFailed =
    "Something went wrong in changing version to pre 1.27 !\r\nStudy the rwt readme file for "
    "problem solving issues with version changing.";

// Records renames and can refuse the first attempts on a file, as a game that still holds it.
class RecordingFiles : public FakeFileSystem {
 public:
  FileResult Rename(const std::string& from, const std::string& to) override {
    renames.push_back(std::filesystem::path(from).filename().string() + ">" +
                      std::filesystem::path(to).filename().string());
    if (auto held = refusals.find(from); held != refusals.end() && held->second != 0) {
      if (held->second > 0) --held->second;
      return {FileResult::kOther, 13};
    }
    return FakeFileSystem::Rename(from, to);
  }
  std::vector<std::string> renames;
  std::map<std::string, int> refusals;  // -1 refuses for ever
};

struct Installation {
  test::TempDir dir;
  RecordingFiles files;
  FakeWindowSystem windows;
  CountingPump pump;
  FakeClock clock;
  FakeShell shell;
  FakeMessages messages;
  GameWindow gameWindow{windows, pump, clock};
  FakeProcessTable processes;
  std::string game = dir.Join("q3");
  GameInstall install{files, game};
  RunningGame running{install, {files, processes, gameWindow, pump, clock}};
  GenerationSwitch versions{install, {files, running, shell, messages, pump, clock}};
  WindowId main = 0;
  WindowId console = 0;

  explicit Installation(bool newActive) {
    std::filesystem::create_directories(game + "/baseq3");
    Add("quake3.exe", newActive ? "new" : "old");
    Add(newActive ? "oldversion" : "newversion", newActive ? "old" : "new");
    const char* extension = newActive ? ".pk3" : ".zip";
    Add(std::string("baseq3/pak4") + extension, "4");
    Add(std::string("baseq3/pak5") + extension, "5");
  }
  std::string Path(std::string_view relative) const { return game + "/" + std::string(relative); }
  void Add(std::string_view relative, std::string_view bytes) {
    test::WriteBytes(Path(relative), bytes);
  }
  bool Has(std::string_view relative) const { return std::filesystem::exists(Path(relative)); }
  // A running game that closes on request and comes back when started.
  void RunGame() {
    main = windows.AddTopLevel("Quake 3: Arena", "Quake 3: Arena");
    console = windows.AddTopLevel("Q3 WinConsole", "Quake 3 Console");
    windows.onClose = [this](WindowId window) {
      if (window != main) return;
      windows.Remove(main);
      windows.Remove(console);
    };
    shell.onStart = [this] { RunGameWindowsOnly(); };
  }
  void RunGameWindowsOnly() {
    main = windows.AddTopLevel("Quake 3: Arena", "Quake 3: Arena");
    console = windows.AddTopLevel("Q3 WinConsole", "Quake 3 Console");
  }
};

TEST(GenerationSwitch, StartStateShowsTheActiveGenerationAndTheRestoreOption) {
  Installation q3(true);
  q3.versions.ShowStartState(false);
  EXPECT_TRUE(q3.versions.menu().enabled);
  EXPECT_TRUE(q3.versions.menu().newChecked);
  EXPECT_FALSE(q3.versions.menu().oldChecked);
  EXPECT_FALSE(q3.versions.menu().restoreNewChecked);
  EXPECT_TRUE(q3.versions.menu().restoreOldChecked);
  std::filesystem::remove(q3.Path("oldversion"));
  q3.versions.ShowStartState(true);
  EXPECT_FALSE(q3.versions.menu().enabled);
  EXPECT_TRUE(q3.versions.menu().newChecked);  // pak4.pk3 tells
}

TEST(GenerationSwitch, OpeningTheMenuReadsTheGameFilesAgain) {
  Installation q3(true);
  q3.versions.ShowStartState(true);
  ASSERT_TRUE(q3.versions.menu().enabled);
  std::filesystem::rename(q3.Path("oldversion"), q3.Path("spare"));
  EXPECT_TRUE(q3.versions.menu().enabled);  // nothing reads the files until the menu opens
  q3.versions.RefreshOnMenuOpen();
  EXPECT_FALSE(q3.versions.menu().enabled);
  EXPECT_FALSE(q3.versions.Choose(false, ""));
  EXPECT_TRUE(q3.files.renames.empty());

  // Switched to the old generation by hand while the program ran.
  std::filesystem::rename(q3.Path("quake3.exe"), q3.Path("newversion"));
  std::filesystem::rename(q3.Path("spare"), q3.Path("quake3.exe"));
  std::filesystem::rename(q3.Path("baseq3/pak4.pk3"), q3.Path("baseq3/pak4.zip"));
  std::filesystem::rename(q3.Path("baseq3/pak5.pk3"), q3.Path("baseq3/pak5.zip"));
  q3.versions.RefreshOnMenuOpen();
  EXPECT_TRUE(q3.versions.menu().enabled);
  EXPECT_TRUE(q3.versions.menu().oldChecked);
  EXPECT_FALSE(q3.versions.menu().newChecked);
  EXPECT_TRUE(q3.versions.menu().restoreNewChecked);  // the option is no file's to tell
  EXPECT_TRUE(q3.versions.Choose(true, ""));
  EXPECT_EQ(test::ReadBytes(q3.Path("quake3.exe")), "new");
}

TEST(GenerationSwitch, StoppedGameSwitchesWithFourRenamesInOrder) {
  Installation q3(true);
  q3.versions.ShowStartState(true);
  ASSERT_TRUE(q3.versions.Switch(false, ""));
  EXPECT_EQ(q3.files.renames,
            (std::vector<std::string>{"quake3.exe>newversion", "oldversion>quake3.exe",
                                      "pak4.pk3>pak4.zip", "pak5.pk3>pak5.zip"}));
  EXPECT_EQ(test::ReadBytes(q3.Path("quake3.exe")), "old");
  EXPECT_EQ(test::ReadBytes(q3.Path("newversion")), "new");
  EXPECT_TRUE(q3.Has("baseq3/pak4.zip") && q3.Has("baseq3/pak5.zip"));
  EXPECT_TRUE(q3.versions.menu().oldChecked);
  EXPECT_FALSE(q3.versions.menu().newChecked);
  EXPECT_FALSE(q3.install.IsNewGenerationActive());

  q3.files.renames.clear();
  ASSERT_TRUE(q3.versions.Switch(true, ""));
  EXPECT_EQ(q3.files.renames,
            (std::vector<std::string>{"quake3.exe>oldversion", "newversion>quake3.exe",
                                      "pak4.zip>pak4.pk3", "pak5.zip>pak5.pk3"}));
  EXPECT_EQ(test::ReadBytes(q3.Path("quake3.exe")), "new");
  EXPECT_TRUE(q3.versions.menu().newChecked);
  EXPECT_TRUE(q3.messages.shown.empty());
  EXPECT_TRUE(q3.shell.calls.empty());
}

TEST(GenerationSwitch, OnlyTheUncheckedAvailableItemSwitches) {
  Installation q3(true);
  q3.versions.ShowStartState(true);
  EXPECT_FALSE(q3.versions.Choose(true, ""));
  EXPECT_TRUE(q3.files.renames.empty());
  EXPECT_TRUE(q3.versions.Choose(false, ""));
  EXPECT_TRUE(q3.versions.menu().oldChecked);

  Installation unavailable(true);
  std::filesystem::remove(unavailable.Path("oldversion"));
  unavailable.versions.ShowStartState(true);
  EXPECT_FALSE(unavailable.versions.Choose(false, ""));
  EXPECT_TRUE(unavailable.files.renames.empty());
}

TEST(GenerationSwitch, StoppedGameStopsAtTheFirstFailedRename) {
  Installation q3(true);
  q3.versions.ShowStartState(true);
  q3.files.refusals[q3.Path("baseq3/pak4.pk3")] = -1;
  EXPECT_FALSE(q3.versions.Switch(false, ""));
  EXPECT_EQ(q3.files.renames.size(), 3u);
  EXPECT_TRUE(q3.Has("baseq3/pak5.pk3"));
  ASSERT_EQ(q3.messages.shown.size(), 1u);
  EXPECT_EQ(q3.messages.shown[0].caption, "Debug");
  EXPECT_EQ(q3.messages.shown[0].text, kToOldFailed);
  EXPECT_EQ(q3.messages.shown[0].icon, MessageIcon::kError);
  EXPECT_TRUE(q3.versions.menu().newChecked);
}

TEST(GenerationSwitch, RunningGameIsClosedSwitchedAndStartedAgain) {
  Installation q3(false);
  q3.versions.ShowStartState(true);
  q3.RunGame();
  const WindowId firstGame = q3.main;
  // The closing game holds its program for two more passes.
  q3.files.refusals[q3.Path("quake3.exe")] = 2;
  ASSERT_TRUE(q3.versions.Switch(true, "+exec myconfig"));
  EXPECT_EQ(q3.windows.CloseRequests(firstGame), 1);
  // quake3.exe is tried thrice and so is the rename that waits for its name to be free.
  EXPECT_EQ(q3.files.renames.size(), 8u);
  EXPECT_EQ(test::ReadBytes(q3.Path("quake3.exe")), "new");
  EXPECT_TRUE(q3.Has("baseq3/pak4.pk3") && q3.Has("baseq3/pak5.pk3"));
  ASSERT_EQ(q3.shell.calls.size(), 1u);
  EXPECT_EQ(q3.shell.calls[0].program, q3.Path("quake3.exe"));
  EXPECT_EQ(q3.shell.calls[0].parameters, "+exec myconfig");
  EXPECT_EQ(q3.shell.calls[0].workingFolder, q3.game);
  EXPECT_TRUE(q3.gameWindow.IsRunning());
  EXPECT_TRUE(q3.versions.menu().newChecked);
  EXPECT_TRUE(q3.messages.shown.empty());
}

TEST(GenerationSwitch, RunningGameThatWillNotCloseFailsAfterTheLimit) {
  Installation q3(false);
  q3.versions.ShowStartState(true);
  q3.RunGame();
  q3.windows.onClose = nullptr;
  EXPECT_FALSE(q3.versions.Switch(true, ""));
  EXPECT_GE(q3.clock.now - 1000, kGameWaitLimitMs);
  EXPECT_TRUE(q3.files.renames.empty());
  EXPECT_TRUE(q3.shell.calls.empty());
  ASSERT_EQ(q3.messages.shown.size(), 1u);
  EXPECT_EQ(q3.messages.shown[0].text, kToNewFailed);
  EXPECT_TRUE(q3.versions.menu().oldChecked);
}

TEST(GenerationSwitch, RenamesThatKeepFailingGiveUpAfterTheLimit) {
  Installation q3(true);
  q3.versions.ShowStartState(true);
  q3.RunGame();
  q3.files.refusals[q3.Path("baseq3/pak5.pk3")] = -1;
  EXPECT_FALSE(q3.versions.Switch(false, ""));
  const uint32_t waited = q3.clock.now - 1000;
  EXPECT_GE(waited, kGameWaitLimitMs);
  EXPECT_LT(waited, kGameWaitLimitMs + 1000);
  // Each pass tries only the rename that has not worked yet.
  const auto tries = [&](const std::string& rename) {
    return std::count(q3.files.renames.begin(), q3.files.renames.end(), rename);
  };
  EXPECT_EQ(tries("quake3.exe>newversion"), 1);
  EXPECT_GT(tries("pak5.pk3>pak5.zip"), 100);
  EXPECT_TRUE(q3.shell.calls.empty());
  ASSERT_EQ(q3.messages.shown.size(), 1u);
  EXPECT_EQ(q3.messages.shown[0].text, kToOldFailed);
}

TEST(GenerationSwitch, RestartedGameThatNeverComesUpFailsAfterTheLimit) {
  Installation q3(true);
  q3.versions.ShowStartState(true);
  q3.RunGame();
  q3.shell.onStart = nullptr;
  EXPECT_FALSE(q3.versions.Switch(false, ""));
  EXPECT_EQ(q3.shell.calls.size(), 1u);
  ASSERT_EQ(q3.messages.shown.size(), 1u);
  EXPECT_EQ(q3.messages.shown[0].text, kToOldFailed);
  // The files did change, and the marks say so.
  EXPECT_FALSE(q3.install.IsNewGenerationActive());
  EXPECT_TRUE(q3.versions.menu().oldChecked);
}

TEST(GenerationSwitch, GameThatCannotStartIsReportedWithItsPath) {
  Installation q3(true);
  q3.versions.ShowStartState(true);
  q3.RunGame();
  q3.shell.result = {false, "This is a Windows program and wine is not installed."};
  EXPECT_TRUE(q3.versions.Switch(false, ""));
  ASSERT_EQ(q3.messages.shown.size(), 1u);
  EXPECT_EQ(q3.messages.shown[0].caption, "RWT: Game Start Error");
  EXPECT_EQ(q3.messages.shown[0].text, "Could not start " + q3.Path("quake3.exe") +
                                           "\r\nThis is a Windows program and wine is not "
                                           "installed.");
  EXPECT_TRUE(q3.versions.menu().oldChecked);
}

TEST(GenerationSwitch, ProgramEndPutsBackTheChosenGeneration) {
  Installation newActive(true);
  newActive.versions.RestoreAtExit(true, "");
  EXPECT_TRUE(newActive.files.renames.empty());
  newActive.versions.RestoreAtExit(false, "");
  EXPECT_FALSE(newActive.install.IsNewGenerationActive());

  Installation oldActive(false);
  oldActive.versions.RestoreAtExit(false, "");
  EXPECT_TRUE(oldActive.files.renames.empty());
  oldActive.versions.RestoreAtExit(true, "");
  EXPECT_TRUE(oldActive.install.IsNewGenerationActive());

  Installation unavailable(true);
  std::filesystem::remove(unavailable.Path("oldversion"));
  unavailable.versions.RestoreAtExit(false, "");
  EXPECT_TRUE(unavailable.files.renames.empty());
}

}  // namespace
}  // namespace rw
