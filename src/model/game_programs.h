#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "demo/demo_generation.h"
#include "host/file_system.h"
#include "host/messages.h"

namespace rw {

// The programs that play demos: the Windows game (through wine on Linux) and the native
// engines that grew out of its released source.
enum class EngineKind { kWindowsGame, kIoquake3, kQuake3e };

// Where a program was found: in the game folder, where Debian installs ioquake3, or on PATH.
enum class ProgramOrigin { kGameFolder, kSystem, kSearchPath };

// One program that plays demos, and the folders it works in.
struct GameProgram {
  EngineKind kind = EngineKind::kWindowsGame;
  ProgramOrigin origin = ProgramOrigin::kGameFolder;
  std::string path;  // the file that is started
  // The Windows game's versions: the active one, then the one the version switch brings in.
  std::vector<std::string> versions;
  std::string basePath;  // where it reads baseq3 and the mods: the game folder
  std::string homePath;  // where it writes and looks first; the game folder for the Windows game
  // Lies outside the game folder, so it is told on its command line where the game is.
  bool needsBasePath = false;

  bool native() const { return kind != EngineKind::kWindowsGame; }
  // Only ioquake3 reads console commands from a named pipe ("com_pipefile").
  bool hasCommandPipe() const { return kind == EngineKind::kIoquake3; }
  // Where the script goes, and in its "demos" folder the staged demos: the base game's
  // folder in the home path, which the program searches and the user may write.
  std::string StagingFolder() const;
};

// What the search looks at besides the game folder.
struct EngineSearch {
  std::vector<std::string> searchPath = {};  // the folders of PATH, in order
  std::string userHome = {};                 // HOME
  // Given to every start of the game: a "+set fs_homepath" there moves an engine's home.
  std::string globalParameters = {};
  // Where Debian installs ioquake3: PREFIX/lib/ioquake3/ioquake3, with the game's data in
  // PREFIX/share/games/quake3.
  std::string systemPrefix = "/usr";
  // The Wine prefix's game folder, offered at the first start when it holds the game.
  std::string wineGameFolder = {};
};

EngineSearch EngineSearchFromEnvironment(std::string globalParameters);

// Every program that plays the game folder's demos: quake3.exe and the engines in the folder;
// when it holds no engine but a "baseq3" folder, also ioquake3 as Debian installs it and the
// engines on PATH, told to read the game folder.
std::vector<GameProgram> FindGamePrograms(FileSystem& files, const std::string& gameFolder,
                                          const EngineSearch& search);

// An engine's home path: a "+set fs_homepath" among the arguments, else "~/.q3a".
std::string EngineHomePath(const std::vector<std::string>& arguments, const EngineSearch& search,
                           const std::string& gameFolder);

// The engine's name: "ioquake3", "Quake3e" or "quake3.exe".
std::string EngineName(const GameProgram& program);
// "ioquake3", "Quake3e", or "quake3.exe" with its versions.
std::string ProgramLabel(const GameProgram& program);

// The generations a program plays, and the protocols of a generation.
std::vector<DemoGeneration> GenerationsOf(const GameProgram& program);
std::vector<int> ProtocolsOf(DemoGeneration generation);
// The program that plays a generation, in the order of preference; nullptr when none does.
const GameProgram* ProgramFor(const std::vector<GameProgram>& programs, DemoGeneration generation);
// Which program a generation needs, in words for the user.
std::string NeededProgramText(DemoGeneration generation);

// What the first start tells the user it looked for in a folder.
std::string LookedForText(const EngineSearch& search);

// The installations worth offering at the first start, each described by the programs that
// play its demos: Debian's data folder, "~/.q3a", the folder of an engine on PATH that holds
// the game, and the Wine prefix's game folder, as far as a program plays their demos.
std::vector<FolderOffer> FindInstallations(FileSystem& files, const EngineSearch& search);

}  // namespace rw
