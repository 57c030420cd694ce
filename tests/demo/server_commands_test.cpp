#include "demo/server_commands.h"

#include <gtest/gtest.h>

#include "support/demo_writer.h"

namespace rw {
namespace {

// A read in progress: game state seen, server time 70000 ms after a demo start at 10000.
struct Reading {
  explicit Reading(int32_t protocol = 43, std::string gameType = "1", bool buildLog = true)
      : session(state, "", buildLog) {
    state.Protocol = protocol;
    state.GameType = std::move(gameType);
    session.ScoreFieldsPerPlayer = protocol <= 45 ? 6 : (protocol == 46 ? 15 : 14);
    session.demoStartTime = 10000;
    session.levelStartTime = 10000;
    session.serverTime = 70000;
  }
  void Run(std::initializer_list<std::string_view> commands) {
    for (std::string_view command : commands) HandleServerCommand(session, command);
  }
  const std::vector<std::string>& log() const { return state.MatchLog; }

  DemoReadState state;
  ReadSession session;
};

TEST(GetToken, SplitsAtSpacesOutsideQuotesAndTrims) {
  EXPECT_EQ(GetToken("cs 6 \"12\"\n", 0), "cs");
  EXPECT_EQ(GetToken("cs 6 \"12\"\n", 1), "6");
  EXPECT_EQ(GetToken("cs 6 \"12\"\n", 2), "12");
  EXPECT_EQ(GetToken("cs 6 \"12\"\n", 3), "");
  EXPECT_EQ(GetToken("chat \"Visor: good game\"", 1), "Visor: good game");
  EXPECT_EQ(GetToken("chat \"gg!!\"", 1), "gg");
  EXPECT_EQ(GetToken("print \"\x01\"", 1), "");
  EXPECT_EQ(GetToken("scores", 0), "scores");
  EXPECT_EQ(GetToken("a  b", 1), "");
  EXPECT_EQ(GetToken("a  b", 2), "b");
  EXPECT_EQ(GetToken("", 0), "");
  EXPECT_EQ(GetToken("caf\xe9 x", 0), "caf\xe9");  // bytes above 127 are not trimmed
}

TEST(TeamLabels, ComparedAsText) {
  EXPECT_EQ(FirstTeamLabel("3"), "Red team");
  EXPECT_EQ(SecondTeamLabel("N/A"), "Blue team");
  EXPECT_EQ(FirstTeamLabel("10"), "1st ranked player");
  EXPECT_EQ(SecondTeamLabel(""), "2nd ranked player");
}

TEST(ServerCommands, TimeStampsCountFromTheLevelStartWhileTheGameRuns) {
  Reading r;
  r.Run({"chat \"warmup\"", "cs 13 \"40000\"", "chat \"running\""});
  r.session.serverTime = 3671500;  // 1:01:01.5 after the level start, halves to even
  r.Run({"tchat \"later\""});
  EXPECT_EQ(r.log(), (std::vector<std::string>{"^400:01:00 ^7warmup",
                                               "^400:01:00 ^7^7-> ^200:00:00 ^1*** GAME START ***",
                                               "^200:00:30 ^7running", "^201:00:32 ^7later"}));
  r.Run({"cs 13 \"99\""});  // only the first level start counts
  EXPECT_EQ(r.session.levelStartTime, 40000);
}

TEST(ServerCommands, ScoreChangesNameTeamsOrRanks) {
  Reading team(43, "3");
  team.Run({"cs 6 \"4\"", "cs 6 \"5\"", "cs 6 \"4\"", "cs 7 \"-1\""});
  EXPECT_EQ(team.log(), (std::vector<std::string>{"^400:01:00 ^7Red team ^7scored: 4",
                                                  "^400:01:00 ^7Red team ^7scored: 5",
                                                  "^400:01:00 ^7Red team ^7killed himself: 4",
                                                  "^400:01:00 ^7Blue team ^7scored: -1"}));
  EXPECT_EQ(team.state.Score1, "4");
  EXPECT_EQ(team.state.Score2, "-1");

  Reading free(43, "0");
  free.Run({"cs 6 \"5\"", "cs 7 \"4\""});
  EXPECT_EQ(free.log(), (std::vector<std::string>{"^400:01:00 ^71st ranked player ^7scored: 5",
                                                  "^400:01:00 ^72nd ranked player ^7scored: 4"}));
}

TEST(ServerCommands, ScoresStopChangingOnceTheGameHasEnded) {
  Reading r;
  r.Run({"cs 6 \"3\"", "cs 14 \"1\"", "cs 6 \"9\""});
  EXPECT_EQ(r.state.Score1, "3");
  EXPECT_EQ(r.log().back(), "^400:01:00 ^71st ranked player ^7scored: 9");
  EXPECT_EQ(r.session.previousScore1, 9);
}

TEST(ServerCommands, WarmupVotesAndBadNumbers) {
  Reading r;
  r.Run({"cs 5 \"0\"", "cs 5 \"\"", "cs 5 \"-5\"", "cs 5 \"75500\"", "cs 5 \"55000\"",
         "cs 9 \"map q3dm17\"", "cs 10 \"3\"", "cs 11 \"1\"", "cs x \"1\"", "cs 6 \"many\"",
         "cs 5 \"soon\""});
  EXPECT_EQ(r.log(), (std::vector<std::string>{
                         "^400:01:00 ^7Match will be restarted in 6",
                         "^400:01:00 ^7Match will be restarted in -15",
                         "^400:01:00 ^7Vote reason: map q3dm17",
                         "^400:01:00 ^7Votes for 'yes': 3",
                         "^400:01:00 ^7Votes for 'no': 1",
                         "Parsing Error: cs x \"1\"",
                         "Parsing Error: cs 6 \"many\"",
                         "Parsing Error: cs 5 \"soon\"",
                     }));
}

TEST(ServerCommands, WithoutALogOnlyParsingErrorsAreKept) {
  Reading r(43, "3", false);
  r.Run({"cs 6 \"1\"", "chat \"hi\"", "cs 13 \"1\"", "print \"Fraglimit hit.\"", "cs 7 \"y\"",
         "scores 1 1 0 0 1 0 0 0 0"});
  EXPECT_EQ(r.log(), std::vector<std::string>{"Parsing Error: cs 7 \"y\""});
  EXPECT_TRUE(r.session.GameStarted);
  EXPECT_TRUE(r.session.GameEnded);
}

TEST(ServerCommands, LevelStartAndIntermissionStringsFollowTheProtocol) {
  for (int32_t protocol : {43, 45, 46}) {
    Reading r(protocol);
    r.Run({"cs 21 \"20000\"", "cs 22 \"1\""});
    EXPECT_FALSE(r.session.GameStarted || r.session.GameEnded) << protocol;
    r.Run({"cs 13 \"20000\"", "cs 14 \"1\"", "cs 14 \"1\""});
    EXPECT_EQ(r.log(),
              (std::vector<std::string>{"^400:01:00 ^7^7-> ^200:00:00 ^1*** GAME START ***",
                                        "^200:00:50 ^7^1*** GAME END ***"}))
        << protocol;
  }
  for (int32_t protocol : {47, 48}) {
    // 12 to 19 carry team votes in these protocols.
    Reading r(protocol);
    r.Run({"cs 13 \"20000\"", "cs 14 \"1\""});
    EXPECT_TRUE(r.log().empty()) << protocol;
    r.Run({"cs 21 \"20000\"", "cs 22 \"1\""});
    EXPECT_EQ(r.log(),
              (std::vector<std::string>{"^400:01:00 ^7^7-> ^200:00:00 ^1*** GAME START ***",
                                        "^200:00:50 ^7^1*** GAME END ***"}))
        << protocol;
  }
}

TEST(ServerCommands, HitLimitsInMessagesEndTheGame) {
  for (std::string_view message : {"print \"FragLimit HIT.\n\"", "cp \"Timelimit hit\"",
                                   "chat \"Red hit the capturelimit\""}) {
    Reading r;
    r.Run({"cs 13 \"10000\"", message, "print \"fraglimit hit\""});
    ASSERT_EQ(r.log().size(), 4u) << message;
    EXPECT_EQ(r.log()[2], "^200:01:00 ^7^1*** GAME END ***");
    EXPECT_EQ(r.log()[3], "^400:01:00 ^7fraglimit hit");
  }
}

TEST(ServerCommands, OtherCommandsAreLoggedOnlyWithTscores) {
  Reading r;
  r.Run({"tscores 1 2", "xtscoresx", "tinfo 1 2 3", "CS 6 \"1\"", "Chat \"x\""});
  EXPECT_EQ(r.log(),
            (std::vector<std::string>{"^400:01:00 ^7tscores 1 2", "^400:01:00 ^7xtscoresx"}));
}

TEST(ServerCommands, PlayerStringsInCsCommands) {
  Reading r;
  r.Run({"cs 545 \"n\\Visor\\t\\1\"", "cs 546 \"\"", "cs 547 \"n\\Bad\\t\\x\""});
  ASSERT_EQ(r.state.Players.size(), 4u);
  EXPECT_EQ(r.state.Players[1].Name, "Visor");
  EXPECT_EQ(r.state.Players[3].Name, "Bad");
  EXPECT_TRUE(r.log().empty());  // failures of cs player strings are not reported
}

TEST(ServerCommands, ScoresGoOnWithTheNextRecord) {
  Reading r;
  EXPECT_EQ(HandleServerCommand(r.session, "scores x"), AfterCommand::kNextRecord);
  EXPECT_TRUE(r.state.ScoresSeen);
  EXPECT_EQ(r.log(), std::vector<std::string>{"^400:01:00 ^7^1SCORE PARSING ERROR"});
  EXPECT_EQ(HandleServerCommand(r.session, "cs 6 \"1\""), AfterCommand::kNextOperation);
  EXPECT_EQ(HandleServerCommand(r.session, "print \"x\""), AfterCommand::kNextOperation);
}

TEST(Scoreboard, LinesLineUpWithTheHeader) {
  Reading r(43, "3");
  r.Run({"cs 544 \"n\\^1Visor\\t\\1\"", "cs 545 \"n\\Sarge\\t\\3\"", "cs 547 \"n\\Long\\t\\2\""});
  r.Run({"scores 4 7 3 0 15 50 3 0 0 1 2 999 4 0 0 2 1 1 1 0 0 3 123456789 1234567 12345678 0 0"});
  EXPECT_EQ(r.log(), (std::vector<std::string>{
                         "",
                         "^400:01:00 ^1SCORE   PING   TIME   NAME",
                         "         ^715      50     3      ^1Visor",
                         "         ^7SPECT   999    4      Sarge",
                         "         ^7123456789123456712345678Long",
                         "         ^1TEAMSCORE ^17^7:^43",
                         "",
                     }));
}

TEST(Scoreboard, FieldsPerPlayerFollowTheProtocol) {
  // Two entries each; the second entry's client, score, ping and time start at field
  // 4 + fields per player.
  struct Case {
    int32_t protocol;
    std::string arguments;
  };
  const std::vector<Case> cases = {
      {43, "2 0 0 0 20 5 6 0 0 1 10 7 8 0 0"},
      {46, "2 0 0 0 20 5 6 0 0 0 0 0 0 0 0 0 0 0 1 10 7 8 0 0 0 0 0 0 0 0 0 0 0"},
      {48, "2 0 0 0 20 5 6 0 0 0 0 0 0 0 0 0 0 1 10 7 8 0 0 0 0 0 0 0 0 0 0"},
  };
  for (const Case& c : cases) {
    Reading r(c.protocol);
    r.Run({"cs 544 \"n\\A\"", "cs 545 \"n\\B\""});
    r.Run({"scores " + c.arguments});
    ASSERT_EQ(r.log().size(), 5u) << c.protocol;
    EXPECT_EQ(r.log()[2], "         ^720      5      6      A") << c.protocol;
    EXPECT_EQ(r.log()[3], "         ^710      7      8      B") << c.protocol;
  }
}

TEST(Scoreboard, SkipsUnknownAndNamelessClients) {
  Reading r;
  r.Run({"cs 546 \"n\\C\""});  // clients 0 and 1 are empty slots
  r.Run({"scores 3 0 0 1 1 1 1 0 0 7 2 2 2 0 0 2 3 3 3 0 0"});
  EXPECT_EQ(r.log(), (std::vector<std::string>{"", "^400:01:00 ^1SCORE   PING   TIME   NAME",
                                               "         ^73       3      3      C", ""}));
}

}  // namespace
}  // namespace rw
