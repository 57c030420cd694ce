#pragma once

#include <cstddef>
#include <cstdint>

#include "demo/read_session.h"

namespace rw {

// Searches the NUL-ended texts from offset 12 for the server info, the first that holds
// "protocol\"; sets its position, GameType and Protocol. False when there is none.
bool FindServerInfo(ReadSession& session);

// The server info or system info text at a known position, up to its NUL.
std::string_view InfoTextAt(const ReadSession& session, const std::optional<size_t>& pos);

// Reads the configuration strings of a game state whose operands start at pos.
void ReadGameState(ReadSession& session, size_t pos);

}  // namespace rw
