#pragma once

#include <string>

#include "host/messages.h"
#include "host/shell.h"
#include "model/game_install.h"

namespace rw {

// Starts the game program in the game folder with the parameter text; a game that cannot be
// started is told to the user with its path, and gives false.
bool StartGame(Shell& shell, Messages& messages, const GameInstall& game,
               const std::string& parameters);

}  // namespace rw
