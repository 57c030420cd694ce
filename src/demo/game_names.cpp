#include "demo/game_names.h"

#include "demo/info_text.h"
#include "text/windows_1252.h"

namespace rw {

std::string GametypeName(std::string_view value, const DemoReadState& state) {
  if (value == "0") return "Free for All";
  if (value == "1") return "Tournament";
  if (value == "2") return "Singleplayer";
  if (value == "3") return "Team Deathmatch";
  if (value == "4") return "Capture the Flag";
  if (value == "5" || value == "6" || value == "7") {
    if (GetInfoValue(state, "gamename") == "baseq3") {
      if (value == "5") return "One Flag CTF";
      if (value == "6") return "Overload";
      return "Harvester";
    }
  }
  return std::string(value);
}

std::string ModName(const DemoReadState& state) {
  std::string mod = GetInfoValue(state, "fs_game");
  if (mod == "N/A") mod = GetInfoValue(state, "gamename");
  return AnsiLowerText(mod);
}

}  // namespace rw
