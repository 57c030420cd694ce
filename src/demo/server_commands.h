#pragma once

#include <string>
#include <string_view>

#include "demo/read_session.h"

namespace rw {

// The n-th word (from 0) of a server command: words end at spaces outside double quotes;
// every character up to code 34 (controls, space, "!" and the quote) is trimmed off both
// ends.
std::string GetToken(std::string_view command, int n);

// "^2" and the game time while the game runs, else "^4" and the time since the demo start.
std::string TimeStamp(const ReadSession& session);

// Adds a time-stamped line to the match log when a log was asked for.
void AddLogLine(ReadSession& session, std::string_view text);

// Who configuration strings 6 and 7 count for: teams in team games, else ranked players.
std::string FirstTeamLabel(std::string_view gameType);
std::string SecondTeamLabel(std::string_view gameType);

// The scoreboard of a "scores" argument text as match log lines, when a log was asked for.
void WriteScoreboard(ReadSession& session, std::string_view arguments);

// Where the walk goes on after a server command.
enum class AfterCommand { kNextOperation, kNextRecord };

// Handles one server command text that the demo has not given before.
AfterCommand HandleServerCommand(ReadSession& session, std::string_view text);

}  // namespace rw
