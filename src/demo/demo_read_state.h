#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rw {

// Marks a key that a player string does not give, in the integer fields and in Skill.
inline constexpr int32_t kKeyAbsent = -2147483647;
inline constexpr int32_t kNoScore = -9999;
inline constexpr int32_t kNotRanked = 9999;

// The team number ("t") of a player string; 3 and above watch.
enum TeamNumber : int32_t { kTeamFree = 0, kTeamRed = 1, kTeamBlue = 2, kTeamSpectator = 3 };

// One player of a demo.
struct TPlayer {
  std::string Name;
  int32_t Team = 0;
  int32_t DisplaySlot = 0;
  int32_t Score = kNoScore;
  int32_t Time = 0;
  int32_t Accuracy = 0;
  int32_t Impressives = 0;
  int32_t Excellents = 0;
  int32_t Gauntlets = 0;
  int32_t Defends = 0;
  int32_t Assists = 0;
  int32_t Perfects = 0;
  int32_t Captures = 0;
  int32_t Rank = kNotRanked;
  int32_t Handicap = 0;
  int32_t Wins = 0;
  int32_t Losses = 0;
  std::string TeamLeader;
  std::string Model;
  std::string HeadModel;
  double Skill = 0;
};

// The results of the last demo read; every read resets and refills it.
struct DemoReadState {
  std::string InfoString = "N/A";
  std::string MapMessage = "N/A";
  std::string MapMusic = "N/A";
  std::string GameType;
  int32_t Protocol = 0;
  std::string Score1 = "0";
  std::string Score2 = "0";
  std::string Playtime = "00:00:00";
  std::string SizeText;
  std::string RecordedText;
  std::vector<TPlayer> Players;
  std::vector<std::string> MatchLog;
  bool ScoresSeen = false;
};

}  // namespace rw
