#include "library/player_view.h"

#include <cmath>

#include "archive/directory_reader.h"
#include "demo/demo_generation.h"
#include "demo/display_text.h"
#include "demo/info_text.h"
#include "host/path_text.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr std::string_view kPlayersFolder = "models\\players\\";
constexpr std::string_view kDeferPicture = "gfx\\2d\\defer.tga";
constexpr std::string_view kDefaultTaunt = "sound\\player\\sarge\\taunt.wav";
constexpr std::string_view kLogo = "textures\\sfx\\logo512.jpg";

std::string MissionPackArchive(const std::string& gameFolder) {
  return JoinPath(JoinPath(gameFolder, "missionpack"), "pak0.pk3");
}

// The position of a "/" that splits a model text, when it is not the first character.
std::optional<size_t> ModelSlash(const std::string& text) {
  const size_t slash = text.find('/');
  if (slash == std::string::npos || slash == 0) return std::nullopt;
  return slash;
}

std::string FindArchiveWith(FileSystem& files, const PlayerViewContext& context,
                            const std::string& member, const ArchiveHasMember& hasMember) {
  std::vector<std::string> folders;
  if (!EqualsIgnoringAnsiCase(context.modFolder, context.baseFolder)) {
    folders.push_back(context.modFolder);
  }
  folders.push_back(context.baseFolder);
  for (const std::string& folder : folders) {
    for (const DirectoryEntry& entry : files.List(folder, "*.pk3")) {
      if (entry.isFolder) continue;
      const std::string archive = JoinPath(folder, entry.name);
      if (hasMember(archive, member)) return archive;
    }
  }
  return {};
}

std::optional<ArchiveMember> TeamPicture(FileSystem& files, const DemoReadState& state,
                                         const PlayerViewContext& context, const TPlayer& player,
                                         const std::string& teamName) {
  const std::string missionPack = MissionPackArchive(context.gameFolder);
  if (AnsiLowerText(context.modName) == "missionpack" && files.Exists(missionPack)) {
    const std::string colour = player.Team == kTeamRed    ? "red"
                               : player.Team == kTeamBlue ? "blue"
                                                          : "";
    if (colour.empty()) return ArchiveMember{context.baseArchive, std::string(kLogo)};
    const std::string team = AnsiLowerText(teamName);
    std::string icon;
    if (team == "crusaders") {
      icon = "team_icon\\crusaders_";
    } else if (team == "intruders") {
      icon = "team_icon\\intruders_";
    } else if (team == "pagans") {
      icon = "team_icon\\pagans_";
    } else if (team == "stroggs") {
      icon = "team_icon\\stroggs_";
    } else if (team == "the fallen") {
      icon = "team_icon\\TheFallen_";
    } else {
      return std::nullopt;
    }
    return ArchiveMember{missionPack, icon + colour + ".tga"};
  }
  if (state.GameType > "2") {
    if (player.Team == kTeamRed)
      return ArchiveMember{context.baseArchive, "models\\flags\\r_flag2.tga"};
    if (player.Team == kTeamBlue)
      return ArchiveMember{context.baseArchive, "models\\flags\\b_flag2.tga"};
  }
  return ArchiveMember{context.baseArchive, std::string(kLogo)};
}

void FillAwards(const DemoReadState& state, const TPlayer& player, PlayerView& view) {
  if (!LayoutOf(state.Protocol).scoresCarryAwards || player.Team >= kTeamSpectator) return;
  view.accuracy = std::to_string(player.Accuracy) + "%";
  view.impressives = std::to_string(player.Impressives);
  view.excellents = std::to_string(player.Excellents);
  view.gauntlets = std::to_string(player.Gauntlets);
  view.perfects = std::to_string(player.Perfects);
  // Only the flag game types have captures, defends and assists.
  if (state.GameType > "3") {
    view.captures = std::to_string(player.Captures);
    view.defends = std::to_string(player.Defends);
    view.assists = std::to_string(player.Assists);
  }
}

void FillTeam(const DemoReadState& state, const TPlayer& player, PlayerView& view) {
  if (player.Team == kTeamRed || player.Team == kTeamBlue) {
    const bool red = player.Team == kTeamRed;
    view.teamName = GetInfoValue(state, red ? "g_redteam" : "g_blueteam");
    if (view.teamName == "N/A") view.teamName = red ? "Red" : "Blue";
    view.teamColour = red ? TeamColour::kRed : TeamColour::kAqua;
    view.leaderShown = player.TeamLeader == "1";
    view.teamRowsShown = true;
    view.redScore = state.Score1;
    view.blueScore = state.Score2;
  } else {
    view.teamName = "N/A";
  }
}

}  // namespace

bool ArchiveHoldsMember(const std::string& archive, const std::string& member) {
  ArchiveCursor cursor;
  const int code = ArchiveFind(archive, member, cursor);
  ArchiveClose(cursor);
  return code == kArchiveMember;
}

std::optional<size_t> NamedPlayerIndex(const std::vector<TPlayer>& players, size_t n) {
  size_t count = 0;
  for (size_t i = 0; i < players.size(); ++i) {
    if (players[i].Name.empty()) continue;
    if (count == n) return i;
    ++count;
  }
  return std::nullopt;
}

std::string PlayerClassText(const TPlayer& player) {
  if (player.Team >= kTeamSpectator) return "SPECT";
  const double skill = std::nearbyint(player.Skill);  // halves to even
  if (skill == kKeyAbsent) return "HUMAN";
  if (skill >= 0 && skill <= 5) return "BOT/SKILL" + std::to_string(static_cast<int>(skill));
  return "UNKNOWN";
}

std::optional<std::string> HeadIconPath(const std::string& headModel) {
  if (headModel == "N/A") return std::nullopt;
  if (const std::optional<size_t> slash = ModelSlash(headModel)) {
    return "heads\\" + headModel.substr(1, *slash - 1) + "\\icon_" + headModel.substr(*slash + 1) +
           ".tga";
  }
  return headModel + "\\icon_default.tga";
}

std::string ModelIconPath(const std::string& model) {
  if (const std::optional<size_t> slash = ModelSlash(model)) {
    return model.substr(0, *slash) + "\\icon_" + model.substr(*slash + 1) + ".tga";
  }
  return model + "\\icon_default.tga";
}

std::string ModelName(const std::string& model) {
  const std::optional<size_t> slash = ModelSlash(model);
  return slash ? model.substr(0, *slash) : model;
}

std::optional<PlayerView> SetPlayerData(FileSystem& files, Messages& messages,
                                        const DemoReadState& state,
                                        const PlayerViewContext& context, size_t n,
                                        const ArchiveHasMember& hasMember) {
  const std::optional<size_t> index = NamedPlayerIndex(state.Players, n);
  if (!index) {
    messages.Show("RWT: Parsing ERROR", "SetPlayerData: Parsing ERROR. Could not find player index",
                  MessageIcon::kError);
    return std::nullopt;
  }
  const TPlayer& player = state.Players[*index];
  PlayerView view;
  view.name = player.Name;
  view.caption = StripColors(player.Name);
  view.playerClass = PlayerClassText(player);
  if (player.Score != -10000 && player.Score != kNoScore) view.score = std::to_string(player.Score);
  FillTeam(state, player, view);
  FillAwards(state, player, view);

  view.headIcon = HeadIconPath(player.HeadModel);
  view.modelIcon = ModelIconPath(player.Model);
  view.modelName = ModelName(player.Model);
  const std::string players(kPlayersFolder);
  if (view.headIcon) {
    view.archive = FindArchiveWith(files, context, players + *view.headIcon, hasMember);
  }
  if (view.archive.empty()) {
    view.archive = FindArchiveWith(files, context, players + view.modelIcon, hasMember);
  }
  if (view.archive.empty() && files.Exists(MissionPackArchive(context.gameFolder))) {
    view.archive = MissionPackArchive(context.gameFolder);
  }
  if (!view.archive.empty()) {
    if (view.headIcon) view.headPictures.push_back({view.archive, players + *view.headIcon});
    view.headPictures.push_back({view.archive, players + view.modelIcon});
    view.taunts.push_back({view.archive, "sound\\player\\" + view.modelName + "\\taunt.wav"});
  }
  view.headPictures.push_back({context.baseArchive, std::string(kDeferPicture)});
  view.taunts.push_back({context.baseArchive, std::string(kDefaultTaunt)});
  view.teamPicture = TeamPicture(files, state, context, player, view.teamName);
  return view;
}

}  // namespace rw
