#include "demo/demo_generation.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

TEST(ProtocolLayout, EachProtocolRangeHasItsOwnLayout) {
  // Protocol 43 and 45: no message header, 4 bytes before a snapshot's time, 6 numbers a
  // player; 46: the header, 15 numbers; 48: the header, 14 numbers and the awards.
  for (int32_t protocol : {10, 43, 45}) {
    const ProtocolLayout& layout = LayoutOf(protocol);
    EXPECT_EQ(layout.messageHeaderBytes, 0) << protocol;
    EXPECT_EQ(layout.snapshotTimeSkip, 4) << protocol;
    EXPECT_EQ(layout.scoreFieldsPerPlayer, 6) << protocol;
    EXPECT_FALSE(layout.scoresCarryAwards) << protocol;
    EXPECT_EQ(layout.levelStartString, 13) << protocol;
  }
  EXPECT_EQ(LayoutOf(46).messageHeaderBytes, 4);
  EXPECT_EQ(LayoutOf(46).snapshotTimeSkip, 0);
  EXPECT_EQ(LayoutOf(46).scoreFieldsPerPlayer, 15);
  EXPECT_FALSE(LayoutOf(46).scoresCarryAwards);
  for (int32_t protocol : {47, 48, 68}) {
    const ProtocolLayout& layout = LayoutOf(protocol);
    EXPECT_EQ(layout.messageHeaderBytes, 4) << protocol;
    EXPECT_EQ(layout.scoreFieldsPerPlayer, 14) << protocol;
    EXPECT_TRUE(layout.scoresCarryAwards) << protocol;
    EXPECT_EQ(layout.levelStartString, 21) << protocol;
    EXPECT_EQ(layout.intermissionString, 22) << protocol;
  }
}

TEST(DemoGeneration, FollowsTheProtocolNumberOfTheDemoTheExtensionOrTheListedText) {
  // 1.17 wrote 43 to 46, 1.27 47 and 48, 1.30 to 1.32 66 to 68, Quake Live 73, 90 and 91;
  // OpenArena's 70 and 71 and anything unknown are foreign.
  const std::pair<int32_t, DemoGeneration> protocols[] = {
      {43, DemoGeneration::k117},       {46, DemoGeneration::k117},
      {47, DemoGeneration::k127},       {48, DemoGeneration::k127},
      {66, DemoGeneration::k132},       {68, DemoGeneration::k132},
      {73, DemoGeneration::kQuakeLive}, {91, DemoGeneration::kQuakeLive},
      {70, DemoGeneration::kForeign},   {71, DemoGeneration::kForeign},
      {69, DemoGeneration::kForeign},   {0, DemoGeneration::kForeign},
  };
  for (const auto& [protocol, generation] : protocols) {
    EXPECT_EQ(GenerationOfProtocol(protocol), generation) << protocol;
    EXPECT_EQ(GenerationOfExtension(".dm_" + std::to_string(protocol)), generation) << protocol;
    EXPECT_EQ(GenerationOfListedDemo(std::to_string(protocol), "a.dm"), generation) << protocol;
  }
  // The names of real files, in any case; other extensions are no demos.
  EXPECT_EQ(GenerationOfExtension(".DM3"), DemoGeneration::k117);
  EXPECT_EQ(GenerationOfExtension(".Dm_67"), DemoGeneration::k132);
  for (std::string_view other : {".dm", ".dm_", ".dm_6x", ".dm_1000", ".dmx", ".dm4", ".zip"}) {
    EXPECT_FALSE(IsDemoExtension(other)) << other;
  }
  // The reader takes the first two characters of the protocol value: "100" reads as 10.
  EXPECT_EQ(GenerationOfListedDemo("100", "a.dm_48"), DemoGeneration::k117);
  EXPECT_EQ(GenerationOfListedDemo("N/A", "a.dm3"), DemoGeneration::k117);
  EXPECT_EQ(GenerationOfListedDemo("N/A", "a.zip"), DemoGeneration::kForeign);
  // A server's protocol that names a generation decides; one that names none leaves it to the
  // recording client's extension: ioquake3 servers give 71 to 68 clients, OpenArena's 71 is
  // foreign.
  EXPECT_EQ(GenerationOfDemo(68, "a.dm_71"), DemoGeneration::k132);
  EXPECT_EQ(GenerationOfDemo(71, "a.dm_68"), DemoGeneration::k132);
  EXPECT_EQ(GenerationOfDemo(71, "a.dm_71"), DemoGeneration::kForeign);
  EXPECT_EQ(GenerationOfDemo(73, "a.dm_68"), DemoGeneration::kQuakeLive);
}

TEST(DemoGeneration, SomeProgramPlays117But46And127And132) {
  // No installed version plays 46; nothing here plays Quake Live or a foreign demo.
  for (std::string_view playable : {"43", "45", "47", "48", "66", "67", "68"}) {
    EXPECT_TRUE(IsPlayableDemo(playable, "a.dm")) << playable;
  }
  for (std::string_view unplayable : {"46", "70", "73", "91", "N/A"}) {
    EXPECT_FALSE(IsPlayableDemo(unplayable, "a.dm")) << unplayable;
  }
  EXPECT_TRUE(IsPlayableDemo("71", "a.dm_68"));
  EXPECT_FALSE(IsPlayableDemo("71", "a.dm_71"));
}

}  // namespace
}  // namespace rw
