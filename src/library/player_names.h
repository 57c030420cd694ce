#pragma once

#include <string>

#include "demo/demo_read_state.h"

namespace rw {

// Every named player of the demo read last, spectators too, colour codes removed, each name
// once, one a line.
std::string PlayerNames(const DemoReadState& state);

}  // namespace rw
