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

TEST(DemoGeneration, ComesFromTheProtocolTextComparedAsCharacters) {
  EXPECT_EQ(GenerationOfProtocolText("48"), DemoGeneration::k127);
  EXPECT_EQ(GenerationOfProtocolText("47"), DemoGeneration::k127);
  EXPECT_EQ(GenerationOfProtocolText("46"), DemoGeneration::k117);
  EXPECT_EQ(GenerationOfProtocolText("43"), DemoGeneration::k117);
  // As text, "5" is above "47" and "100" below it.
  EXPECT_EQ(GenerationOfProtocolText("5"), DemoGeneration::k127);
  EXPECT_EQ(GenerationOfProtocolText("100"), DemoGeneration::k117);
  EXPECT_EQ(DemoExtension(DemoGeneration::k117), ".dm3");
  EXPECT_EQ(DemoExtension(DemoGeneration::k127), ".dm_48");
  EXPECT_EQ(VersionLabel(DemoGeneration::k127), "1.27");
  EXPECT_FALSE(IsPlayableProtocolText("46"));
  EXPECT_TRUE(IsPlayableProtocolText("45"));
}

}  // namespace
}  // namespace rw
