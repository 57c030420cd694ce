#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "demo/demo_read_state.h"

namespace rw {

// A read that cannot go on inside the demo; field names what was being read, as the
// "Parsing Error (field) at Packet Nr: " message shows it.
struct ParsingError {
  std::string field;
};

// The match log may hold this many bytes more than the demo itself; only a demo built to
// blow the log up (one long name on many scoreboards) comes near it.
inline constexpr size_t kMatchLogSlack = 1 << 20;

// Everything one GetFromDemo call knows while it walks a demo; it ends with the call.
struct ReadSession {
  ReadSession(DemoReadState& readState, std::string_view demo, bool wantLog)
      : state(readState), block(demo), buildLog(wantLog) {}

  DemoReadState& state;
  std::string_view block;
  bool buildLog;

  uint32_t recordCount = 0;
  uint64_t bytesConsumed = 0;
  std::optional<std::string> serverInfo;
  std::optional<std::string> systemInfo;
  int systemInfosSeen = 0;
  uint32_t lastCommand = 0;
  int64_t demoStartTime = 0;
  int64_t levelStartTime = 0;
  int64_t serverTime = 0;
  bool firstSnapshot = true;
  int32_t previousScore1 = kNoScore;
  int32_t previousScore2 = kNoScore;
  bool GameStarted = false;
  bool GameEnded = false;
  bool ScoresFrozen = false;
  int ScoreFieldsPerPlayer = 6;
  size_t matchLogBytes = 0;
  // The last text decoded from a bit-packed message; kept to spare an allocation each.
  std::string decodedText;
  // The coded length of the server commands a bit-packed demo gave last, by number: the server
  // sends a command again, unchanged, until the client has it, and these repeats are passed
  // over without decoding them.
  struct CodedCommand {
    uint32_t number = 0;
    size_t bits = 0;
  };
  std::array<CodedCommand, 64> codedCommands{};
  // The bits of the last acknowledge that opened a bit-packed message, which changes only when
  // the client sends a command: the same bits decode to the same number.
  uint64_t ackPattern = 0;
  unsigned ackBits = 0;

  // Adds a line to the match log while the log stays within the demo's size and
  // kMatchLogSlack; lines beyond are dropped.
  void Log(std::string line);
};

}  // namespace rw
