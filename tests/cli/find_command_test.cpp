#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "host/fake/fake_host.h"
#include "host/fake/fake_processes.h"
#include "host/fake/fake_windows.h"
#include "session/session.h"
#include "support/test_files.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

// The first column of each row line (the summary line left out).
std::multiset<std::string> Names(const std::string& out) {
  std::multiset<std::string> names;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    if (line.find('\t') != std::string::npos) names.insert(line.substr(0, line.find('\t')));
  }
  return names;
}

// Two folders of the real test demos (see the session's library tests for what `strings`
// shows of them): "cup" holds duel.dm_48 (players cK-fatal1ty and c58|PELE [PK]), "team"
// holds tdm.dm3 (q3dm7).
class FindCommandTest : public ::testing::Test {
 protected:
  FindCommandTest() {
    fs::create_directories(cup_);
    fs::create_directories(team_);
    fs::copy(test::TestDataPath("demos/duel.dm_48"), cup_ + "/duel.dm_48");
    fs::copy(test::TestDataPath("demos/tdm.dm3"), team_ + "/tdm.dm3");
  }

  test::CliRun Find(const std::string& arguments) {
    return test::RunCli("find --home '" + home_ + "' " + arguments);
  }

  test::TempDir dir_;
  const std::string home_ = dir_.Join("home");
  const std::string cup_ = dir_.Join("demos/cup 2001");
  const std::string team_ = dir_.Join("demos/team");
};

TEST_F(FindCommandTest, PrintsMatchingRowsAsScanDoesAndExitsByWhatItFound) {
  const std::string in = "--in '" + cup_ + "' --in '" + team_ + "' ";
  test::CliRun run = Find(in + "player:fatal1ty");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Names(run.out), std::multiset<std::string>{"duel.dm_48"});
  const std::string row = run.out.substr(0, run.out.find('\n'));
  EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 25) << row;
  EXPECT_NE(row.find("\tztn3tourney1\t"), std::string::npos) << row;
  EXPECT_NE(run.out.find("\n1 item(s) found in 2 folder(s).\n"), std::string::npos) << run.out;
  // Both folders were listed for the search, as scan lists them.
  EXPECT_TRUE(fs::exists(cup_ + "/rwt_scan"));
  EXPECT_TRUE(fs::exists(team_ + "/rwt_scan"));

  // Words after "--" may start with "-"; several words make one query.
  run = Find(in + "-- -fatal1ty q3dm7");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Names(run.out), std::multiset<std::string>{"tdm.dm3"});

  run = Find(in + "--json 'type:duel'");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const nlohmann::json json = nlohmann::json::parse(run.out);
  ASSERT_EQ(json["rows"].size(), 1u);
  EXPECT_EQ(json["rows"][0]["Demoname"], "duel.dm_48");
  EXPECT_EQ(json["rows"][0]["Location"], cup_);
  EXPECT_EQ(json["summary"], "1 item(s) found in 2 folder(s).");

  run = Find(in + "map:q3dm17");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Names(run.out).size(), 0u);
  EXPECT_NE(run.out.find("0 item(s) found in 2 folder(s)."), std::string::npos);

  run = Find(in + "'rating:>=five'");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "reelwright-cli find: Column 10: rating: needs a whole number, as in rating:>=4\n"
            "  rating:>=five\n"
            "           ^\n");

  run = Find("--in '" + dir_.Join("nowhere") + "' q3dm7");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("is not a folder"), std::string::npos);
}

TEST_F(FindCommandTest, SearchesTheSavedTreeAndSeesNotesSavedOnTheCommandLine) {
  EXPECT_EQ(Find("q3dm7").exitCode, 1);
  {
    // The program's windows would save the tree so.
    FakeMessages messages;
    FixedLocale locale;
    CountingPump pump;
    FakeShell shell;
    FakeWindowSystem windows;
    FakeProcessTable processes;
    std::unique_ptr<Session> session =
        Session::Open({home_, dir_.Join("game"), true, false},
                      {messages, locale, pump, shell, windows, processes});
    session->AddFolderBranch(dir_.Join("demos"), [](const std::string&) {});
    session->SaveOnExit();
  }
  test::CliRun run = Find("player:fatal1ty");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Names(run.out), std::multiset<std::string>{"duel.dm_48"});
  EXPECT_NE(run.out.find("1 item(s) found in 3 folder(s)."), std::string::npos) << run.out;

  ASSERT_EQ(test::RunCli("note --home '" + home_ +
                         "' --rating 5 --description 'Überragend' "
                         "tdm.dm3")
                .exitCode,
            0);
  run = Find("'rating:>=5' uberragend");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Names(run.out), std::multiset<std::string>{"tdm.dm3"});

  // A demo added to a folder the index holds is found once the folder is listed again.
  fs::copy(test::TestDataPath("demos/tdm.dm3"), cup_ + "/second.dm3");
  EXPECT_EQ(Names(Find("map:q3dm7").out), std::multiset<std::string>{"tdm.dm3"});
  ASSERT_EQ(test::RunCli("scan --home '" + home_ + "' '" + cup_ + "'").exitCode, 0);
  EXPECT_EQ(Names(Find("map:q3dm7").out), (std::multiset<std::string>{"tdm.dm3", "second.dm3"}));
}

}  // namespace
}  // namespace rw
