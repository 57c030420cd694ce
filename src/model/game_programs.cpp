#include "model/game_programs.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>

#include "host/command_line.h"
#include "host/path_separator.h"
#include "model/game_install.h"
#include "model/program_paths.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

std::string Join(std::string_view folder, std::string_view name) {
  return std::string(folder) + kPathSeparator + std::string(name);
}

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && path.back() == kPathSeparator) path.pop_back();
  return path;
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The engines' binaries as their own installers name them, this machine's kind first, then
// the plain name a packager may give.
struct EngineNames {
  EngineKind kind;
  std::array<const char*, 4> names;
};

#if defined(__aarch64__) || defined(_M_ARM64)
constexpr std::array<EngineNames, 2> kEngineNames{{
    {EngineKind::kIoquake3, {"ioquake3.arm64", "ioquake3.x86_64", "ioquake3.x86", "ioquake3"}},
    {EngineKind::kQuake3e, {"quake3e.arm64", "quake3e.x64", "quake3e.x86", "quake3e"}},
}};
#elif defined(__i386__) || defined(_M_IX86)
constexpr std::array<EngineNames, 2> kEngineNames{{
    {EngineKind::kIoquake3, {"ioquake3.x86", "ioquake3.x86_64", "ioquake3.arm64", "ioquake3"}},
    {EngineKind::kQuake3e, {"quake3e.x86", "quake3e.x64", "quake3e.arm64", "quake3e"}},
}};
#else
constexpr std::array<EngineNames, 2> kEngineNames{{
    {EngineKind::kIoquake3, {"ioquake3.x86_64", "ioquake3.x86", "ioquake3.arm64", "ioquake3"}},
    {EngineKind::kQuake3e, {"quake3e.x64", "quake3e.x86", "quake3e.arm64", "quake3e"}},
}};
#endif

// Which program plays which generation, in the order of preference: the old generations in
// the Windows game (the version switch, or the user, brings the version the demo needs); the
// later ones in the native engines, or in the Windows game of the point release 1.32 when
// that is all there is.
struct Player {
  EngineKind kind;
  const char* version;  // the Windows game's version it takes; nullptr for any
};
struct GenerationRow {
  DemoGeneration generation;
  std::vector<int> protocols;
  std::vector<Player> players;
  const char* needed;
};

const std::vector<GenerationRow>& GenerationTable() {
  static const std::vector<GenerationRow> table = {
      {DemoGeneration::k117,
       {43, 45},
       {{EngineKind::kWindowsGame, nullptr}},
       "quake3.exe of Quake III Arena 1.17"},
      {DemoGeneration::k127,
       {48},
       {{EngineKind::kWindowsGame, nullptr}},
       "quake3.exe of Quake III Arena 1.27"},
      {DemoGeneration::k132,
       {66, 67, 68},
       {{EngineKind::kIoquake3, nullptr},
        {EngineKind::kQuake3e, nullptr},
        {EngineKind::kWindowsGame, "1.32"}},
       "ioquake3, Quake3e or quake3.exe of Quake III Arena 1.32"},
  };
  return table;
}

bool Plays(const GameProgram& program, const Player& player) {
  if (program.kind != player.kind) return false;
  return player.version == nullptr || std::find(program.versions.begin(), program.versions.end(),
                                                player.version) != program.versions.end();
}

// The Windows game's versions as its files tell them: the version switch holds two, and the
// point release 1.32 brings "pak8.pk3".
std::vector<std::string> WindowsVersions(FileSystem& files, const std::string& gameFolder) {
  const GameInstall install(files, gameFolder);
  const std::string newVersion =
      files.List(install.baseFolder(), "pak8.pk3").empty() ? "1.27" : "1.32";
  const bool newActive = install.IsNewGenerationActive();
  std::vector<std::string> versions{newActive ? newVersion : "1.17"};
  if (install.IsSwitchingAvailable()) versions.push_back(newActive ? "1.17" : newVersion);
  return versions;
}

GameProgram Engine(EngineKind kind, ProgramOrigin origin, std::string path,
                   const std::string& gameFolder, const EngineSearch& search) {
  GameProgram program;
  program.kind = kind;
  program.origin = origin;
  program.path = std::move(path);
  program.basePath = gameFolder;
  program.homePath = EngineHomePath(SplitCommandLine(search.globalParameters), search, gameFolder);
  program.needsBasePath = origin != ProgramOrigin::kGameFolder;
  return program;
}

bool IsRegularFile(FileSystem& files, const std::string& path) {
  return files.Exists(path) && !files.IsFolder(path);
}

// The engines of one folder, at most one of each kind.
void AddEnginesIn(FileSystem& files, const std::string& folder, ProgramOrigin origin,
                  const std::string& gameFolder, const EngineSearch& search,
                  std::vector<GameProgram>& programs) {
  for (const EngineNames& engine : kEngineNames) {
    for (const char* name : engine.names) {
      const std::string path = Join(folder, name);
      if (!IsRegularFile(files, path)) continue;
      const bool known = std::any_of(programs.begin(), programs.end(),
                                     [&path](const GameProgram& p) { return p.path == path; });
      if (!known) programs.push_back(Engine(engine.kind, origin, path, gameFolder, search));
      break;
    }
  }
}

constexpr std::string_view kDebianData = "/share/games/quake3";
constexpr std::string_view kDebianEngine = "/lib/ioquake3/ioquake3";

// The prefix Debian's layout lies under: the one a game folder in that layout names, else the
// system's.
std::string DebianPrefix(const std::string& gameFolder, const EngineSearch& search) {
  if (gameFolder.ends_with(kDebianData)) {
    return gameFolder.substr(0, gameFolder.size() - kDebianData.size());
  }
  return WithoutTrailingSeparator(search.systemPrefix);
}

}  // namespace

std::string GameProgram::StagingFolder() const {
  return Join(homePath, "baseq3");
}

EngineSearch EngineSearchFromEnvironment(std::string globalParameters) {
  EngineSearch search;
  const std::string path = Variable("PATH");
  std::size_t begin = 0;
  while (begin <= path.size()) {
    std::size_t end = path.find(':', begin);
    if (end == std::string::npos) end = path.size();
    if (end > begin) search.searchPath.push_back(path.substr(begin, end - begin));
    begin = end + 1;
  }
  search.userHome = Variable("HOME");
  search.wineGameFolder = DefaultGameFolder(Variable("WINEPREFIX"), search.userHome);
  search.globalParameters = std::move(globalParameters);
  return search;
}

std::string EngineHomePath(const std::vector<std::string>& arguments, const EngineSearch& search,
                           const std::string& gameFolder) {
  std::string home;
  for (std::size_t i = 0; i + 2 < arguments.size(); ++i) {
    const bool set = EqualsIgnoringAnsiCase(arguments[i], "+set") ||
                     EqualsIgnoringAnsiCase(arguments[i], "+seta");
    if (set && EqualsIgnoringAnsiCase(arguments[i + 1], "fs_homepath")) home = arguments[i + 2];
  }
  if (!home.empty()) return WithoutTrailingSeparator(home);
  if (search.userHome.empty()) return gameFolder;
  return Join(WithoutTrailingSeparator(search.userHome), ".q3a");
}

std::vector<GameProgram> FindGamePrograms(FileSystem& files, const std::string& gameFolder,
                                          const EngineSearch& search) {
  std::vector<GameProgram> programs;
  if (gameFolder.empty() || !files.IsFolder(gameFolder)) return programs;
  // Wine finds a Windows program whatever the case of its name.
  for (const DirectoryEntry& entry : files.List(gameFolder, "quake3.exe")) {
    if (entry.isFolder) continue;
    GameProgram game;
    game.path = Join(gameFolder, entry.name);
    game.versions = WindowsVersions(files, gameFolder);
    game.basePath = gameFolder;
    game.homePath = gameFolder;
    programs.push_back(std::move(game));
    break;
  }
  AddEnginesIn(files, gameFolder, ProgramOrigin::kGameFolder, gameFolder, search, programs);
  const bool enginesInFolder = std::any_of(programs.begin(), programs.end(),
                                           [](const GameProgram& p) { return p.native(); });
  if (enginesInFolder || !files.IsFolder(Join(gameFolder, "baseq3"))) return programs;

  // Debian's data folder plays first in its own engine; any other folder first in the engines
  // the user put on PATH, then in the system's.
  const bool debianData = gameFolder.ends_with(kDebianData);
  const std::string prefix = DebianPrefix(gameFolder, search);
  const std::string engine = prefix + std::string(kDebianEngine);
  const bool debianEngine = IsRegularFile(files, engine);
  const auto addDebian = [&] {
    programs.push_back(
        Engine(EngineKind::kIoquake3, ProgramOrigin::kSystem, engine, gameFolder, search));
  };
  if (debianEngine && debianData) addDebian();
  // A script in PREFIX/games only starts that engine, which is what runs and is found running.
  const std::string wrappers = debianEngine ? Join(prefix, "games") : std::string();
  for (const std::string& folder : search.searchPath) {
    const std::string clean = WithoutTrailingSeparator(folder);
    if (clean != wrappers) {
      AddEnginesIn(files, clean, ProgramOrigin::kSearchPath, gameFolder, search, programs);
    }
  }
  if (debianEngine && !debianData) addDebian();
  return programs;
}

std::string EngineName(const GameProgram& program) {
  switch (program.kind) {
    case EngineKind::kIoquake3:
      return "ioquake3";
    case EngineKind::kQuake3e:
      return "Quake3e";
    case EngineKind::kWindowsGame:
      break;
  }
  return "quake3.exe";
}

std::string ProgramLabel(const GameProgram& program) {
  std::string label = EngineName(program);
  if (program.kind != EngineKind::kWindowsGame) return label;
  for (std::size_t i = 0; i < program.versions.size(); ++i) {
    label += (i == 0 ? " " : " and ") + program.versions[i];
  }
  return label;
}

std::vector<DemoGeneration> GenerationsOf(const GameProgram& program) {
  std::vector<DemoGeneration> generations;
  for (const GenerationRow& row : GenerationTable()) {
    if (std::any_of(row.players.begin(), row.players.end(),
                    [&program](const Player& player) { return Plays(program, player); })) {
      generations.push_back(row.generation);
    }
  }
  return generations;
}

std::vector<int> ProtocolsOf(DemoGeneration generation) {
  for (const GenerationRow& row : GenerationTable()) {
    if (row.generation == generation) return row.protocols;
  }
  return {};
}

const GameProgram* ProgramFor(const std::vector<GameProgram>& programs, DemoGeneration generation) {
  for (const GenerationRow& row : GenerationTable()) {
    if (row.generation != generation) continue;
    for (const Player& player : row.players) {
      for (const GameProgram& program : programs) {
        if (Plays(program, player)) return &program;
      }
    }
  }
  return nullptr;
}

std::string NeededProgramText(DemoGeneration generation) {
  for (const GenerationRow& row : GenerationTable()) {
    if (row.generation == generation) return row.needed;
  }
  return "a program Reelwright does not know";
}

std::string LookedForText(const EngineSearch& search) {
  std::string names = "quake3.exe";
  for (const EngineNames& engine : kEngineNames) {
    for (const char* name : engine.names) names += std::string(", ") + name;
  }
  return "Looked for " + names +
         " in it, and for its baseq3 folder beside ioquake3 or Quake3e installed on this "
         "system (" +
         WithoutTrailingSeparator(search.systemPrefix) + std::string(kDebianEngine) +
         " or on PATH).";
}

std::vector<FolderOffer> FindInstallations(FileSystem& files, const EngineSearch& search) {
  std::vector<std::string> folders{WithoutTrailingSeparator(search.systemPrefix) +
                                   std::string(kDebianData)};
  if (!search.userHome.empty()) {
    folders.push_back(Join(WithoutTrailingSeparator(search.userHome), ".q3a"));
  }
  // An engine's folder on PATH is an installation when the game lies beside it.
  for (const std::string& folder : search.searchPath) {
    const std::string clean = WithoutTrailingSeparator(folder);
    if (files.IsFolder(Join(clean, "baseq3"))) folders.push_back(clean);
  }
  folders.push_back(search.wineGameFolder);

  std::vector<FolderOffer> installations;
  for (const std::string& folder : folders) {
    const bool offered =
        std::any_of(installations.begin(), installations.end(),
                    [&folder](const FolderOffer& known) { return known.folder == folder; });
    if (offered) continue;
    std::string description;
    for (const GameProgram& program : FindGamePrograms(files, folder, search)) {
      description += (description.empty() ? "" : ", ") + ProgramLabel(program) + " " + program.path;
    }
    if (!description.empty()) installations.push_back({folder, std::move(description)});
  }
  return installations;
}

}  // namespace rw
