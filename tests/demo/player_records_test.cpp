#include "demo/player_records.h"

#include <gtest/gtest.h>

#include "demo/server_commands.h"

namespace rw {
namespace {

struct Table {
  explicit Table(int32_t protocol = 43) : session(state, "", true) {
    state.Protocol = protocol;
    session.ScoreFieldsPerPlayer = protocol <= 45 ? 6 : (protocol == 46 ? 15 : 14);
  }
  std::vector<TPlayer>& players() { return state.Players; }

  DemoReadState state;
  ReadSession session;
};

TPlayer Player(std::string name, int32_t score, int32_t rank, double skill = kKeyAbsent) {
  TPlayer p;
  p.Name = std::move(name);
  p.Score = score;
  p.Rank = rank;
  p.Skill = skill;
  return p;
}

TEST(UpdatePlayer, TakesTheKnownKeysAndMarksTheAbsentOnes) {
  Table t;
  EXPECT_TRUE(UpdatePlayer(t.session, 0, "n\\Visor\\t\\1\\model\\visor/red\\hc\\100"));
  const TPlayer& p = t.players()[0];
  EXPECT_EQ(p.Name, "Visor");
  EXPECT_EQ(p.Team, 1);
  EXPECT_EQ(p.Model, "visor/red");
  EXPECT_EQ(p.HeadModel, "");
  EXPECT_EQ(p.Handicap, 100);
  EXPECT_EQ(p.Wins, kKeyAbsent);
  EXPECT_EQ(p.Losses, kKeyAbsent);
  EXPECT_EQ(p.Skill, kKeyAbsent);
  EXPECT_EQ(p.TeamLeader, "0");
  EXPECT_EQ(p.Score, kNoScore);
  EXPECT_EQ(p.Rank, kNotRanked);

  EXPECT_TRUE(UpdatePlayer(t.session, 0, "n\\Bot\\skill\\4.5\\tl\\1\\w\\3\\l\\-2\\t\\2"));
  EXPECT_EQ(p.Skill, 4.5);
  EXPECT_EQ(p.TeamLeader, "1");
  EXPECT_EQ(p.Wins, 3);
  EXPECT_EQ(p.Losses, -2);
  EXPECT_EQ(p.Model, "");
  // As a 1.32 server writes a bot's skill.
  EXPECT_TRUE(UpdatePlayer(t.session, 0, "n\\Grunt\\skill\\    2.00\\tt\\0"));
  EXPECT_EQ(p.Skill, 2.0);
}

TEST(UpdatePlayer, NumbersThatAreNotNumbersFailButKeepTheRest) {
  Table t;
  ASSERT_TRUE(UpdatePlayer(t.session, 2, "n\\A\\t\\2"));
  EXPECT_FALSE(UpdatePlayer(t.session, 2, "n\\B\\t\\x\\model\\sarge\\hc\\50"));
  const TPlayer& p = t.players()[2];
  EXPECT_EQ(p.Name, "B");
  EXPECT_EQ(p.Team, 2);  // kept
  EXPECT_EQ(p.Model, "sarge");
  EXPECT_EQ(p.Handicap, 50);
  EXPECT_FALSE(UpdatePlayer(t.session, 2, "n\\B\\skill\\hard"));
  EXPECT_EQ(p.Skill, kKeyAbsent);
  EXPECT_FALSE(UpdatePlayer(t.session, 2, "n\\B\\skill\\nan"));
  EXPECT_EQ(p.Skill, kKeyAbsent);
}

TEST(UpdatePlayer, PlayerNamedTKeepsItsRealTeam) {
  Table t;
  EXPECT_TRUE(UpdatePlayer(t.session, 0, "n\\t\\t\\2\\model\\t"));
  EXPECT_EQ(t.players()[0].Name, "t");
  EXPECT_EQ(t.players()[0].Team, 2);
  EXPECT_EQ(t.players()[0].Model, "t");
}

TEST(UpdatePlayer, HigherClientNumbersLengthenTheTable) {
  Table t;
  UpdatePlayer(t.session, 10, "n\\Late\\t\\0");
  ASSERT_EQ(t.players().size(), 11u);
  for (size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(t.players()[i].Name, "");
    EXPECT_EQ(t.players()[i].Score, kNoScore);
    EXPECT_EQ(t.players()[i].Rank, kNotRanked);
  }
  UpdatePlayer(t.session, 3, "n\\Early");
  EXPECT_EQ(t.players().size(), 11u);
}

TEST(GetScoreField, CountsFromOneBetweenSingleSpaces) {
  EXPECT_EQ(GetScoreField("2 10 -3", 1), 2);
  EXPECT_EQ(GetScoreField("2 10 -3", 3), -3);
  EXPECT_EQ(GetScoreField("2 10 -3", 4), kNoScore);
  EXPECT_EQ(GetScoreField("2  10", 2), kNoScore);
  EXPECT_EQ(GetScoreField("2  10", 3), 10);
  EXPECT_EQ(GetScoreField("2 x", 2), kNoScore);
  EXPECT_EQ(GetScoreField("2 99999999999", 2), kNoScore);
}

TEST(ApplyScores, OldProtocolsHaveSixNumbersPerPlayer) {
  Table t(43);
  UpdatePlayer(t.session, 0, "n\\A\\t\\1");
  UpdatePlayer(t.session, 1, "n\\B\\t\\2");
  EXPECT_TRUE(ApplyScores(t.session, "2 12 7 1 9 40 5 0 0 0 3 60 4 1 1"));
  EXPECT_EQ(t.state.Score1, "12");
  EXPECT_EQ(t.state.Score2, "7");
  EXPECT_EQ(t.players()[1].Score, 9);
  EXPECT_EQ(t.players()[1].Rank, 0);
  EXPECT_EQ(t.players()[1].Time, 5);
  EXPECT_EQ(t.players()[0].Score, 3);
  EXPECT_EQ(t.players()[0].Rank, 1);
  EXPECT_EQ(t.players()[0].Time, 4);
  EXPECT_EQ(t.players()[0].Accuracy, 0);
}

TEST(ApplyScores, Protocol46HasFifteenNumbersAndNoAwards) {
  Table t(46);
  UpdatePlayer(t.session, 0, "n\\A");
  UpdatePlayer(t.session, 1, "n\\B");
  EXPECT_TRUE(ApplyScores(t.session,
                          "2 0 0 0 5 1 2 3 4 50 1 2 3 4 5 6 7 8 1 6 1 9 3 4 60 1 2 3 4 5 6 7 8"));
  EXPECT_EQ(t.players()[1].Score, 6);
  EXPECT_EQ(t.players()[1].Time, 9);
  EXPECT_EQ(t.players()[0].Accuracy, 0);
}

TEST(ApplyScores, NewProtocolsHaveFourteenNumbersWithAwards) {
  Table t(48);
  UpdatePlayer(t.session, 0, "n\\A");
  UpdatePlayer(t.session, 1, "n\\B");
  EXPECT_TRUE(ApplyScores(t.session,
                          "2 0 0 1 20 30 15 0 0 44 1 2 3 4 5 6 7 0 9 40 16 0 0 55 8 7 6 5 4 3 2"));
  const TPlayer& b = t.players()[1];
  EXPECT_EQ(b.Score, 20);
  EXPECT_EQ(b.Time, 15);
  EXPECT_EQ(b.Accuracy, 44);
  EXPECT_EQ(b.Impressives, 1);
  EXPECT_EQ(b.Excellents, 2);
  EXPECT_EQ(b.Gauntlets, 3);
  EXPECT_EQ(b.Defends, 4);
  EXPECT_EQ(b.Assists, 5);
  EXPECT_EQ(b.Perfects, 6);
  EXPECT_EQ(b.Captures, 7);
  EXPECT_EQ(t.players()[0].Captures, 2);
  EXPECT_EQ(t.players()[0].Rank, 1);
}

TEST(ApplyScores, SpectatorsGetTheirTimeOnlyAndOddClientsCountAsZero) {
  Table t(43);
  UpdatePlayer(t.session, 0, "n\\A\\t\\0");
  UpdatePlayer(t.session, 1, "n\\Onlooker\\t\\3");
  EXPECT_TRUE(ApplyScores(t.session, "3 0 0 1 50 0 7 0 0 70 4 0 9 0 0 x 5 0 3 0 0"));
  EXPECT_EQ(t.players()[1].Score, kNoScore);
  EXPECT_EQ(t.players()[1].Rank, kNotRanked);
  EXPECT_EQ(t.players()[1].Time, 7);
  // Client 70 and the client that is not a number both land on client 0; the last wins.
  EXPECT_EQ(t.players()[0].Score, 5);
  EXPECT_EQ(t.players()[0].Rank, 2);
  EXPECT_EQ(t.players()[0].Time, 3);
}

TEST(ApplyScores, BadCountFailsAndChangesNothing) {
  Table t;
  UpdatePlayer(t.session, 0, "n\\A");
  EXPECT_FALSE(ApplyScores(t.session, "x 3 4 0 9 0 1 0 0"));
  EXPECT_EQ(t.state.Score1, "0");
  EXPECT_EQ(t.players()[0].Score, kNoScore);
  // A client beyond the table is skipped.
  EXPECT_TRUE(ApplyScores(t.session, "1 3 4 5 9 0 1 0 0"));
  EXPECT_EQ(t.players().size(), 1u);
}

TEST(ApplyScores, TheFirstScoreboardAfterTheGameEndIsFinal) {
  Table t;
  UpdatePlayer(t.session, 0, "n\\A\\t\\1");
  EXPECT_TRUE(ApplyScores(t.session, "1 5 0 0 5 0 1 0 0"));
  EXPECT_FALSE(t.session.ScoresFrozen);
  t.session.GameEnded = true;
  EXPECT_TRUE(ApplyScores(t.session, "1 6 0 0 6 0 2 0 0"));
  EXPECT_TRUE(t.session.ScoresFrozen);
  EXPECT_TRUE(ApplyScores(t.session, "1 9 0 0 9 0 3 0 0"));
  EXPECT_TRUE(UpdatePlayer(t.session, 0, "n\\Renamed\\t\\x"));
  HandleServerCommand(t.session, "cs 544 \"n\\Other\\t\\2\"");
  EXPECT_EQ(t.players()[0].Name, "A");
  EXPECT_EQ(t.players()[0].Score, 6);
  EXPECT_EQ(t.players()[0].Time, 2);
  EXPECT_EQ(t.state.Score1, "6");
}

TEST(SortPlayers, ScoreThenRankThenSkill) {
  std::vector<TPlayer> players = {Player("", kNoScore, kNotRanked, 0),
                                  Player("ranked 1", 20, 1),
                                  Player("bot", 5, 3, 2.0),
                                  Player("spectator", kNoScore, kNotRanked),
                                  Player("ranked 0", 20, 0),
                                  Player("human", 5, 3),
                                  Player("hard bot", 5, 3, 5.0),
                                  Player("top", 31, 4)};
  SortPlayers(players);
  std::vector<std::string> names;
  for (const TPlayer& p : players) names.push_back(p.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"top", "ranked 0", "ranked 1", "human", "bot",
                                             "hard bot", "spectator", ""}));
}

}  // namespace
}  // namespace rw
