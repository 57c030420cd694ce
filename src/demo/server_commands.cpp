#include "demo/server_commands.h"

#include <algorithm>
#include <optional>

#include "demo/decimal_text.h"
#include "demo/demo_generation.h"
#include "demo/game_state.h"
#include "demo/player_records.h"
#include "demo/time_text.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

bool IsTrimmed(char c) {
  return static_cast<unsigned char>(c) <= 34;
}

bool IsTeamGame(std::string_view gameType) {
  return gameType > std::string_view("2");
}

std::string SecondsText(int64_t milliseconds) {
  return FormatSeconds(static_cast<uint32_t>(RoundedSeconds(milliseconds)));
}

std::string PaddedTo(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

void LogParsingError(ReadSession& session, std::string_view text) {
  session.Log("Parsing Error: " + std::string(text));
}

void ScoreChanged(ReadSession& session, std::string_view value, int32_t number, bool first) {
  DemoReadState& state = session.state;
  int32_t& previous = first ? session.previousScore1 : session.previousScore2;
  if (!session.GameEnded) (first ? state.Score1 : state.Score2) = std::string(value);
  const std::string label =
      first ? FirstTeamLabel(state.GameType) : SecondTeamLabel(state.GameType);
  const char* event = number > previous ? " ^7scored: " : " ^7killed himself: ";
  AddLogLine(session, label + event + std::string(value));
  previous = number;
}

void HandleConfigString(ReadSession& session, std::string_view text) {
  const std::optional<int32_t> index = ParseInt32(GetToken(text, 1));
  if (!index) {
    LogParsingError(session, text);
    return;
  }
  const std::string value = GetToken(text, 2);
  const ProtocolLayout& layout = LayoutOf(session.state.Protocol);
  if (*index == kWarmupString) {
    if (value > std::string_view("0")) {
      const std::optional<int64_t> warmupEnd = ParseInt64(value);
      if (!warmupEnd) return LogParsingError(session, text);
      const int64_t seconds = RoundedSeconds(*warmupEnd - session.serverTime);
      AddLogLine(session, "Match will be restarted in " + std::to_string(seconds));
    }
  } else if (*index == kFirstScoreString || *index == kSecondScoreString) {
    const std::optional<int32_t> score = ParseInt32(value);
    if (!score) return LogParsingError(session, text);
    ScoreChanged(session, value, *score, *index == kFirstScoreString);
  } else if (*index == kVoteTextString) {
    AddLogLine(session, "Vote reason: " + value);
  } else if (*index == kVoteYesString) {
    AddLogLine(session, "Votes for 'yes': " + value);
  } else if (*index == kVoteNoString) {
    AddLogLine(session, "Votes for 'no': " + value);
  } else if (*index == layout.levelStartString) {
    if (session.GameStarted) return;
    const std::optional<int64_t> levelStart = ParseInt64(value);
    if (!levelStart) return LogParsingError(session, text);
    session.levelStartTime = *levelStart;
    AddLogLine(session, "^7-> ^200:00:00 ^1*** GAME START ***");
    session.GameStarted = true;
  } else if (*index == layout.intermissionString) {
    if (session.GameEnded) return;
    AddLogLine(session, "^1*** GAME END ***");
    session.GameEnded = true;
  } else if (*index >= kFirstPlayerString && *index <= kLastPlayerString) {
    if (!value.empty()) UpdatePlayer(session, *index - kFirstPlayerString, value);
  }
}

void HandleMessage(ReadSession& session, std::string_view text) {
  const std::string message = GetToken(text, 1);
  AddLogLine(session, message);
  if (session.GameEnded) return;
  const std::string lower = AnsiLowerText(message);
  if (lower.find("timelimit hit") != std::string::npos ||
      lower.find("fraglimit hit") != std::string::npos ||
      lower.find("hit the capturelimit") != std::string::npos) {
    AddLogLine(session, "^1*** GAME END ***");
    session.GameEnded = true;
  }
}

}  // namespace

std::string GetToken(std::string_view command, int n) {
  size_t pos = 0;
  bool quoted = false;
  for (int separators = 0; separators < n && pos < command.size(); ++pos) {
    if (command[pos] == '"') {
      quoted = !quoted;
    } else if (command[pos] == ' ' && !quoted) {
      ++separators;
    }
  }
  if (n > 0 && pos >= command.size()) return {};
  size_t end = pos;
  while (end < command.size()) {
    const char c = command[end++];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ' ' && !quoted) {
      break;
    }
  }
  size_t first = pos;
  while (first < end && IsTrimmed(command[first])) ++first;
  while (end > first && IsTrimmed(command[end - 1])) --end;
  return std::string(command.substr(first, end - first));
}

std::string TimeStamp(const ReadSession& session) {
  if (session.GameStarted && !session.GameEnded) {
    return "^2" + SecondsText(session.serverTime - session.levelStartTime);
  }
  return "^4" + SecondsText(session.serverTime - session.demoStartTime);
}

void AddLogLine(ReadSession& session, std::string_view text) {
  if (!session.buildLog) return;
  session.Log(TimeStamp(session) + " ^7" + std::string(text));
}

std::string FirstTeamLabel(std::string_view gameType) {
  return IsTeamGame(gameType) ? "Red team" : "1st ranked player";
}

std::string SecondTeamLabel(std::string_view gameType) {
  return IsTeamGame(gameType) ? "Blue team" : "2nd ranked player";
}

void WriteScoreboard(ReadSession& session, std::string_view arguments) {
  if (!session.buildLog) return;
  const std::optional<int32_t> count = ParseInt32(GetToken(arguments, 0));
  if (!count) return;
  DemoReadState& state = session.state;
  session.Log("");
  session.Log(TimeStamp(session) + " ^1SCORE   PING   TIME   NAME");
  const ScoreFields fields(arguments);
  const int entries = std::min(*count, kMaxScoreEntries);
  for (int i = 0; i < entries; ++i) {
    const int base = i * session.ScoreFieldsPerPlayer;
    const int32_t client = fields.Get(base + 4);
    if (client < 0 || static_cast<size_t>(client) >= state.Players.size()) continue;
    const TPlayer& player = state.Players[client];
    if (player.Name.empty()) continue;
    const std::string score =
        player.Team >= kTeamSpectator ? std::string("SPECT") : std::to_string(fields.Get(base + 5));
    session.Log("         ^7" + PaddedTo(score, 8) +
                PaddedTo(std::to_string(fields.Get(base + 6)), 7) +
                PaddedTo(std::to_string(fields.Get(base + 7)), 7) + player.Name);
  }
  if (IsTeamGame(state.GameType)) {
    session.Log("         ^1TEAMSCORE ^1" + state.Score1 + "^7:^4" + state.Score2);
  }
  session.Log("");
}

AfterCommand HandleServerCommand(ReadSession& session, std::string_view text) {
  const std::string command = GetToken(text, 0);
  if (command == "cs") {
    HandleConfigString(session, text);
  } else if (command == "scores") {
    session.state.ScoresSeen = true;
    const std::string_view arguments = text.size() > 7 ? text.substr(7) : std::string_view();
    if (ApplyScores(session, arguments)) {
      WriteScoreboard(session, arguments);
    } else {
      AddLogLine(session, "^1SCORE PARSING ERROR");
    }
    return AfterCommand::kNextRecord;
  } else if (command == "chat" || command == "tchat" || command == "cp" || command == "print") {
    HandleMessage(session, text);
  } else if (text.find("tscores") != std::string_view::npos) {
    AddLogLine(session, text);
  }
  return AfterCommand::kNextOperation;
}

}  // namespace rw
