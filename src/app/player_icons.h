#pragma once

#include <QIcon>

namespace rw::app {

// The 16 small pictures beside the players of the properties window, by DisplaySlot: bots of
// skill 1 to 5, a spectator, and the leaders of the game's five teams, red and blue. A null
// icon for any other slot.
QIcon PlayerIcon(int slot);

}  // namespace rw::app
