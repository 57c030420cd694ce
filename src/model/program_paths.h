#pragma once

#include <string>
#include <string_view>

#include "host/file_system.h"

namespace rw {

inline constexpr std::string_view kConfigFileName = "Reelwright.cfg";
inline constexpr std::string_view kGameProgramName = "quake3.exe";
// The game folder when the host reports no program-files folder.
inline constexpr std::string_view kFallbackGameFolder = "c:\\Program Files\\Quake III Arena";

// Everything the program folder is chosen from; empty texts are unset.
struct ProgramFolderSources {
  std::string homeOption;    // --home DIR
  std::string homeVariable;  // REELWRIGHT_HOME
  std::string executableFolder;
  bool executableFolderWritable = false;
  std::string dataHome;  // XDG_DATA_HOME
  std::string userHome;  // HOME
};

// The sources of this process: its environment and the folder of its executable.
ProgramFolderSources CurrentProgramFolderSources(std::string homeOption);

// --home, else REELWRIGHT_HOME, else the executable's folder when writable (a portable
// install), else the per-user data folder + "/Reelwright", else the executable's folder as it
// is. Without a trailing separator.
std::string ChooseProgramFolder(const ProgramFolderSources& sources);

// The game folder's default: the Wine prefix's program-files folder + "Quake III Arena".
std::string DefaultGameFolder(std::string_view winePrefix, std::string_view userHome);
std::string DefaultGameFolder();  // from WINEPREFIX and HOME

// The paths every part of the program derives from the program and game folders.
struct ProgramPaths {
  std::string programFolder;
  std::string configFile;
  std::string gameFolder;
  std::string baseFolder;
  std::string baseDemoFolder;
  std::string baseArchive;
  std::string dataFolder;
  std::string userDataFolder;
  std::string playerFolder;
  std::string playListFolder;
};

ProgramPaths DeriveProgramPaths(std::string_view programFolder, std::string_view gameFolder);

// The program folder and the data, user data, player and play list folders, each created
// when missing; failures are ignored.
void CreateProgramFolders(FileSystem& fs, const ProgramPaths& paths);

}  // namespace rw
