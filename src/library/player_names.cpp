#include "library/player_names.h"

#include <set>

#include "demo/display_text.h"

namespace rw {

std::string PlayerNames(const DemoReadState& state) {
  std::string names;
  std::set<std::string> seen;
  for (const TPlayer& player : state.Players) {
    std::string name = StripColors(player.Name);
    // A line break would split the name in two.
    for (char& c : name) c = (c == '\n' || c == '\r') ? ' ' : c;
    if (name.empty() || !seen.insert(name).second) continue;
    if (!names.empty()) names += '\n';
    names += name;
  }
  return names;
}

}  // namespace rw
