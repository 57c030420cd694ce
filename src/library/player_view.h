#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "demo/demo_read_state.h"
#include "host/file_system.h"
#include "host/messages.h"

namespace rw {

// What the player description window needs besides the demo read last.
struct PlayerViewContext {
  std::string modName;      // the demo's "fs_game"
  std::string modFolder;    // that mod's folder
  std::string gameFolder;   // holds quake3.exe
  std::string baseFolder;   // the game folder's baseq3
  std::string baseArchive;  // the base folder's pak0.pk3
};

// Whether an archive holds a member (member names use "\\").
using ArchiveHasMember = std::function<bool(const std::string& archive, const std::string& member)>;

// ArchiveFind's answer.
bool ArchiveHoldsMember(const std::string& archive, const std::string& member);

struct ArchiveMember {
  std::string archive;
  std::string member;
  bool operator==(const ArchiveMember&) const = default;
};

enum class TeamColour { kNone, kRed, kAqua };

// Everything the player description window shows for one player, except the description.
struct PlayerView {
  std::string name;     // colour codes kept, for the name box
  std::string caption;  // colour codes removed
  std::string playerClass;
  std::string score;
  std::string teamName;
  TeamColour teamColour = TeamColour::kNone;
  bool leaderShown = false;  // in the team colour
  bool teamRowsShown = false;
  std::string redScore;
  std::string blueScore;
  // Empty texts show as empty award values.
  std::string accuracy;
  std::string impressives;
  std::string excellents;
  std::string perfects;
  std::string gauntlets;
  std::string captures;
  std::string defends;
  std::string assists;
  std::optional<std::string> headIcon;  // below "models\\players\\"
  std::string modelIcon;
  std::string modelName;
  std::string archive;                       // the first archive with an icon; empty when none
  std::vector<ArchiveMember> headPictures;   // tried in order until one loads
  std::vector<ArchiveMember> taunts;         // tried in order until one plays
  std::optional<ArchiveMember> teamPicture;  // none: no picture
};

// The index in the player table of the n-th player (from 0) whose name is not empty.
std::optional<size_t> NamedPlayerIndex(const std::vector<TPlayer>& players, size_t n);

// "Class:" for a player.
std::string PlayerClassText(const TPlayer& player);

// The head icon H ("N/A" has none) and the model icon M, below "models\\players\\".
std::optional<std::string> HeadIconPath(const std::string& headModel);
std::string ModelIconPath(const std::string& model);
std::string ModelName(const std::string& model);

// What the player description window shows for the n-th named player. When there is no such
// player, shows "SetPlayerData: Parsing ERROR. Could not find player index" and gives nullopt.
std::optional<PlayerView> SetPlayerData(FileSystem& files, Messages& messages,
                                        const DemoReadState& state,
                                        const PlayerViewContext& context, size_t n,
                                        const ArchiveHasMember& hasMember = ArchiveHoldsMember);

}  // namespace rw
