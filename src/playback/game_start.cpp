#include "playback/game_start.h"

namespace rw {

bool StartGame(Shell& shell, Messages& messages, const std::string& program,
               const std::string& gameFolder, const std::string& parameters) {
  const ShellResult result = shell.StartProgram(program, parameters, gameFolder);
  if (result.started) return true;
  messages.Show("RWT: Game Start Error", "Could not start " + program + "\r\n" + result.reason,
                MessageIcon::kError);
  return false;
}

}  // namespace rw
