#include "model/program_paths.h"

#include <gtest/gtest.h>

#include "host/fake/fake_host.h"
#include "support/test_files.h"

namespace rw {
namespace {

TEST(ProgramFolder, OptionThenVariableThenWritableExecutableFolderThenUserData) {
  ProgramFolderSources sources;
  sources.homeOption = "/opt/rw-home/";
  sources.homeVariable = "/env/home";
  sources.executableFolder = "/usr/local/bin";
  sources.executableFolderWritable = true;
  sources.dataHome = "/data";
  sources.userHome = "/home/ann";
  EXPECT_EQ(ChooseProgramFolder(sources), "/opt/rw-home");
  sources.homeOption.clear();
  EXPECT_EQ(ChooseProgramFolder(sources), "/env/home");
  sources.homeVariable.clear();
  EXPECT_EQ(ChooseProgramFolder(sources), "/usr/local/bin");
  sources.executableFolderWritable = false;
  EXPECT_EQ(ChooseProgramFolder(sources), "/data/Reelwright");
  sources.dataHome.clear();
  EXPECT_EQ(ChooseProgramFolder(sources), "/home/ann/.local/share/Reelwright");
  sources.userHome.clear();
  EXPECT_EQ(ChooseProgramFolder(sources), "/usr/local/bin");
  sources.executableFolder.clear();
  EXPECT_EQ(ChooseProgramFolder(sources), ".");
}

TEST(ProgramFolder, GameFolderDefaultsIntoTheWinePrefix) {
  EXPECT_EQ(DefaultGameFolder("/games/wine/", "/home/ann"),
            "/games/wine/drive_c/Program Files/Quake III Arena");
  EXPECT_EQ(DefaultGameFolder("", "/home/ann"),
            "/home/ann/.wine/drive_c/Program Files/Quake III Arena");
  EXPECT_EQ(DefaultGameFolder("", ""), "c:\\Program Files\\Quake III Arena");
}

TEST(ProgramPaths, DerivedFromProgramAndGameFolders) {
  const ProgramPaths p = DeriveProgramPaths("/home/ann/rw/", "/q3");
  EXPECT_EQ(p.programFolder, "/home/ann/rw");
  EXPECT_EQ(p.configFile, "/home/ann/rw/Reelwright.cfg");
  EXPECT_EQ(p.gameFolder, "/q3");
  EXPECT_EQ(p.baseFolder, "/q3/baseq3");
  EXPECT_EQ(p.baseDemoFolder, "/q3/baseq3/demos");
  EXPECT_EQ(p.baseArchive, "/q3/baseq3/pak0.pk3");
  EXPECT_EQ(p.dataFolder, "/home/ann/rw/RWT Data");
  EXPECT_EQ(p.userDataFolder, "/home/ann/rw/RWT Data/Demos");
  EXPECT_EQ(p.playerFolder, "/home/ann/rw/RWT Data/Players");
  EXPECT_EQ(p.playListFolder, "/home/ann/rw/Playlists");
}

TEST(ProgramPaths, FoldersAreCreatedAndFailuresIgnored) {
  test::TempDir dir;
  FakeFileSystem fs;
  const ProgramPaths p = DeriveProgramPaths(dir.Join("share/Reelwright"), "/q3");
  CreateProgramFolders(fs, p);
  for (const std::string& folder :
       {p.programFolder, p.dataFolder, p.userDataFolder, p.playerFolder, p.playListFolder}) {
    EXPECT_TRUE(fs.IsFolder(folder)) << folder;
  }

  test::WriteBytes(dir.Join("blocked"), "a file where the program folder should be");
  const ProgramPaths blocked = DeriveProgramPaths(dir.Join("blocked"), "/q3");
  CreateProgramFolders(fs, blocked);
  EXPECT_FALSE(fs.IsFolder(blocked.dataFolder));
}

}  // namespace
}  // namespace rw
