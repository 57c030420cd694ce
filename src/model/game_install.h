#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/file_system.h"
#include "model/game_programs.h"

namespace rw {

// A folder beside the base game and the game archives directly in it.
struct ModRecord {
  std::string folder;
  std::vector<std::string> archives;  // ".pk3" names in listed order
  std::string root;                   // the folder it lies in: the game folder or an engine's home
};

// Where a demo lies, as the lists describe it.
struct DemoPlace {
  bool archiveMember = false;
  std::string location;       // folder of a plain file, or path of the archive
  std::string name;           // file or member name
  std::string protocol;       // protocol text
  std::string modFolder;      // resolved mod folder
  std::string archiveFolder;  // the member's folder inside the archive
};

// The installed game: its folders, its mods and which generation of the game is active.
class GameInstall {
 public:
  GameInstall(FileSystem& files, std::string gameFolder)
      : files_(files), gameFolder_(std::move(gameFolder)) {}

  const std::string& gameFolder() const { return gameFolder_; }
  std::string baseFolder() const;
  std::string baseDemosFolder() const;
  std::string program() const;
  std::string baseArchive() const;

  // At start-up and when the global parameters change: the programs that play the demos.
  void FindPrograms(const EngineSearch& search);
  const std::vector<GameProgram>& programs() const { return programs_; }
  // The program that plays a generation; nullptr when none of them does.
  const GameProgram* ProgramFor(DemoGeneration generation) const;

  // Once at start-up, after the programs: every folder beside the base game, in the game
  // folder and in the engines' home paths, with its ".pk3" files, ordered by name with case
  // ignored (as the original platform lists them), so a mod name that several folders could
  // claim resolves alike on every file system.
  void ScanMods();
  const std::vector<ModRecord>& mods() const { return mods_; }

  // The folder of the mod that a demo names; the base folder when no mod matches.
  std::string ResolveModFolder(std::string_view modName) const;
  // Whether the game can play the demo where it lies.
  bool IsInPlace(const DemoPlace& place) const;
  // What the game's demo command is given for a plain demo file that is in place.
  std::string RelativePlayName(const std::string& fullPath) const;
  // What a program's demo command is given for a demo it plays where it lies; nullopt when
  // the demo must be staged. A native engine reads its base and home paths with the case of
  // their names as they are.
  std::optional<std::string> PlayNameInPlace(const DemoPlace& place,
                                             const GameProgram& program) const;
  // Every folder that may hold staged demos and the script: the base folder and each
  // program's staging folder.
  std::vector<std::string> StagingFolders() const;

  bool IsSwitchingAvailable() const;
  bool IsNewGenerationActive() const;

 private:
  bool Present(const std::string& path) const;

  FileSystem& files_;
  std::optional<std::string> NativePlayName(const DemoPlace& place,
                                            const GameProgram& program) const;

  std::string gameFolder_;
  std::vector<GameProgram> programs_;
  std::vector<ModRecord> mods_;
};

}  // namespace rw
