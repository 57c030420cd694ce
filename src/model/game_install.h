#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/file_system.h"

namespace rw {

// A folder beside the base game and the game archives directly in it.
struct ModRecord {
  std::string folder;
  std::vector<std::string> archives;  // ".pk3" names in listed order
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

  // Once at start-up: every folder beside the base game with its ".pk3" files, ordered by
  // name with case ignored (as the original platform lists them), so a mod name that several
  // folders could claim resolves alike on every file system.
  void ScanMods();
  const std::vector<ModRecord>& mods() const { return mods_; }

  // The folder of the mod that a demo names; the base folder when no mod matches.
  std::string ResolveModFolder(std::string_view modName) const;
  // Whether the game can play the demo where it lies.
  bool IsInPlace(const DemoPlace& place) const;
  // What the game's demo command is given for a plain demo file that is in place.
  std::string RelativePlayName(const std::string& fullPath) const;

  bool IsSwitchingAvailable() const;
  bool IsNewGenerationActive() const;

 private:
  bool Present(const std::string& path) const;

  FileSystem& files_;
  std::string gameFolder_;
  std::vector<ModRecord> mods_;
};

}  // namespace rw
