#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "demo/demo_read_state.h"

namespace rw {

// No icon beside the player.
inline constexpr int32_t kNoPlayerIcon = -1;

// The icon beside a player in the properties window: 0 to 4 a bot's skill, 5 a spectator,
// 6 to 15 the leader of one of the game's five teams (red even, blue odd), else none.
// redTeam and blueTeam are the server's "g_redteam" and "g_blueteam".
int32_t DisplaySlotOf(const TPlayer& player, std::string_view redTeam, std::string_view blueTeam);

// The name with its colour codes and, for a playing player with a score, the score in the
// team's colour: " ^1(12)" red, " ^4(12)" blue, " ^2(12)" without a team.
std::string PlayerListText(const TPlayer& player);

struct PlayerListEntry {
  std::string text;
  int32_t displaySlot = kNoPlayerIcon;
  size_t playerIndex = 0;  // in the player table
};

// Gives every player its DisplaySlot and lists the players that have a name, in table order.
std::vector<PlayerListEntry> FillPlayerList(DemoReadState& state);

}  // namespace rw
