#pragma once

#include <cstddef>
#include <cstdint>

#include "demo/read_session.h"

namespace rw {

// Numbers of configuration strings the layout of the protocol decides.
int LevelStartString(int32_t protocol);
int IntermissionString(int32_t protocol);

// How many numbers each player has in a "scores" command of the protocol.
int ScoreFieldsPerPlayer(int32_t protocol);

// Whether the protocol puts 4 bytes before the operations of every message.
inline bool SkipsMessageHeader(int32_t protocol) {
  return protocol > 45;
}

// Searches the NUL-ended texts from offset 12 for the server info, the first that holds
// "protocol\"; sets its position, GameType and Protocol. False when there is none.
bool FindServerInfo(ReadSession& session);

// The server info or system info text at a known position, up to its NUL.
std::string_view InfoTextAt(const ReadSession& session, const std::optional<size_t>& pos);

// Reads the configuration strings of a game state whose operands start at pos.
void ReadGameState(ReadSession& session, size_t pos);

}  // namespace rw
