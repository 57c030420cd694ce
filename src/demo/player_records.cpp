#include "demo/player_records.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "demo/decimal_text.h"
#include "demo/info_text.h"
#include "demo/server_commands.h"

namespace rw {
namespace {

// Absent gives kKeyAbsent; a value that is not a number keeps the old one and is a failure.
bool TakeInteger(std::string_view playerString, std::string_view key, int32_t& field) {
  const std::string value = GetPlayerValue(playerString, key);
  if (value.empty()) {
    field = kKeyAbsent;
    return true;
  }
  const std::optional<int32_t> number = ParseInt32(value);
  if (!number) return false;
  field = *number;
  return true;
}

// Bot skills such as "4.00", which servers since 1.30 pad with blanks to five characters;
// anything else that is not a finite number reads as absent.
bool TakeSkill(std::string_view playerString, double& skill) {
  const std::string value = GetPlayerValue(playerString, "skill");
  skill = kKeyAbsent;
  if (value.empty()) return true;
  std::string_view digits = value;
  digits.remove_prefix(std::min(digits.find_first_not_of(' '), digits.size()));
  digits.remove_suffix(digits.size() - std::min(digits.find_last_not_of(' ') + 1, digits.size()));
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  double number = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(number)) {
    return false;
  }
  skill = number;
  return true;
}

}  // namespace

bool UpdatePlayer(ReadSession& session, int client, std::string_view playerString) {
  if (session.ScoresFrozen) return true;
  std::vector<TPlayer>& players = session.state.Players;
  if (client < 0) return false;
  if (players.size() < static_cast<size_t>(client) + 1) players.resize(client + 1);
  TPlayer& player = players[client];
  bool ok = true;
  player.Name = GetPlayerValue(playerString, "n");
  ok &= TakeInteger(playerString, "t", player.Team);
  ok &= TakeSkill(playerString, player.Skill);
  player.Model = GetPlayerValue(playerString, "model");
  player.HeadModel = GetPlayerValue(playerString, "hmodel");
  ok &= TakeInteger(playerString, "hc", player.Handicap);
  ok &= TakeInteger(playerString, "w", player.Wins);
  ok &= TakeInteger(playerString, "l", player.Losses);
  const bool leader = GetPlayerValue(playerString, "tl") == "1";
  player.TeamLeader.assign(1, leader ? '1' : '0');
  return ok;
}

ScoreFields::ScoreFields(std::string_view arguments) {
  size_t start = 0;
  for (;;) {
    const size_t space = arguments.find(' ', start);
    if (space == std::string_view::npos) {
      fields_.push_back(arguments.substr(start));
      return;
    }
    fields_.push_back(arguments.substr(start, space - start));
    start = space + 1;
  }
}

int32_t ScoreFields::Get(int k) const {
  if (k < 1 || static_cast<size_t>(k) > fields_.size()) return kNoScore;
  return ParseInt32(fields_[k - 1]).value_or(kNoScore);
}

int32_t GetScoreField(std::string_view arguments, int k) {
  return ScoreFields(arguments).Get(k);
}

bool ApplyScores(ReadSession& session, std::string_view arguments) {
  if (session.ScoresFrozen) return true;
  const std::optional<int32_t> count = ParseInt32(GetToken(arguments, 0));
  if (!count) return false;
  DemoReadState& state = session.state;
  state.Score1 = GetToken(arguments, 1);
  state.Score2 = GetToken(arguments, 2);
  const ScoreFields fields(arguments);
  const int entries = std::min(*count, kMaxScoreEntries);
  for (int i = 0; i < entries; ++i) {
    const int base = i * session.ScoreFieldsPerPlayer;
    int32_t client = fields.Get(base + 4);
    if (client < 0 || client > 64) client = 0;
    if (static_cast<size_t>(client) >= state.Players.size()) continue;
    TPlayer& player = state.Players[client];
    player.Time = fields.Get(base + 7);
    if (player.Team >= kTeamSpectator) continue;
    player.Rank = i;
    player.Score = fields.Get(base + 5);
    if (LayoutOf(state.Protocol).scoresCarryAwards) {
      int32_t* awards[] = {&player.Accuracy,  &player.Impressives, &player.Excellents,
                           &player.Gauntlets, &player.Defends,     &player.Assists,
                           &player.Perfects,  &player.Captures};
      int k = base + 10;
      for (int32_t* award : awards) *award = fields.Get(k++);
    }
  }
  if (session.GameEnded) session.ScoresFrozen = true;
  return true;
}

void SortPlayers(std::vector<TPlayer>& players) {
  std::stable_sort(players.begin(), players.end(), [](const TPlayer& a, const TPlayer& b) {
    if (a.Score != b.Score) return a.Score > b.Score;
    if (a.Rank != b.Rank) return a.Rank < b.Rank;
    return a.Skill < b.Skill;
  });
}

}  // namespace rw
