#pragma once

#include <string_view>

#include "demo/read_session.h"

namespace rw {

// Searches the NUL-ended texts of a demo of plain bytes from offset 12 for the server info,
// the first that holds "protocol\"; takes it, GameType and Protocol. False when there is none.
bool FindServerInfo(ReadSession& session);

// Takes the server info of a bit-packed demo from its first message, a game state whose first
// configuration string is the server info; GameType and Protocol as for plain demos, the
// protocol being the whole number. False when the demo does not open so.
bool FindCodedServerInfo(ReadSession& session);

// What a configuration string of a game state changes.
void TakeConfigString(ReadSession& session, int index, std::string_view text);

}  // namespace rw
