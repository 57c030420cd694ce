#pragma once

#include <string>

#include "host/messages.h"
#include "host/shell.h"

namespace rw {

// Starts a program of the game in the game folder with the parameter text; a program that
// cannot be started is told to the user with its path, and gives false.
bool StartGame(Shell& shell, Messages& messages, const std::string& program,
               const std::string& gameFolder, const std::string& parameters);

}  // namespace rw
