#pragma once

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
      : state(readState), block(demo), buildLog(wantLog), readEnd(demo.size()) {}

  DemoReadState& state;
  std::string_view block;
  bool buildLog;
  // Reads stop here: the end of the current message while its operations are read, so that
  // no operation reaches into the records after it.
  size_t readEnd;

  uint32_t recordCount = 0;
  uint64_t bytesConsumed = 0;
  std::optional<size_t> serverInfoPos;
  std::optional<size_t> systemInfoPos;
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

  // Adds a line to the match log while the log stays within the demo's size and
  // kMatchLogSlack; lines beyond are dropped.
  void Log(std::string line);

  // Reads that stay before readEnd; past it they throw ParsingError{field}.
  uint8_t ReadByte(size_t& pos, const char* field) const;
  uint16_t ReadUint16(size_t& pos, const char* field) const;
  uint32_t ReadUint32(size_t& pos, const char* field) const;
  // The text up to its NUL byte; pos moves past the NUL.
  std::string_view ReadText(size_t& pos, const char* field) const;
};

}  // namespace rw
