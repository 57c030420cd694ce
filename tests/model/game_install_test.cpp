#include "model/game_install.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/fake/fake_host.h"
#include "support/test_files.h"

namespace rw {
namespace {

// A game folder in a temporary directory.
struct GameFolder {
  test::TempDir dir;
  FakeFileSystem files;
  std::string game = dir.Join("Quake III Arena");
  GameInstall install{files, game};

  GameFolder() {
    Add("quake3.exe");
    Add("baseq3/pak0.pk3");
  }
  std::string Path(std::string_view relative) const { return game + "/" + std::string(relative); }
  void Add(std::string_view relative) {
    std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
    test::WriteBytes(Path(relative), "x");
  }
  void AddFolder(std::string_view relative) { std::filesystem::create_directories(Path(relative)); }
};

TEST(GameInstall, FoldersFollowTheGameFolder) {
  GameFolder g;
  EXPECT_EQ(g.install.baseFolder(), g.Path("baseq3"));
  EXPECT_EQ(g.install.baseDemosFolder(), g.Path("baseq3/demos"));
  EXPECT_EQ(g.install.program(), g.Path("quake3.exe"));
  EXPECT_EQ(g.install.baseArchive(), g.Path("baseq3/pak0.pk3"));
}

TEST(GameInstall, ModTableLeavesOutTheBaseGameAndDotFolders) {
  GameFolder g;
  g.Add("OSP/zz.pk3");
  g.Add("OSP/readme.txt");
  g.Add("OSP/pak1.PK3");
  g.AddFolder("BASEQ3x");
  g.AddFolder(".hidden");
  g.AddFolder("BaseQ3");
  g.install.ScanMods();
  std::vector<std::string> folders;
  for (const ModRecord& record : g.install.mods()) folders.push_back(record.folder);
  std::sort(folders.begin(), folders.end());
  EXPECT_EQ(folders, (std::vector<std::string>{"BASEQ3x", "OSP"}));
  for (const ModRecord& record : g.install.mods()) {
    if (record.folder != "OSP") continue;
    std::vector<std::string> archives = record.archives;
    std::sort(archives.begin(), archives.end());
    EXPECT_EQ(archives, (std::vector<std::string>{"pak1.PK3", "zz.pk3"}));
  }
}

TEST(GameInstall, ModWithArchivesResolvesByFolderName) {
  GameFolder g;
  g.Add("OSP/osp.pk3");
  g.Add("cpma/readme.txt");
  g.install.ScanMods();
  EXPECT_EQ(g.install.ResolveModFolder("osp"), g.game + "/OSP");
  // A folder without archives is never the answer.
  EXPECT_EQ(g.install.ResolveModFolder("cpma"), g.install.baseFolder());
  EXPECT_EQ(g.install.ResolveModFolder(""), g.install.baseFolder());
  EXPECT_EQ(g.install.ResolveModFolder("unknown"), g.install.baseFolder());
}

TEST(GameInstall, ModsResolveInNameOrderWithCaseIgnored) {
  GameFolder g;
  // Neither the order of creation nor byte order is the order of names with case ignored.
  for (const char* folder : {"mb", "Zz", "Ac", "ab"}) g.Add(std::string(folder) + "/osp.pk3");
  g.install.ScanMods();
  std::vector<std::string> folders;
  for (const ModRecord& record : g.install.mods()) folders.push_back(record.folder);
  EXPECT_EQ(folders, (std::vector<std::string>{"ab", "Ac", "mb", "Zz"}));
  EXPECT_EQ(g.install.ResolveModFolder("osp"), g.game + "/ab");
}

TEST(GameInstall, ModResolvesByArchiveName) {
  GameFolder g;
  g.Add("extras/MyFix.pk3");
  g.install.ScanMods();
  EXPECT_EQ(g.install.ResolveModFolder("myfix"), g.game + "/extras");
}

DemoPlace Plain(const GameFolder& g, std::string_view folder, std::string name,
                std::string protocol) {
  return {false, g.Path(folder), std::move(name), std::move(protocol), g.install.baseFolder(), ""};
}

TEST(GameInstall, NewDemoInASubFolderIsInPlaceOnlyWithoutBlanks) {
  GameFolder g;
  EXPECT_TRUE(g.install.IsInPlace(Plain(g, "baseq3/demos/Cup", "Final.dm_48", "48")));
  EXPECT_FALSE(g.install.IsInPlace(Plain(g, "baseq3/demos/Cup 2", "Final.dm_48", "48")));
  EXPECT_FALSE(g.install.IsInPlace(Plain(g, "baseq3/demos/Cup", "The Final.dm_48", "48")));
  EXPECT_FALSE(g.install.IsInPlace(Plain(g, "baseq3/demos2", "Final.dm_48", "48")));
  EXPECT_FALSE(g.install.IsInPlace(Plain(g, "elsewhere", "Final.dm_48", "48")));
  EXPECT_EQ(g.install.RelativePlayName(g.Path("baseq3/demos/Cup/Final.DM_48")), "cup/final.dm_48");
}

TEST(GameInstall, ModDemosAreInPlaceInTheModsDemoFolder) {
  GameFolder g;
  g.Add("OSP/osp.pk3");
  g.install.ScanMods();
  DemoPlace place = Plain(g, "OSP/demos", "duel.dm_48", "48");
  place.modFolder = g.install.ResolveModFolder("osp");
  EXPECT_TRUE(g.install.IsInPlace(place));
  place.location = g.Path("OSP/other");
  EXPECT_FALSE(g.install.IsInPlace(place));
}

TEST(GameInstall, OldDemoPlaysUnderItsShortNameInCapitals) {
  GameFolder g;
  const std::string full = g.Path("baseq3/demos/Long Folder/long demo name.dm3");
  g.files.shortPaths[full] = g.Path("baseq3/demos/LONGFO~1/longde~1.dm3");
  EXPECT_EQ(g.install.RelativePlayName(full), "LONGFO~1/LONGDE~1");
}

TEST(GameInstall, OldDemoWithBlanksIsInPlaceOnlyUnderAShortName) {
  GameFolder g;
  const std::string full = g.Path("baseq3/demos/Cup 2/Final.dm3");
  EXPECT_FALSE(g.install.IsInPlace(Plain(g, "baseq3/demos/Cup 2", "Final.dm3", "43")));
  g.files.shortPaths[full] = g.Path("baseq3/demos/CUP2~1/Final.dm3");
  EXPECT_TRUE(g.install.IsInPlace(Plain(g, "baseq3/demos/Cup 2", "Final.dm3", "43")));
  EXPECT_EQ(g.install.RelativePlayName(full), "CUP2~1/FINAL");
}

TEST(GameInstall, DemosFolderAboveTheGameIsNotTheGames) {
  test::TempDir dir;
  FakeFileSystem files;
  const std::string game = dir.Join("demos/q3");
  const GameInstall install(files, game);
  EXPECT_EQ(install.RelativePlayName(game + "/baseq3/demos/Sub/A.dm_48"), "sub/a.dm_48");
  EXPECT_EQ(install.RelativePlayName(game + "/baseq3/demos/Sub/A.dm3"), "SUB/A");
}

TEST(GameInstall, ArchiveMemberIsInPlaceOnlyInDemosOfABaseOrModArchive) {
  GameFolder g;
  g.Add("OSP/osp.pk3");
  g.install.ScanMods();
  const std::string base = g.install.baseFolder();
  DemoPlace member{true, g.Path("baseq3/mydemos.pk3"), "duel.dm_48", "48", base, "demos"};
  EXPECT_TRUE(g.install.IsInPlace(member));
  DemoPlace deeper = member;
  deeper.location = g.Path("baseq3/a/b/mydemos.pk3");
  EXPECT_FALSE(g.install.IsInPlace(deeper));
  DemoPlace subFolder = member;
  subFolder.archiveFolder = "demos\\cup";
  EXPECT_FALSE(g.install.IsInPlace(subFolder));
  DemoPlace capital = member;
  capital.archiveFolder = "Demos";
  EXPECT_FALSE(g.install.IsInPlace(capital));
  DemoPlace mod = member;
  mod.location = g.Path("OSP/mydemos.pk3");
  mod.modFolder = g.install.ResolveModFolder("osp");
  EXPECT_TRUE(g.install.IsInPlace(mod));
}

TEST(GameInstall, SwitchingNeedsTheSpareProgramAndBothArchives) {
  GameFolder g;
  EXPECT_FALSE(g.install.IsSwitchingAvailable());
  EXPECT_FALSE(g.install.IsNewGenerationActive());
  g.Add("baseq3/pak4.pk3");
  EXPECT_FALSE(g.install.IsSwitchingAvailable());
  EXPECT_TRUE(g.install.IsNewGenerationActive());  // told by pak4.pk3 alone
  g.Add("oldversion");
  EXPECT_FALSE(g.install.IsSwitchingAvailable());
  g.Add("baseq3/pak5.pk3");
  EXPECT_TRUE(g.install.IsSwitchingAvailable());
  EXPECT_TRUE(g.install.IsNewGenerationActive());
}

TEST(GameInstall, OldGenerationIsToldByTheNewSpareProgram) {
  GameFolder g;
  g.Add("newversion");
  g.Add("baseq3/pak4.zip");
  g.Add("baseq3/pak5.zip");
  EXPECT_TRUE(g.install.IsSwitchingAvailable());
  EXPECT_FALSE(g.install.IsNewGenerationActive());
}

}  // namespace
}  // namespace rw
