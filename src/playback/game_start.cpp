#include "playback/game_start.h"

namespace rw {

bool StartGame(Shell& shell, Messages& messages, const GameInstall& game,
               const std::string& parameters) {
  const ShellResult result = shell.StartProgram(game.program(), parameters, game.gameFolder());
  if (result.started) return true;
  messages.Show("RWT: Game Start Error",
                "Could not start " + game.program() + "\r\n" + result.reason, MessageIcon::kError);
  return false;
}

}  // namespace rw
