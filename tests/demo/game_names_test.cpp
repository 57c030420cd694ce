#include "demo/game_names.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

DemoReadState WithInfo(std::string info) {
  DemoReadState state;
  state.InfoString = std::move(info);
  return state;
}

TEST(GametypeName, NamesTheStandardModes) {
  const DemoReadState state = WithInfo("\\gamename\\osp\\");
  EXPECT_EQ(GametypeName("0", state), "Free for All");
  EXPECT_EQ(GametypeName("1", state), "Tournament");
  EXPECT_EQ(GametypeName("2", state), "Singleplayer");
  EXPECT_EQ(GametypeName("3", state), "Team Deathmatch");
  EXPECT_EQ(GametypeName("4", state), "Capture the Flag");
  EXPECT_EQ(GametypeName("8", state), "8");
  EXPECT_EQ(GametypeName("N/A", state), "N/A");
  EXPECT_EQ(GametypeName("04", state), "04");
}

TEST(GametypeName, TeamArenaModesOnlyForBaseq3) {
  const DemoReadState base = WithInfo("\\gamename\\baseq3\\");
  EXPECT_EQ(GametypeName("5", base), "One Flag CTF");
  EXPECT_EQ(GametypeName("6", base), "Overload");
  EXPECT_EQ(GametypeName("7", base), "Harvester");
  for (const char* gamename : {"\\gamename\\cpma\\", "\\gamename\\BASEQ3\\", "\\a\\b\\"}) {
    const DemoReadState other = WithInfo(gamename);
    EXPECT_EQ(GametypeName("5", other), "5") << gamename;
    EXPECT_EQ(GametypeName("7", other), "7") << gamename;
  }
}

TEST(ModName, PrefersFsGameThenGamenameInLowerCase) {
  EXPECT_EQ(ModName(WithInfo("\\gamename\\baseq3\\fs_game\\CPMA\\")), "cpma");
  EXPECT_EQ(ModName(WithInfo("\\gamename\\OSP\\")), "osp");
  EXPECT_EQ(ModName(WithInfo("\\sv_hostname\\x\\")), "n/a");
  EXPECT_EQ(ModName(DemoReadState{}), "n/a");
  // An empty fs_game is still fs_game.
  EXPECT_EQ(ModName(WithInfo("\\fs_game\\\\gamename\\osp\\")), "");
}

}  // namespace
}  // namespace rw
