#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/image.h"
#include "demo/picture_from_pak.h"
#include "host/file_system.h"
#include "model/app_state.h"

namespace rw {

// Loads the member memberName ("\\"-separated) of an archive as a picture; false when the
// archive or the member is missing or cannot be decoded.
using PictureLoader = std::function<bool(const std::string& archivePath,
                                         const std::string& memberName, Image& picture)>;

// The game's own picture loading; a picture too large for memory ends the busy state.
PictureLoader LoaderOf(PakPictures& pictures, AppState& appState);

// The folders the level shot is looked for in.
struct LevelShotFolders {
  std::string gameFolder;   // the archives' paths are relative to it
  std::string baseFolder;   // the game folder's baseq3
  std::string baseArchive;  // the base folder's pak0.pk3
  std::string modFolder;    // the demo's mod's folder; the base folder when it has none
};

struct LevelShot {
  // The archives tried for a map that is not one of the game's own, relative to the game
  // folder, in the order they were tried.
  std::vector<std::string> candidates;
  std::optional<Image> picture;
  // The archive the level shot came from; empty when it was found nowhere.
  std::string archive;
};

// The 30 maps of the game whose level shots are in pak0.pk3.
bool IsStandardMap(std::string_view map);

// The archives, relative to the game folder, that may hold the level shot of a map that is
// not a standard one. referencedPaks is the demo's "sv_referencedPakNames".
std::vector<std::string> LevelShotCandidates(FileSystem& files, const LevelShotFolders& folders,
                                             std::string_view map, std::string_view referencedPaks);

// The level shot of map, falling back to the game's unknown-map picture.
LevelShot FindLevelShot(FileSystem& files, const LevelShotFolders& folders, std::string_view map,
                        std::string_view referencedPaks, const PictureLoader& load);

// Whether clicking the level shot shows it at full size: only pictures larger than the
// level-shot frame of 128 by 128 pixels.
bool ShowsFullSize(const Image& picture);

}  // namespace rw
