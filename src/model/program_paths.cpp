#include "model/program_paths.h"

#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

#include "host/path_separator.h"

namespace rw {
namespace {

std::string Join(std::string_view folder, std::string_view name) {
  std::string path(folder);
  path += kPathSeparator;
  path += name;
  return path;
}

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && (path.back() == '/' || path.back() == kPathSeparator)) path.pop_back();
  return path;
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string FolderOf(std::string_view path) {
  const size_t slash = path.find_last_of(kPathSeparator == '/' ? "/" : "\\/");
  if (slash == std::string_view::npos) return ".";
  return std::string(path.substr(0, slash == 0 ? 1 : slash));
}

std::string ExecutablePath() {
#ifdef _WIN32
  char buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, length < MAX_PATH ? length : 0);
#else
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
#endif
}

bool IsWritableFolder(const std::string& folder) {
#ifdef _WIN32
  return _access(folder.c_str(), 2) == 0;
#else
  return ::access(folder.c_str(), W_OK) == 0;
#endif
}

// Creates the folder and the folders above it that are missing.
void CreateFolderChain(FileSystem& fs, const std::string& folder) {
  if (folder.empty() || fs.IsFolder(folder)) return;
  const std::string parent = FolderOf(folder);
  if (parent != folder && parent != ".") CreateFolderChain(fs, parent);
  fs.CreateFolder(folder);
}

}  // namespace

ProgramFolderSources CurrentProgramFolderSources(std::string homeOption) {
  ProgramFolderSources sources;
  sources.homeOption = std::move(homeOption);
  sources.homeVariable = Variable("REELWRIGHT_HOME");
  const std::string executable = ExecutablePath();
  if (!executable.empty()) {
    sources.executableFolder = FolderOf(executable);
    sources.executableFolderWritable = IsWritableFolder(sources.executableFolder);
  }
  sources.dataHome = Variable("XDG_DATA_HOME");
  sources.userHome = Variable("HOME");
  return sources;
}

std::string ChooseProgramFolder(const ProgramFolderSources& sources) {
  if (!sources.homeOption.empty()) return WithoutTrailingSeparator(sources.homeOption);
  if (!sources.homeVariable.empty()) return WithoutTrailingSeparator(sources.homeVariable);
  if (!sources.executableFolder.empty() && sources.executableFolderWritable) {
    return WithoutTrailingSeparator(sources.executableFolder);
  }
  if (!sources.dataHome.empty()) {
    return Join(WithoutTrailingSeparator(sources.dataHome), "Reelwright");
  }
  if (!sources.userHome.empty()) {
    return Join(Join(Join(WithoutTrailingSeparator(sources.userHome), ".local"), "share"),
                "Reelwright");
  }
  // Nothing known at all: the working folder rather than the root of the file system.
  return sources.executableFolder.empty() ? std::string(".")
                                          : WithoutTrailingSeparator(sources.executableFolder);
}

std::string DefaultGameFolder(std::string_view winePrefix, std::string_view userHome) {
  std::string prefix;
  if (!winePrefix.empty()) {
    prefix = WithoutTrailingSeparator(std::string(winePrefix));
  } else if (!userHome.empty()) {
    prefix = Join(WithoutTrailingSeparator(std::string(userHome)), ".wine");
  } else {
    return std::string(kFallbackGameFolder);
  }
  return Join(Join(Join(prefix, "drive_c"), "Program Files"), "Quake III Arena");
}

std::string DefaultGameFolder() {
  return DefaultGameFolder(Variable("WINEPREFIX"), Variable("HOME"));
}

ProgramPaths DeriveProgramPaths(std::string_view programFolder, std::string_view gameFolder) {
  ProgramPaths paths;
  paths.programFolder = WithoutTrailingSeparator(std::string(programFolder));
  paths.configFile = Join(paths.programFolder, kConfigFileName);
  paths.gameFolder = std::string(gameFolder);
  paths.baseFolder = Join(paths.gameFolder, "baseq3");
  paths.baseDemoFolder = Join(paths.baseFolder, "demos");
  paths.baseArchive = Join(paths.baseFolder, "pak0.pk3");
  paths.dataFolder = Join(paths.programFolder, "RWT Data");
  paths.userDataFolder = Join(paths.dataFolder, "Demos");
  paths.playerFolder = Join(paths.dataFolder, "Players");
  paths.playListFolder = Join(paths.programFolder, "Playlists");
  return paths;
}

void CreateProgramFolders(FileSystem& fs, const ProgramPaths& paths) {
  CreateFolderChain(fs, paths.programFolder);
  for (const std::string* folder :
       {&paths.dataFolder, &paths.userDataFolder, &paths.playerFolder, &paths.playListFolder}) {
    fs.CreateFolder(*folder);
  }
}

}  // namespace rw
