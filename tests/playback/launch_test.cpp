#include "playback/launch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "host/fake/fake_host.h"
#include "host/fake/fake_processes.h"
#include "host/fake/fake_windows.h"
#include "host/posix/posix_shell.h"
#include "support/test_files.h"
#include "support/zip_writer.h"

namespace rw {
namespace {

constexpr const char* kTooMany =
    "Perhaps there are too many items in playlist. Less than 30 items in playlist should be "
    "save.\r\nTry to play the list nevertheless ?";

// A game folder in a temporary directory, with the fake desktop around it.
struct Game {
  test::TempDir dir;
  FakeFileSystem files;
  FakeMessages messages;
  FakeWindowSystem windows;
  CountingPump pump;
  FakeClock clock;
  FakeShell shell;
  GameWindow gameWindow{windows, pump, clock};
  FakeProcessTable processes;
  std::string game = dir.Join("Quake III Arena");
  GameInstall install{files, game};
  RunningGame running{install, {files, processes, gameWindow, pump, clock}};
  GenerationSwitch versions{install, {files, running, shell, messages, pump, clock}};
  Extractor extractor{clock, pump, files};
  Launch launch{install, {files, messages, running, versions, shell, extractor}};
  LaunchOptions options;
  WindowId main = 0;
  WindowId console = 0;

  Game() {
    Add("quake3.exe", "game");
    Add("baseq3/pak0.pk3", "pak");
    Add("OSP/zz.pk3", "osp");
    std::filesystem::create_directories(Path("baseq3/demos"));
    FindPrograms();
  }
  // Nothing outside the game folder: no system engine, nothing on PATH.
  void FindPrograms() {
    install.FindPrograms({.userHome = dir.Join("user"), .systemPrefix = dir.Join("none")});
    install.ScanMods();
  }
  std::string Path(std::string_view relative) const { return game + "/" + std::string(relative); }
  void Add(std::string_view relative, std::string_view bytes) { AddAt(Path(relative), bytes); }
  static void AddAt(const std::string& path, std::string_view bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    test::WriteBytes(path, bytes);
  }
  bool Has(std::string_view relative) const { return std::filesystem::exists(Path(relative)); }
  std::string Staged(std::string_view name) const {
    return test::ReadBytes(Path("baseq3/demos/" + std::string(name)));
  }
  std::string Script() const { return test::ReadBytes(Path("baseq3/rwttmp.rwt")); }
  // The chain lines of the script, "set d1 ..." and on.
  std::vector<std::string> Chain() const {
    std::vector<std::string> lines;
    const std::string script = Script();
    size_t start = 0;
    while (start < script.size()) {
      const size_t end = script.find("\r\n", start);
      const std::string line = script.substr(start, end - start);
      if (line.size() > 5 && line.starts_with("set d") && std::isdigit(line[5])) {
        lines.push_back(line);
      }
      start = end == std::string::npos ? script.size() : end + 2;
    }
    return lines;
  }
  // The running game with its console's input line.
  WindowId RunGame() {
    main = windows.AddTopLevel("Quake 3: Arena", "Quake 3: Arena");
    console = windows.AddTopLevel("Q3 WinConsole", "Quake 3 Console");
    windows.AddChild(console, "Edit", kReadOnlyEditStyle);
    return windows.AddChild(console, "Edit");
  }

  bool Play(const ListRow& row) { return launch.PlayOneDemo(row, options); }
  bool PlayList(const std::vector<ListRow>& rows) {
    RowList list;
    for (const ListRow& row : rows) list.push_back({row, false});
    return launch.CreatePlaylist(list, options);
  }
};

// A row as the lists give it: name, folder inside the archive, mod, protocol, location.
ListRow Row(const std::string& name, const std::string& location, const std::string& protocol,
            const std::string& mod = "baseq3", const std::string& archiveFolder = "") {
  ListRow row;
  row[0] = name;
  row[3] = archiveFolder;
  row[8] = mod;
  row[13] = protocol;
  row[21] = location;
  return row;
}

TEST(TemporaryDemoName, PositionInTwoDigitsAtLeastAndTheExtensionTheDemoIsPlayedUnder) {
  EXPECT_EQ(TemporaryDemoName(0, "48", "a.dm_48"), "rwttmp00.dm_48");
  EXPECT_EQ(TemporaryDemoName(7, "48", "a.DM3"), "rwttmp07.dm_48");
  EXPECT_EQ(TemporaryDemoName(123, "45", "a.dm3"), "rwttmp123.dm3");
  EXPECT_EQ(TemporaryDemoName(12, "43", "a.dm3"), "rwttmp12.dm3");
  EXPECT_EQ(TemporaryDemoName(3, "67", "a.dm_68"), "rwttmp03.dm_67");
  // A 68 client on an ioquake3 server whose info says 71.
  EXPECT_EQ(TemporaryDemoName(4, "71", "Run.DM_68"), "rwttmp04.dm_68");
}

TEST(Launch, NewDemoInASubFolderWithoutBlanksIsPlayedWhereItLies) {
  Game g;
  g.Add("baseq3/demos/Cup/Final.DM_48", "final");
  ASSERT_TRUE(g.Play(Row("Final.DM_48", g.Path("baseq3/demos/Cup"), "48")));
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp00.dm_48"));
  ASSERT_EQ(g.Chain().size(), 1u);
  EXPECT_TRUE(g.Chain()[0].starts_with(
      "set d1 \"demo cup/final.dm_48; set actualdemo echo Playing demo: ^3final.dm_48;"))
      << g.Chain()[0];
  ASSERT_EQ(g.shell.calls.size(), 1u);
  EXPECT_EQ(g.shell.calls[0].program, g.Path("quake3.exe"));
  EXPECT_EQ(g.shell.calls[0].workingFolder, g.game);
  EXPECT_EQ(g.launch.currentModFolder(), g.Path("baseq3"));
}

TEST(Launch, NewDemoInASubFolderWithABlankIsCopied) {
  Game g;
  g.Add("baseq3/demos/My Cup/final.dm_48", "final");
  ASSERT_TRUE(g.Play(Row("final.dm_48", g.Path("baseq3/demos/My Cup"), "48")));
  EXPECT_EQ(g.Staged("rwttmp00.dm_48"), "final");
  ASSERT_EQ(g.Chain().size(), 1u);
  EXPECT_TRUE(g.Chain()[0].starts_with("set d1 \"demo rwttmp00.dm_48; set actualdemo echo"));
}

// Names are UTF-8; the echo shows the name lowered, in the game's code page.
TEST(Launch, SingleDemoWithAnAccentedNameEchoesItLoweredInTheGamesCodePage) {
  Game g;
  g.Add("baseq3/demos/My Cup/B\xC3\x84R.dm_48", "final");
  ASSERT_TRUE(g.Play(Row("B\xC3\x84R.dm_48", g.Path("baseq3/demos/My Cup"), "48")));
  ASSERT_EQ(g.Chain().size(), 1u);
  EXPECT_NE(g.Chain()[0].find("echo Playing demo: ^3b\xE4r.dm_48;"), std::string::npos)
      << g.Chain()[0];
}

TEST(Launch, ArchiveMemberInTheDemosFolderOfABasePackIsInPlace) {
  Game g;
  g.Add("baseq3/zdemos.pk3", test::ZipBytes({{"demos/Duel.dm_48", "duel"}}));
  g.Add("baseq3/more/deep.pk3", test::ZipBytes({{"demos/Duel.dm_48", "deep"}}));
  g.Add("baseq3/sub.pk3", test::ZipBytes({{"demos/cup/Duel.dm_48", "sub"}}));

  ASSERT_TRUE(g.Play(Row("Duel.dm_48", g.Path("baseq3/zdemos.pk3"), "48", "baseq3", "demos")));
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp00.dm_48"));
  EXPECT_TRUE(g.Chain()[0].starts_with("set d1 \"demo Duel.dm_48;"));

  ASSERT_TRUE(g.Play(Row("Duel.dm_48", g.Path("baseq3/more/deep.pk3"), "48", "baseq3", "demos")));
  EXPECT_EQ(g.Staged("rwttmp00.dm_48"), "deep");
  EXPECT_TRUE(g.Chain()[0].starts_with("set d1 \"demo rwttmp00.dm_48;"));

  ASSERT_TRUE(g.Play(Row("Duel.dm_48", g.Path("baseq3/sub.pk3"), "48", "baseq3", "demos\\cup")));
  EXPECT_EQ(g.Staged("rwttmp00.dm_48"), "sub");
  EXPECT_TRUE(g.messages.shown.empty());
}

TEST(Launch, SingleDemoThatCannotBeStagedIsNotPlayed) {
  Game g;
  ASSERT_FALSE(g.Play(Row("lost.dm3", g.dir.Join("elsewhere"), "43")));
  ASSERT_EQ(g.messages.shown.size(), 1u);
  EXPECT_EQ(g.messages.shown[0].caption, "File Copy ERROR");
  EXPECT_EQ(g.messages.shown[0].text, "Could not copy file lost.dm3!");
  EXPECT_EQ(g.messages.shown[0].icon, MessageIcon::kError);

  g.AddAt(g.dir.Join("set.zip"), test::ZipBytes({{"other.dm3", "x"}}));
  ASSERT_FALSE(g.Play(Row("lost.dm3", g.dir.Join("set.zip"), "43")));
  EXPECT_EQ(g.messages.shown[1].caption, "File Extract/Copy ERROR");
  EXPECT_EQ(g.messages.shown[1].text,
            "Could not extract file lost.dm3 from archive " + g.dir.Join("set.zip") + "!");
  EXPECT_FALSE(g.Has("baseq3/rwttmp.rwt"));
  EXPECT_TRUE(g.shell.calls.empty());
}

TEST(Launch, PlayListOfInPlaceDemosCopiesNothing) {
  Game g;
  g.Add("baseq3/demos/a.dm_48", "a");
  g.Add("baseq3/demos/cup/B.dm_48", "b");
  ASSERT_TRUE(g.PlayList({Row("a.dm_48", g.Path("baseq3/demos"), "48"),
                          Row("B.dm_48", g.Path("baseq3/demos/cup"), "48")}));
  const std::vector<std::string> chain = g.Chain();
  ASSERT_EQ(chain.size(), 2u);
  EXPECT_TRUE(
      chain[0].starts_with("set d1 \"demo a.dm_48; set actualdemo echo Demo #^21^7 of "
                           "^22^7: ^3a.dm_48;"));
  EXPECT_TRUE(chain[1].starts_with("set d2 \"demo cup/b.dm_48;")) << chain[1];
  EXPECT_NE(g.Script().find("// " + g.Path("baseq3/demos/cup/B.dm_48") + "\r\n"),
            std::string::npos);
  const auto demos = std::filesystem::directory_iterator(g.Path("baseq3/demos"));
  EXPECT_EQ(std::distance(begin(demos), end(demos)), 2);  // a.dm_48 and cup
}

TEST(Launch, GenerationMismatchStopsAndRemovesTheCopiesMade) {
  Game g;
  g.AddAt(g.dir.Join("old/one.dm3"), "one");
  g.AddAt(g.dir.Join("new/two.dm_48"), "two");
  const std::vector<ListRow> rows = {Row("one.dm3", g.dir.Join("old"), "45"),
                                     Row("two.dm_48", g.dir.Join("new"), "48")};
  g.Add("baseq3/rwttmp.rwt", "earlier script");
  ASSERT_FALSE(g.PlayList(rows));
  ASSERT_EQ(g.messages.shown.size(), 1u);
  EXPECT_EQ(g.messages.shown[0].caption, "Protocol Version Mismatch in Playlist");
  EXPECT_EQ(g.messages.shown[0].text,
            "Demo \"one.dm3\" has protocol version 45\r\nDemo \"two.dm_48\" has protocol "
            "version 48\r\nPlaylist can not be played!");
  EXPECT_EQ(g.messages.shown[0].icon, MessageIcon::kError);
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp00.dm3"));
  EXPECT_FALSE(g.Has("baseq3/rwttmp.rwt"));
  EXPECT_TRUE(g.shell.calls.empty());

  // While the game runs, its files stay.
  g.RunGame();
  ASSERT_FALSE(g.PlayList(rows));
  EXPECT_EQ(g.Staged("rwttmp00.dm3"), "one");
}

TEST(Launch, A1_27DemoAndA1_32DemoAreNotPlayedTogetherBut66To68Are) {
  Game g;
  // The Windows game of the point release 1.32 (pak4 of 1.27, pak8 of 1.32) plays 66 to 68.
  g.Add("baseq3/pak4.pk3", "pak4");
  g.Add("baseq3/pak8.pk3", "pak8");
  g.FindPrograms();
  g.AddAt(g.dir.Join("new/two.dm_48"), "two");
  g.AddAt(g.dir.Join("later/three.dm_67"), "three");
  g.AddAt(g.dir.Join("later/four.dm_68"), "four");
  ASSERT_FALSE(g.PlayList(
      {Row("two.dm_48", g.dir.Join("new"), "48"), Row("three.dm_67", g.dir.Join("later"), "67")}));
  ASSERT_EQ(g.messages.shown.size(), 1u);
  EXPECT_EQ(g.messages.shown[0].caption, "Protocol Version Mismatch in Playlist");
  // A 68 client's demo on a server that names protocol 71 is of the same generation.
  ASSERT_TRUE(g.PlayList({Row("three.dm_67", g.dir.Join("later"), "67"),
                          Row("four.dm_68", g.dir.Join("later"), "71")}));
  EXPECT_EQ(g.Staged("rwttmp00.dm_67"), "three");
  EXPECT_EQ(g.Staged("rwttmp01.dm_68"), "four");
}

TEST(Launch, ModMismatchOnlyWhilePlayingAsModDemos) {
  Game g;
  g.AddAt(g.dir.Join("d/base.dm_48"), "b");
  g.AddAt(g.dir.Join("d/osp.dm_48"), "o");
  const std::vector<ListRow> rows = {Row("base.dm_48", g.dir.Join("d"), "48", "baseq3"),
                                     Row("osp.dm_48", g.dir.Join("d"), "48", "osp")};
  ASSERT_FALSE(g.PlayList(rows));
  ASSERT_EQ(g.messages.shown.size(), 1u);
  EXPECT_EQ(g.messages.shown[0].caption, "MOD Mismatch in Playlist");
  EXPECT_EQ(g.messages.shown[0].text,
            "Demo \"base.dm_48\" is from MOD 'baseq3'\r\nDemo \"osp.dm_48\" is from MOD "
            "'OSP'\r\nPlaylist can not be played!\r\n\r\nTry do uncheck \"Options/Play Demos as "
            "Mod Demos\".");
  EXPECT_TRUE(g.shell.calls.empty());

  g.options.modDemos = false;
  ASSERT_TRUE(g.PlayList({rows[1], rows[0]}));
  ASSERT_EQ(g.shell.calls.size(), 1u);
  EXPECT_EQ(g.shell.calls[0].parameters, "  +exec rwttmp.rwt");
}

TEST(Launch, ModDemosStartTheGameWithTheModsFolder) {
  Game g;
  g.AddAt(g.dir.Join("d/osp.dm_48"), "o");
  g.options.globalParameters = "+exec myconfig";
  ASSERT_TRUE(g.Play(Row("osp.dm_48", g.dir.Join("d"), "48", "osp")));
  ASSERT_EQ(g.shell.calls.size(), 1u);
  EXPECT_EQ(g.shell.calls[0].parameters, "+exec myconfig +set fs_game OSP +exec rwttmp.rwt");
  EXPECT_EQ(g.launch.currentModFolder(), g.Path("OSP"));
}

TEST(Launch, PositionsNameTheTemporaryCopies) {
  Game g;
  g.AddAt(g.dir.Join("d/new.dm_48"), "new");
  std::vector<ListRow> rows(8, Row("new.dm_48", g.dir.Join("d"), "48"));
  ASSERT_TRUE(g.PlayList(rows));
  EXPECT_EQ(g.Staged("rwttmp07.dm_48"), "new");
  const std::vector<std::string> chain = g.Chain();
  ASSERT_EQ(chain.size(), 8u);
  EXPECT_TRUE(chain[7].starts_with("set d8 \"demo rwttmp07.dm_48;"));

  g.AddAt(g.dir.Join("d/old.dm3"), "old");
  g.messages.answers.push_back(MessageAnswer::kYes);
  ASSERT_TRUE(g.PlayList(std::vector<ListRow>(124, Row("old.dm3", g.dir.Join("d"), "43"))));
  EXPECT_EQ(g.Staged("rwttmp123.dm3"), "old");
  EXPECT_TRUE(g.Chain()[123].starts_with("set d124 \"demo rwttmp123.dm3;"));
}

TEST(Launch, ThirtyEntriesAskFirst) {
  Game g;
  g.Add("baseq3/demos/a.dm_48", "a");
  const ListRow row = Row("a.dm_48", g.Path("baseq3/demos"), "48");
  ASSERT_TRUE(g.PlayList(std::vector<ListRow>(29, row)));
  EXPECT_TRUE(g.messages.shown.empty());

  ASSERT_FALSE(g.PlayList(std::vector<ListRow>(30, row)));
  ASSERT_EQ(g.messages.shown.size(), 1u);
  EXPECT_EQ(g.messages.shown[0].caption, "Q3A Limitation Warning: Cbuf_InsertText overflowed");
  EXPECT_EQ(g.messages.shown[0].text, kTooMany);
  EXPECT_EQ(g.messages.shown[0].icon, MessageIcon::kQuestion);
  EXPECT_EQ(g.messages.shown[0].buttons, MessageButtons::kYesNo);
  EXPECT_EQ(g.shell.calls.size(), 1u);

  g.messages.answers.push_back(MessageAnswer::kYes);
  ASSERT_TRUE(g.PlayList(std::vector<ListRow>(30, row)));
  EXPECT_EQ(g.Chain().size(), 30u);
  EXPECT_EQ(g.shell.calls.size(), 2u);
}

TEST(Launch, EntriesThatFailAreLeftOutAndTheListGoesOn) {
  Game g;
  g.AddAt(g.dir.Join("d/set.zip"), test::ZipBytes({{"demos/kept.dm3", "kept"}}));
  g.AddAt(g.dir.Join("d/last.dm3"), "last");
  int staged = 0;
  g.launch.onPlayListStaged = [&] { ++staged; };
  ASSERT_TRUE(g.PlayList({Row("gone.dm3", g.dir.Join("d/set.zip"), "43", "baseq3", "demos"),
                          Row("kept.dm3", g.dir.Join("d/set.zip"), "43", "baseq3", "demos"),
                          Row("unread.dm3", g.dir.Join("d"), "43", "n/a"),
                          Row("missing.dm3", g.dir.Join("d"), "43"),
                          Row("last.dm3", g.dir.Join("d"), "43")}));
  ASSERT_EQ(g.messages.shown.size(), 2u);
  EXPECT_EQ(g.messages.shown[0].text,
            "Could not extract file gone.dm3 from archive " + g.dir.Join("d/set.zip") + "!");
  EXPECT_EQ(g.messages.shown[1].text, "Could not copy file missing.dm3!");
  EXPECT_EQ(g.Staged("rwttmp01.dm3"), "kept");
  EXPECT_EQ(g.Staged("rwttmp04.dm3"), "last");
  const std::vector<std::string> chain = g.Chain();
  ASSERT_EQ(chain.size(), 2u);
  EXPECT_TRUE(chain[0].starts_with(
      "set d1 \"demo rwttmp01.dm3; set actualdemo echo Demo #^21^7 of ^22^7: ^3kept.dm3;"));
  EXPECT_TRUE(chain[1].starts_with("set d2 \"demo rwttmp04.dm3;"));
  EXPECT_NE(g.Script().find("// \x01" + g.dir.Join("d/set.zip") + "\\kept.dm3\r\n"),
            std::string::npos);
  EXPECT_EQ(staged, 1);
}

TEST(Launch, NoEntryStagedStartsNothing) {
  Game g;
  ASSERT_FALSE(g.PlayList({Row("missing.dm3", g.dir.Join("d"), "43"),
                           Row("unread.dm3", g.dir.Join("d"), "43", "n/a")}));
  ASSERT_EQ(g.messages.shown.size(), 2u);
  EXPECT_EQ(g.messages.shown[1].caption, "Playlist Error");
  EXPECT_EQ(g.messages.shown[1].icon, MessageIcon::kError);
  EXPECT_FALSE(g.Has("baseq3/rwttmp.rwt"));
  EXPECT_TRUE(g.shell.calls.empty());
}

TEST(Launch, RunningGameOnlyGetsTheExecLine) {
  Game g;
  const WindowId input = g.RunGame();
  g.Add("baseq3/demos/a.dm_48", "a");
  ASSERT_TRUE(g.Play(Row("a.dm_48", g.Path("baseq3/demos"), "48")));
  EXPECT_EQ(g.windows.TypedInto(input), "exec rwttmp.rwt\r");
  EXPECT_EQ(g.windows.CloseRequests(g.main), 0);
  EXPECT_TRUE(g.shell.calls.empty());

  // A mod argument needs a fresh start.
  g.AddAt(g.dir.Join("d/osp.dm_48"), "o");
  ASSERT_TRUE(g.Play(Row("osp.dm_48", g.dir.Join("d"), "48", "OSP")));
  EXPECT_EQ(g.windows.TypedInto(input), "exec rwttmp.rwt\r");
  EXPECT_EQ(g.windows.CloseRequests(g.main), 1);
  ASSERT_EQ(g.shell.calls.size(), 1u);
  EXPECT_EQ(g.shell.calls[0].parameters, " +set fs_game OSP +exec rwttmp.rwt");
}

TEST(Launch, UndeliverableConsoleLineRestartsTheGame) {
  Game g;
  g.main = g.windows.AddTopLevel("Quake 3: Arena", "Quake 3: Arena");
  g.console = g.windows.AddTopLevel("Q3 WinConsole", "Quake 3 Console");
  g.windows.AddChild(g.console, "Edit", kReadOnlyEditStyle);
  g.Add("baseq3/demos/a.dm_48", "a");
  ASSERT_TRUE(g.PlayList({Row("a.dm_48", g.Path("baseq3/demos"), "48")}));
  EXPECT_EQ(g.windows.CloseRequests(g.main), 1);
  ASSERT_EQ(g.shell.calls.size(), 1u);
  EXPECT_EQ(g.shell.calls[0].parameters, "  +exec rwttmp.rwt");
  EXPECT_EQ(g.shell.calls[0].workingFolder, g.game);
}

TEST(Launch, GameThatCannotStartIsReportedWithItsPath) {
  Game g;
  g.shell.result = {false, "The program is not executable."};
  g.Add("baseq3/demos/a.dm_48", "a");
  EXPECT_FALSE(g.Play(Row("a.dm_48", g.Path("baseq3/demos"), "48")));
  ASSERT_EQ(g.messages.shown.size(), 1u);
  EXPECT_NE(g.messages.shown[0].text.find(g.Path("quake3.exe")), std::string::npos);
}

TEST(Launch, SwitchesToTheDemosGeneration) {
  Game g;
  g.Add("newversion", "new game");
  g.Add("baseq3/pak4.zip", "4");
  g.Add("baseq3/pak5.zip", "5");
  g.Add("baseq3/demos/a.dm_48", "a");
  const ListRow row = Row("a.dm_48", g.Path("baseq3/demos"), "48");

  g.options.switchVersions = false;
  ASSERT_TRUE(g.Play(row));
  EXPECT_TRUE(g.Has("newversion"));

  g.options.switchVersions = true;
  ASSERT_TRUE(g.Play(row));
  EXPECT_TRUE(g.Has("oldversion"));
  EXPECT_TRUE(g.Has("baseq3/pak4.pk3"));
  EXPECT_TRUE(g.Has("baseq3/pak5.pk3"));
  EXPECT_EQ(test::ReadBytes(g.Path("quake3.exe")), "new game");
}

TEST(Launch, RemovesOnlyItsOwnFilesAndOnlyWhileTheGameIsDown) {
  Game g;
  g.Add("baseq3/demos/rwttmp00.dm3", "x");
  g.Add("baseq3/demos/rwttmp123.dm_48", "x");
  g.Add("baseq3/demos/mine.dm3", "x");
  g.Add("baseq3/rwttmp.rwt", "x");
  g.Add("baseq3/rwttmp00.dm3", "x");
  g.RunGame();
  g.launch.RemoveTemporaryFiles();
  EXPECT_TRUE(g.Has("baseq3/demos/rwttmp00.dm3"));
  g.windows.Remove(g.main);
  g.launch.RemoveTemporaryFiles();
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp00.dm3"));
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp123.dm_48"));
  EXPECT_FALSE(g.Has("baseq3/rwttmp.rwt"));
  EXPECT_TRUE(g.Has("baseq3/demos/mine.dm3"));
  EXPECT_TRUE(g.Has("baseq3/rwttmp00.dm3"));
}

TEST(Launch, UsersFilesThatLookLikeCopiesStay) {
  Game g;
  const std::vector<std::string> users = {"RWTTMP.final.dm_48", "rwttmp_cup.dm3",   "rwttmp5.dm3",
                                          "RWTTMP01.DM3",       "rwttmp01.dm3.bak", "rwttmp01.txt",
                                          "rwttmp.dm_48",       "rwttmp12x.dm_48"};
  for (const std::string& name : users) g.Add("baseq3/demos/" + name, name);
  g.Add("baseq3/demos/rwttmp07.dm_48", "copy");
  g.launch.RemoveTemporaryFiles();
  for (const std::string& name : users) EXPECT_EQ(g.Staged(name), name);
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp07.dm_48"));

  // A user's demo under such a name plays where it lies and stays.
  ASSERT_TRUE(g.Play(Row("rwttmp_cup.dm3", g.Path("baseq3/demos"), "43")));
  EXPECT_TRUE(g.Chain()[0].starts_with("set d1 \"demo RWTTMP_CUP; ")) << g.Chain()[0];
  g.launch.RemoveTemporaryFiles();
  EXPECT_EQ(g.Staged("rwttmp_cup.dm3"), "rwttmp_cup.dm3");
}

TEST(Launch, NamesTheConsoleWouldSplitPlayFromACopy) {
  Game g;
  g.Add("baseq3/demos/cup/a;quit.dm_48", "semicolon");
  g.Add("baseq3/demos/b\xe4r.dm_48", "letter");
  g.Add("baseq3/demos/tab\t.dm_48", "control");
  g.Add("baseq3/demos/plain.dm_48", "plain");
  ASSERT_TRUE(g.PlayList({Row("a;quit.dm_48", g.Path("baseq3/demos/cup"), "48"),
                          Row("b\xe4r.dm_48", g.Path("baseq3/demos"), "48"),
                          Row("tab\t.dm_48", g.Path("baseq3/demos"), "48"),
                          Row("plain.dm_48", g.Path("baseq3/demos"), "48")}));
  EXPECT_EQ(g.Staged("rwttmp00.dm_48"), "semicolon");
  EXPECT_EQ(g.Staged("rwttmp01.dm_48"), "letter");
  EXPECT_EQ(g.Staged("rwttmp02.dm_48"), "control");
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp03.dm_48"));
  const std::vector<std::string> chain = g.Chain();
  ASSERT_EQ(chain.size(), 4u);
  EXPECT_TRUE(
      chain[0].starts_with("set d1 \"demo rwttmp00.dm_48; set actualdemo echo Demo "
                           "#^21^7 of ^24^7: ^3aquit.dm_48; "))
      << chain[0];
  EXPECT_TRUE(chain[3].starts_with("set d4 \"demo plain.dm_48; ")) << chain[3];
}

// The game program of the test: records its working folder and arguments, one a line.
TEST(Launch, StartsTheGameProgramInTheGameFolder) {
  Game g;
  const std::string program = g.Path("quake3.exe");
  test::WriteBytes(program,
                   "#!/bin/sh\n{ pwd -P; for a in \"$@\"; do echo \"$a\"; done; } > \"$0.part\"\n"
                   "mv \"$0.part\" \"$0.record\"\n");
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  PosixShell shell;
  Launch launch{g.install, {g.files, g.messages, g.running, g.versions, shell, g.extractor}};
  g.AddAt(g.dir.Join("d/osp.dm_48"), "o");
  g.options.globalParameters = "+set r_mode 4";
  ASSERT_TRUE(launch.PlayOneDemo(Row("osp.dm_48", g.dir.Join("d"), "48", "osp"), g.options));

  const std::string record = program + ".record";
  for (int wait = 0; wait < 200 && !std::filesystem::exists(record); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(std::filesystem::exists(record));
  EXPECT_EQ(test::ReadBytes(record), std::filesystem::canonical(g.game).string() +
                                         "\n+set\nr_mode\n4\n+set\nfs_game\nOSP\n+exec\n"
                                         "rwttmp.rwt\n");
  EXPECT_TRUE(g.messages.shown.empty());
}

}  // namespace
}  // namespace rw

namespace rw {
namespace {

TEST(Launch, AnOldDemoWithOnlyANativeEngineIsRefusedNamingWhatItNeeds) {
  Game g;
  std::filesystem::remove(g.Path("quake3.exe"));
  g.Add("ioquake3.x86_64", "#!/bin/sh\n");
  g.FindPrograms();
  g.AddAt(g.dir.Join("d/duel.dm3"), "duel");
  EXPECT_FALSE(g.Play(Row("duel.dm3", g.dir.Join("d"), "43")));
  EXPECT_FALSE(g.PlayList({Row("duel.dm3", g.dir.Join("d"), "43")}));
  ASSERT_EQ(g.messages.shown.size(), 2u);
  EXPECT_EQ(g.messages.shown[0].caption, "No Program for this Demo");
  EXPECT_EQ(g.messages.shown[0].text,
            "Demo \"duel.dm3\" has protocol version 43: it plays in quake3.exe of Quake III Arena "
            "1.17.\r\nThe game folder " +
                g.game + " has no such program; it has ioquake3 (" + g.Path("ioquake3.x86_64") +
                ").");
  EXPECT_TRUE(g.shell.calls.empty());
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp00.dm3"));
  EXPECT_FALSE(std::filesystem::exists(g.dir.Join("user/.q3a")));
}

// Wine names the process after the Windows game; its console takes nothing from us.
TEST(Launch, AGameUnderWineIsAskedToBeClosedAndItsFilesStay) {
  Game g;
  g.Add("baseq3/demos/rwttmp00.dm_48", "being played");
  g.Add("baseq3/rwttmp.rwt", "its script");
  // A game program of another folder, started as the script it is, is not this game.
  g.processes.Add("/usr/bin/dash", {"/bin/sh", g.dir.Join("other/quake3.exe")}, "quake3.exe");
  const int game =
      g.processes.Add("/usr/lib/wine/wine64-preloader",
                      {"C:\\Program Files\\Quake III Arena\\quake3.exe"}, "quake3.exe");
  g.AddAt(g.dir.Join("d/new.dm_48"), "new");
  EXPECT_FALSE(g.Play(Row("new.dm_48", g.dir.Join("d"), "48")));
  ASSERT_EQ(g.messages.shown.size(), 1u);
  EXPECT_EQ(g.messages.shown[0].caption, "Game is running");
  EXPECT_NE(g.messages.shown[0].text.find("Close the game, then play again."), std::string::npos);
  EXPECT_TRUE(g.shell.calls.empty());
  EXPECT_EQ(g.Staged("rwttmp00.dm_48"), "being played");
  EXPECT_EQ(g.Script(), "its script");
  g.launch.RemoveTemporaryFiles();
  EXPECT_TRUE(g.Has("baseq3/demos/rwttmp00.dm_48"));

  g.processes.Remove(game);
  g.launch.RemoveTemporaryFiles();
  EXPECT_FALSE(g.Has("baseq3/demos/rwttmp00.dm_48"));
  EXPECT_FALSE(g.Has("baseq3/rwttmp.rwt"));
  ASSERT_TRUE(g.Play(Row("new.dm_48", g.dir.Join("d"), "48")));
  EXPECT_EQ(g.shell.calls.size(), 1u);
}

}  // namespace
}  // namespace rw
