#pragma once

#include <string>
#include <string_view>

#include "demo/demo_read_state.h"

namespace rw {

// The name of a g_gametype value; the three team modes of Team Arena are named only for a
// server whose gamename is "baseq3", anything unknown is shown as the value itself.
std::string GametypeName(std::string_view value, const DemoReadState& state);

// fs_game, or gamename when the demo has no fs_game, in lower case ("n/a" when neither).
std::string ModName(const DemoReadState& state);

}  // namespace rw
