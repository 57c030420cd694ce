#include "library/level_shot.h"

#include <algorithm>
#include <array>

#include "host/path_separator.h"
#include "host/path_text.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr std::string_view kUnknownMap = "menu\\art\\unknownmap.jpg";
constexpr int kFrameSize = 128;

constexpr std::array<std::string_view, 30> kStandardMaps = {
    "q3dm0",      "q3dm1",      "q3dm2",      "q3dm3",      "q3dm4",      "q3dm5",
    "q3dm6",      "q3dm7",      "q3dm8",      "q3dm9",      "q3dm10",     "q3dm11",
    "q3dm12",     "q3dm13",     "q3dm14",     "q3dm15",     "q3dm16",     "q3dm17",
    "q3dm18",     "q3dm19",     "q3tourney1", "q3tourney2", "q3tourney3", "q3tourney4",
    "q3tourney5", "q3tourney6", "q3ctf1",     "q3ctf2",     "q3ctf3",     "q3ctf4"};

std::string LevelShotMember(std::string_view map, std::string_view extension) {
  return "levelshots\\" + std::string(map) + std::string(extension);
}

// The host path of an archive given relative to the game folder with "\\".
std::string HostPath(const std::string& gameFolder, std::string relative) {
  std::replace(relative.begin(), relative.end(), '\\', kPathSeparator);
  return JoinPath(gameFolder, relative);
}

std::string LastComponent(std::string_view path) {
  while (!path.empty() && IsPathSeparator(path.back())) path.remove_suffix(1);
  size_t start = path.size();
  while (start > 0 && !IsPathSeparator(path[start - 1])) --start;
  return std::string(path.substr(start));
}

// The ".pk3" files of a folder, by name without regard to case, so the order does not
// depend on how the host lists folders.
std::vector<std::string> ArchivesIn(FileSystem& files, const std::string& folder) {
  std::vector<std::string> names;
  for (const DirectoryEntry& entry : files.List(folder, "*.pk3")) {
    if (!entry.isFolder) names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return AnsiLowerText(a) < AnsiLowerText(b);
  });
  return names;
}

void AddOnce(std::vector<std::string>& list, std::string candidate) {
  for (const std::string& known : list) {
    if (EqualsIgnoringAnsiCase(known, candidate)) return;
  }
  list.push_back(std::move(candidate));
}

std::optional<Image> Load(const PictureLoader& load, const std::string& archive,
                          std::string_view member) {
  Image picture;
  if (!load(archive, std::string(member), picture)) return std::nullopt;
  return picture;
}

}  // namespace

PictureLoader LoaderOf(PakPictures& pictures, AppState& appState) {
  return [&pictures, &appState](const std::string& archive, const std::string& member,
                                Image& picture) {
    const bool loaded = pictures.GetPictureFromPak(archive, member, picture);
    if (pictures.RanOutOfMemory()) appState.ResetBusy();
    return loaded;
  };
}

bool IsStandardMap(std::string_view map) {
  return std::find(kStandardMaps.begin(), kStandardMaps.end(), map) != kStandardMaps.end();
}

std::vector<std::string> LevelShotCandidates(FileSystem& files, const LevelShotFolders& folders,
                                             std::string_view map,
                                             std::string_view referencedPaks) {
  std::vector<std::string> candidates;
  const std::string ownArchive = std::string(map) + ".pk3";
  if (files.Exists(JoinPath(folders.baseFolder, ownArchive))) {
    AddOnce(candidates, "baseq3\\" + ownArchive);
  }
  // A demo without the key has no referenced archives rather than one called "N/A".
  if (referencedPaks != "N/A") {
    size_t start = 0;
    while (start <= referencedPaks.size()) {
      size_t end = referencedPaks.find(' ', start);
      if (end == std::string_view::npos) end = referencedPaks.size();
      std::string word(referencedPaks.substr(start, end - start));
      if (!word.empty()) {
        std::replace(word.begin(), word.end(), '/', '\\');
        AddOnce(candidates, word + ".pk3");
      }
      start = end + 1;
    }
  }
  if (!EqualsIgnoringAnsiCase(folders.modFolder, folders.baseFolder)) {
    // The folder's own name: a mod may live in a folder named otherwise than the mod.
    const std::string modName = LastComponent(folders.modFolder);
    for (const std::string& name : ArchivesIn(files, folders.modFolder)) {
      AddOnce(candidates, modName + "\\" + name);
    }
  }
  for (const std::string& name : ArchivesIn(files, folders.baseFolder)) {
    if (!EqualsIgnoringAnsiCase(name, "pak0.pk3")) AddOnce(candidates, "baseq3\\" + name);
  }
  return candidates;
}

LevelShot FindLevelShot(FileSystem& files, const LevelShotFolders& folders, std::string_view map,
                        std::string_view referencedPaks, const PictureLoader& load) {
  LevelShot shot;
  if (IsStandardMap(map)) {
    shot.archive = folders.baseArchive;
    shot.picture = Load(load, folders.baseArchive, LevelShotMember(map, ".jpg"));
    if (!shot.picture) shot.picture = Load(load, folders.baseArchive, kUnknownMap);
    return shot;
  }
  shot.candidates = LevelShotCandidates(files, folders, map, referencedPaks);
  for (const std::string& candidate : shot.candidates) {
    const std::string archive = HostPath(folders.gameFolder, candidate);
    for (std::string_view extension : {".jpg", ".tga"}) {
      shot.picture = Load(load, archive, LevelShotMember(map, extension));
      if (shot.picture) {
        shot.archive = archive;
        return shot;
      }
    }
  }
  shot.picture = Load(load, folders.baseArchive, kUnknownMap);
  return shot;
}

bool ShowsFullSize(const Image& picture) {
  return picture.width > kFrameSize || picture.height > kFrameSize;
}

}  // namespace rw
