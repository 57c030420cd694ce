#include "model/game_install.h"

#include <algorithm>

#include "host/path_separator.h"
#include "text/name_text.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

std::string Join(std::string_view folder, std::string_view name) {
  return std::string(folder) + kPathSeparator + std::string(name);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoringAnsiCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoringAnsiCase(text.substr(text.size() - suffix.size()), suffix);
}

// The folder itself or anything below it; "demos2" is not inside "demos".
bool IsInFolder(std::string_view path, std::string_view folder) {
  return StartsWithIgnoringCase(path, folder) &&
         (path.size() == folder.size() || path[folder.size()] == kPathSeparator);
}

std::string_view LastComponent(std::string_view path) {
  const std::size_t last = path.rfind(kPathSeparator);
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

std::string_view ParentOf(std::string_view path) {
  const std::size_t last = path.rfind(kPathSeparator);
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last);
}

// The text after the first occurrence of marker from a position on, or all of it when there
// is none.
std::string After(const std::string& text, const std::string& marker, std::size_t from) {
  const std::size_t found = text.find(marker, from);
  return found == std::string::npos ? text : text.substr(found + marker.size());
}

// A "demos" folder above the game folder is not the game's.
std::size_t SkipGameFolder(std::string_view path, std::string_view gameFolder) {
  return IsInFolder(path, gameFolder) ? gameFolder.size() : 0;
}

}  // namespace

std::string GameInstall::baseFolder() const {
  return Join(gameFolder_, "baseq3");
}
std::string GameInstall::baseDemosFolder() const {
  return Join(baseFolder(), "demos");
}
std::string GameInstall::program() const {
  return Join(gameFolder_, "quake3.exe");
}
std::string GameInstall::baseArchive() const {
  return Join(baseFolder(), "pak0.pk3");
}

void GameInstall::FindPrograms(const EngineSearch& search) {
  programs_ = FindGamePrograms(files_, gameFolder_, search);
}

const GameProgram* GameInstall::ProgramFor(DemoGeneration generation) const {
  return rw::ProgramFor(programs_, generation);
}

void GameInstall::ScanMods() {
  mods_.clear();
  std::vector<std::string> roots{gameFolder_};
  for (const GameProgram& program : programs_) {
    if (std::find(roots.begin(), roots.end(), program.homePath) == roots.end()) {
      roots.push_back(program.homePath);
    }
  }
  for (const std::string& root : roots) {
    for (const DirectoryEntry& entry : files_.List(root, "*.*")) {
      if (!entry.isFolder || entry.name.starts_with('.')) continue;
      if (EqualsIgnoringAnsiCase(entry.name, "baseq3")) continue;
      ModRecord record{entry.name, {}, root};
      for (const DirectoryEntry& file : files_.List(Join(root, entry.name), "*.*")) {
        if (!file.isFolder && EndsWithIgnoringCase(file.name, ".pk3")) {
          record.archives.push_back(file.name);
        }
      }
      mods_.push_back(std::move(record));
    }
  }
  // Folder listings come in an order of each file system's own; the first match must not
  // depend on it. Names equal but for case keep byte order among them, and the game folder's
  // come before a home path's.
  std::stable_sort(mods_.begin(), mods_.end(), [](const ModRecord& a, const ModRecord& b) {
    const std::string lowerA = NameLowerText(a.folder);
    const std::string lowerB = NameLowerText(b.folder);
    return lowerA != lowerB ? lowerA < lowerB : a.folder < b.folder;
  });
}

std::string GameInstall::ResolveModFolder(std::string_view modName) const {
  if (modName.empty()) return baseFolder();
  const std::string archiveName = std::string(modName) + ".pk3";
  for (const ModRecord& record : mods_) {
    bool matches = EqualsIgnoringAnsiCase(record.folder, modName) && !record.archives.empty();
    for (const std::string& archive : record.archives) {
      matches = matches || EqualsIgnoringAnsiCase(archive, archiveName);
    }
    if (matches) return Join(record.root, record.folder);
  }
  return baseFolder();
}

bool GameInstall::IsInPlace(const DemoPlace& place) const {
  if (place.archiveMember) {
    if (place.archiveFolder != "demos") return false;
    const std::string_view archiveFolder = ParentOf(place.location);
    return EqualsIgnoringAnsiCase(archiveFolder, baseFolder()) ||
           EqualsIgnoringAnsiCase(archiveFolder, place.modFolder);
  }
  const bool inDemos = IsInFolder(place.location, baseDemosFolder()) ||
                       IsInFolder(place.location, Join(place.modFolder, "demos"));
  if (!inDemos) return false;
  // The game's demo command takes no blanks: the new game gets the long path, and the old one
  // gets the short one, which has blanks only on hosts without short names.
  if (place.protocol > std::string_view("46")) {
    const std::size_t skip = place.modFolder.size() + 1;
    const std::string inside =
        (skip < place.location.size() ? place.location.substr(skip) : std::string()) +
        kPathSeparator + place.name;
    if (inside.find(' ') != std::string::npos) return false;
  } else if (RelativePlayName(Join(place.location, place.name)).find(' ') != std::string::npos) {
    return false;
  }
  return true;
}

std::string GameInstall::RelativePlayName(const std::string& fullPath) const {
  const std::size_t dot = fullPath.rfind('.');
  const std::string_view extension =
      dot == std::string::npos ? std::string_view() : std::string_view(fullPath).substr(dot);
  if (!StartsWithIgnoringCase(extension, ".dm_")) {
    const std::string marker = std::string(1, kPathSeparator) + "DEMOS" + kPathSeparator;
    const std::string shortPath = files_.ShortPath(fullPath);
    const std::string relative = After(AnsiUpperText(shortPath), marker,
                                       SkipGameFolder(shortPath, files_.ShortPath(gameFolder_)));
    return relative.substr(0, relative.size() >= 4 ? relative.size() - 4 : 0);
  }
  const std::string marker = std::string(1, kPathSeparator) + "demos" + kPathSeparator;
  return After(AnsiLowerText(fullPath), marker, SkipGameFolder(fullPath, gameFolder_));
}

std::optional<std::string> GameInstall::PlayNameInPlace(const DemoPlace& place,
                                                        const GameProgram& program) const {
  if (program.native()) return NativePlayName(place, program);
  if (!IsInPlace(place)) return std::nullopt;
  return place.archiveMember ? place.name : RelativePlayName(Join(place.location, place.name));
}

std::optional<std::string> GameInstall::NativePlayName(const DemoPlace& place,
                                                       const GameProgram& program) const {
  std::vector<std::string> games{"baseq3"};
  if (!EqualsIgnoringAnsiCase(place.modFolder, baseFolder())) {
    games.push_back(std::string(LastComponent(place.modFolder)));
  }
  for (const std::string& root : {program.basePath, program.homePath}) {
    for (const std::string& game : games) {
      const std::string folder = Join(root, game);
      if (place.archiveMember) {
        if (place.archiveFolder == "demos" && ParentOf(place.location) == folder) {
          return place.name;
        }
        continue;
      }
      const std::string demos = Join(folder, "demos");
      if (place.location != demos && !place.location.starts_with(demos + kPathSeparator)) {
        continue;
      }
      const std::string inside =
          place.location.size() > demos.size() ? place.location.substr(demos.size() + 1) : "";
      const std::string playName = inside.empty() ? place.name : Join(inside, place.name);
      // The demo command takes no blanks.
      if (playName.find(' ') == std::string::npos) return playName;
    }
  }
  return std::nullopt;
}

std::vector<std::string> GameInstall::StagingFolders() const {
  std::vector<std::string> folders{baseFolder()};
  for (const GameProgram& program : programs_) {
    const std::string folder = program.StagingFolder();
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
  }
  return folders;
}

bool GameInstall::Present(const std::string& path) const {
  return files_.ModifiedDosTime(path).has_value();
}

bool GameInstall::IsSwitchingAvailable() const {
  const std::string base = baseFolder();
  if (Present(Join(gameFolder_, "oldversion")) && Present(Join(base, "pak4.pk3")) &&
      Present(Join(base, "pak5.pk3"))) {
    return true;
  }
  return Present(Join(gameFolder_, "newversion")) && Present(Join(base, "pak4.zip")) &&
         Present(Join(base, "pak5.zip"));
}

bool GameInstall::IsNewGenerationActive() const {
  if (IsSwitchingAvailable()) return Present(Join(gameFolder_, "oldversion"));
  return Present(Join(baseFolder(), "pak4.pk3"));
}

}  // namespace rw
