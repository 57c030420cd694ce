#include "model/game_programs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/fake/fake_host.h"
#include "model/game_install.h"
#include "support/test_files.h"

namespace rw {
namespace {

// Installations laid out in a temporary folder as Debian, the engines' installers, Wine and a
// user's PATH lay them out.
struct Machine {
  test::TempDir dir;
  FakeFileSystem files;
  EngineSearch search{.userHome = dir.Join("user"), .systemPrefix = dir.Join("usr")};

  std::string Add(const std::string& relative, std::string_view bytes = "#!/bin/sh\n") {
    const std::string path = dir.Join(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    test::WriteBytes(path, bytes);
    return path;
  }
  std::string Folder(const std::string& relative) {
    std::filesystem::create_directories(dir.Join(relative));
    return dir.Join(relative);
  }
  std::vector<GameProgram> Find(const std::string& relative) {
    return FindGamePrograms(files, dir.Join(relative), search);
  }
};

std::vector<std::string> Paths(const std::vector<GameProgram>& programs) {
  std::vector<std::string> paths;
  for (const GameProgram& program : programs) paths.push_back(program.path);
  return paths;
}

TEST(GamePrograms, AnInstallersFolderPlaysWithItsOwnEnginesOnly) {
  Machine m;
  const std::string windows = m.Add("q3/quake3.exe", "MZ");
  const std::string quake3e = m.Add("q3/quake3e.x64");
  const std::string ioquake3 = m.Add("q3/ioquake3.x86_64");
  m.Add("q3/ioq3ded.x86_64");  // a server plays no demos
  m.Folder("q3/baseq3");
  m.Add("usr/lib/ioquake3/ioquake3");
  m.search.searchPath = {m.dir.Join("bin")};
  m.Add("bin/quake3e");

  const std::vector<GameProgram> programs = m.Find("q3");
  ASSERT_EQ(Paths(programs), (std::vector<std::string>{windows, ioquake3, quake3e}));
  const GameProgram& engine = programs[1];
  EXPECT_EQ(engine.kind, EngineKind::kIoquake3);
  EXPECT_EQ(engine.origin, ProgramOrigin::kGameFolder);
  EXPECT_EQ(engine.basePath, m.dir.Join("q3"));
  EXPECT_EQ(engine.homePath, m.dir.Join("user/.q3a"));
  EXPECT_EQ(engine.StagingFolder(), m.dir.Join("user/.q3a/baseq3"));
  EXPECT_FALSE(engine.needsBasePath);
  EXPECT_TRUE(engine.hasCommandPipe());
  EXPECT_FALSE(programs[2].hasCommandPipe());
  // The Windows game stages where it reads: its own folder.
  EXPECT_EQ(programs[0].StagingFolder(), m.dir.Join("q3/baseq3"));
}

TEST(GamePrograms, DebiansDataFolderPlaysInTheEngineOfItsPrefixAndThoseOnPath) {
  Machine m;
  const std::string data = m.Folder("deb/usr/share/games/quake3/baseq3");
  const std::string engine = m.Add("deb/usr/lib/ioquake3/ioquake3");
  m.Add("deb/usr/games/ioquake3");  // a wrapper that starts the engine
  const std::string onPath = m.Add("bin/quake3e.x64");
  m.Add("usr/lib/ioquake3/ioquake3");  // the system's, not this layout's
  m.search.searchPath = {m.dir.Join("deb/usr/games"), m.dir.Join("bin") + "/"};
  m.search.globalParameters = "+set r_mode 4 +set fs_homepath \"" + m.dir.Join("my home") + "\"";

  const std::vector<GameProgram> programs = m.Find("deb/usr/share/games/quake3");
  ASSERT_EQ(Paths(programs), (std::vector<std::string>{engine, onPath}));
  EXPECT_EQ(programs[0].origin, ProgramOrigin::kSystem);
  EXPECT_EQ(programs[1].origin, ProgramOrigin::kSearchPath);
  for (const GameProgram& program : programs) {
    EXPECT_TRUE(program.needsBasePath);
    EXPECT_EQ(program.basePath, m.dir.Join("deb/usr/share/games/quake3"));
    EXPECT_EQ(program.homePath, m.dir.Join("my home"));
  }
  // Without a baseq3 folder a folder is no game for an engine elsewhere.
  m.Folder("empty");
  EXPECT_TRUE(m.Find("empty").empty());
  std::filesystem::remove_all(data);
  EXPECT_TRUE(m.Find("deb/usr/share/games/quake3").empty());
}

TEST(GamePrograms, WhichProgramPlaysWhichGeneration) {
  Machine m;
  m.Add("q3/quake3.exe", "MZ");
  m.Add("q3/oldversion", "MZ");
  m.Add("q3/baseq3/pak4.pk3", "4");
  m.Add("q3/baseq3/pak5.pk3", "5");
  std::vector<GameProgram> programs = m.Find("q3");
  ASSERT_EQ(programs.size(), 1u);
  EXPECT_EQ(programs[0].versions, (std::vector<std::string>{"1.27", "1.17"}));
  EXPECT_EQ(ProgramLabel(programs[0]), "quake3.exe 1.27 and 1.17");
  EXPECT_EQ(ProgramFor(programs, DemoGeneration::k117), &programs[0]);
  EXPECT_EQ(ProgramFor(programs, DemoGeneration::k127), &programs[0]);
  EXPECT_EQ(ProtocolsOf(DemoGeneration::k117), (std::vector<int>{43, 45}));
  EXPECT_EQ(ProtocolsOf(DemoGeneration::k127), (std::vector<int>{48}));

  // The point release brings pak8.pk3; the version switch names the old game.
  m.Add("q3/baseq3/PAK8.pk3", "8");
  programs = m.Find("q3");
  EXPECT_EQ(programs[0].versions, (std::vector<std::string>{"1.32", "1.17"}));

  // An engine alone plays none of the old generations, and says what they need.
  m.Add("ioq/ioquake3.x86_64");
  programs = m.Find("ioq");
  ASSERT_EQ(programs.size(), 1u);
  EXPECT_EQ(ProgramFor(programs, DemoGeneration::k117), nullptr);
  EXPECT_EQ(ProgramFor(programs, DemoGeneration::k127), nullptr);
  EXPECT_EQ(NeededProgramText(DemoGeneration::k117), "quake3.exe of Quake III Arena 1.17");
}

TEST(GamePrograms, FirstStartOffersTheInstallationsThatHaveAProgram) {
  Machine m;
  m.Add("usr/lib/ioquake3/ioquake3");
  const std::string debian = m.Folder("usr/share/games/quake3/baseq3");
  m.Folder("user/.q3a/baseq3");
  m.Add("games/ioquake3/ioquake3.x86_64");
  m.Folder("games/ioquake3/baseq3");
  m.Add("bin/quake3e");  // on PATH, but no game beside it
  m.search.searchPath = {m.dir.Join("bin"), m.dir.Join("games/ioquake3")};
  m.search.wineGameFolder = m.dir.Join("wine/drive_c/Program Files/Quake III Arena");
  m.Add("wine/drive_c/Program Files/Quake III Arena/quake3.exe", "MZ");

  const std::vector<FolderOffer> offers = FindInstallations(m.files, m.search);
  std::vector<std::string> folders;
  for (const FolderOffer& offer : offers) folders.push_back(offer.folder);
  EXPECT_EQ(folders,
            (std::vector<std::string>{m.dir.Join("usr/share/games/quake3"), m.dir.Join("user/.q3a"),
                                      m.dir.Join("games/ioquake3"), m.search.wineGameFolder}));
  ASSERT_EQ(offers.size(), 4u);
  // Debian's engine first, then those on PATH in its order.
  EXPECT_EQ(offers[0].description, "ioquake3 " + m.dir.Join("usr/lib/ioquake3/ioquake3") +
                                       ", Quake3e " + m.dir.Join("bin/quake3e") + ", ioquake3 " +
                                       m.dir.Join("games/ioquake3/ioquake3.x86_64"));
  // Elsewhere the engines the user put on PATH come first.
  EXPECT_EQ(offers[1].description, "Quake3e " + m.dir.Join("bin/quake3e") + ", ioquake3 " +
                                       m.dir.Join("games/ioquake3/ioquake3.x86_64") +
                                       ", ioquake3 " + m.dir.Join("usr/lib/ioquake3/ioquake3"));
  EXPECT_EQ(offers[2].description, "ioquake3 " + m.dir.Join("games/ioquake3/ioquake3.x86_64"));
  EXPECT_TRUE(offers[3].description.starts_with("quake3.exe 1.17 ")) << offers[3].description;
}

// The folders as a native engine searches them, with the case of their names as it is.
TEST(GamePrograms, AnEnginePlaysDemosWhereItSearchesAndTheModsOfItsHome) {
  Machine m;
  m.Add("q3/ioquake3.x86_64");
  m.Add("user/.q3a/cpma/z-cpma.pk3", "pk");
  m.Add("q3/osp/zz-osp.pk3", "pk");
  GameInstall install(m.files, m.dir.Join("q3"));
  install.FindPrograms(m.search);
  install.ScanMods();
  ASSERT_EQ(install.programs().size(), 1u);
  const GameProgram& engine = install.programs()[0];
  const std::string home = m.dir.Join("user/.q3a");
  EXPECT_EQ(install.ResolveModFolder("CPMA"), home + "/cpma");
  EXPECT_EQ(install.ResolveModFolder("osp"), m.dir.Join("q3/osp"));

  const auto playName = [&](const std::string& location, const std::string& mod,
                            const std::string& archiveFolder = "") {
    const DemoPlace place{!archiveFolder.empty(),        location,     "Final.dm_68", "68",
                          install.ResolveModFolder(mod), archiveFolder};
    return install.PlayNameInPlace(place, engine).value_or("(staged)");
  };
  EXPECT_EQ(playName(home + "/baseq3/demos/Cup", ""), "Cup/Final.dm_68");
  EXPECT_EQ(playName(m.dir.Join("q3/baseq3/demos"), ""), "Final.dm_68");
  EXPECT_EQ(playName(m.dir.Join("q3/baseq3/Demos"), ""), "(staged)");
  EXPECT_EQ(playName(home + "/baseq3/demos/My Cup", ""), "(staged)");
  EXPECT_EQ(playName(home + "/cpma/demos", "cpma"), "Final.dm_68");
  EXPECT_EQ(playName(home + "/cpma/demos", ""), "(staged)");
  EXPECT_EQ(playName(home + "/baseq3/zz.pk3", "", "demos"), "Final.dm_68");
  EXPECT_EQ(playName(home + "/baseq3/zz.pk3", "", "demos\\cup"), "(staged)");
  EXPECT_EQ(playName(m.dir.Join("elsewhere"), ""), "(staged)");
  EXPECT_EQ(install.StagingFolders(),
            (std::vector<std::string>{m.dir.Join("q3/baseq3"), home + "/baseq3"}));
}

}  // namespace
}  // namespace rw
