#include "library/properties_players.h"

#include <array>
#include <cmath>

#include "demo/info_text.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr int32_t kSpectatorIcon = 5;
constexpr int32_t kFirstLeaderIcon = 6;
constexpr int32_t kHighestBotIcon = 4;

constexpr std::array<std::string_view, 5> kTeamNames = {"crusaders", "intruders", "pagans",
                                                        "stroggs", "the fallen"};

int32_t LeaderIcon(std::string_view teamName, int32_t colour) {
  const std::string lower = AnsiLowerText(teamName);
  for (size_t i = 0; i < kTeamNames.size(); ++i) {
    if (lower == kTeamNames[i]) return kFirstLeaderIcon + static_cast<int32_t>(2 * i) + colour;
  }
  return kNoPlayerIcon;
}

}  // namespace

int32_t DisplaySlotOf(const TPlayer& player, std::string_view redTeam, std::string_view blueTeam) {
  if (player.Skill != kKeyAbsent) {
    const double slot = std::nearbyint(player.Skill - 1);  // halves to even
    // A skill outside the game's five levels has no bot icon of its own.
    if (slot >= 0 && slot <= kHighestBotIcon) return static_cast<int32_t>(slot);
  }
  if (player.Team == kTeamSpectator) return kSpectatorIcon;
  if (player.TeamLeader == "1") {
    if (player.Team == kTeamRed) return LeaderIcon(redTeam, 0);
    if (player.Team == kTeamBlue) return LeaderIcon(blueTeam, 1);
  }
  return kNoPlayerIcon;
}

std::string PlayerListText(const TPlayer& player) {
  if (player.Team >= kTeamSpectator || player.Score <= kNoScore) return player.Name;
  const std::string colour = player.Team == kTeamRed    ? "^1"
                             : player.Team == kTeamBlue ? "^4"
                                                        : "^2";
  return player.Name + " " + colour + "(" + std::to_string(player.Score) + ")";
}

std::vector<PlayerListEntry> FillPlayerList(DemoReadState& state) {
  const std::string redTeam = GetInfoValue(state, "g_redteam");
  const std::string blueTeam = GetInfoValue(state, "g_blueteam");
  std::vector<PlayerListEntry> entries;
  for (size_t i = 0; i < state.Players.size(); ++i) {
    TPlayer& player = state.Players[i];
    player.DisplaySlot = DisplaySlotOf(player, redTeam, blueTeam);
    if (player.Name.empty()) continue;
    entries.push_back({PlayerListText(player), player.DisplaySlot, i});
  }
  return entries;
}

}  // namespace rw
