#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "demo/demo_generation.h"
#include "demo/demo_read_state.h"
#include "demo/read_session.h"

namespace rw {

// A "scores" command lists at most this many entries.
inline constexpr int kMaxScoreEntries = 64;

// Configuration strings 544 to 607 are the players of clients 0 to 63.

// Takes a player configuration string into record `client`, lengthening the table when
// needed. False when a number in it could not be read; the fields read so far stay set.
// Changes nothing once the scores are frozen.
bool UpdatePlayer(ReadSession& session, int client, std::string_view playerString);

// The k-th number (from 1) of a "scores" argument text, fields cut at single spaces;
// kNoScore when the field is missing, empty or not a number.
int32_t GetScoreField(std::string_view arguments, int k);

// The fields of a "scores" argument text, cut once for many look-ups.
class ScoreFields {
 public:
  explicit ScoreFields(std::string_view arguments);
  // As GetScoreField.
  int32_t Get(int k) const;

 private:
  std::vector<std::string_view> fields_;
};

// Takes the scores, times, ranks and awards of a "scores" argument text. False when its
// entry count is not a number. Freezes the scores when the game has ended.
bool ApplyScores(ReadSession& session, std::string_view arguments);

// Leaders first: higher score, then lower rank, then lower skill.
void SortPlayers(std::vector<TPlayer>& players);

}  // namespace rw
