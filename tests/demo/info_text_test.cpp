#include "demo/info_text.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

TEST(GetInfoValueFrom, FindsKeysWithoutRegardToCaseAndKeepsTheValueCase) {
  const std::string info = "\\sv_hostname\\Arena\\protocol\\48\\g_gametype\\4\\";
  EXPECT_EQ(GetInfoValueFrom("SV_HOSTNAME", info), "Arena");
  EXPECT_EQ(GetInfoValueFrom("protocol", info), "48");
  EXPECT_EQ(GetInfoValueFrom("g_gametype", info), "4");
}

TEST(GetInfoValueFrom, MissingKeyIsNotApplicableAndUnterminatedLastValueIsEmpty) {
  EXPECT_EQ(GetInfoValueFrom("fraglimit", "\\a\\1\\"), "N/A");
  EXPECT_EQ(GetInfoValueFrom("b", "\\a\\1\\b\\2"), "");
  EXPECT_EQ(GetInfoValueFrom("a", ""), "N/A");
}

TEST(GetInfoValueFrom, MatchesWholeKeysOnly) {
  const std::string info =
      "\\gameversion\\osp 1.03a\\version\\Q3 1.17 linux-i386\\mode\\x_version\\";
  EXPECT_EQ(GetInfoValueFrom("version", info), "Q3 1.17 linux-i386");
  EXPECT_EQ(GetInfoValueFrom("hostname", "\\sv_hostname\\Arena\\"), "N/A");
  // A value that ends like a key does not answer for it.
  EXPECT_EQ(GetInfoValueFrom("version", "\\mode\\x_version\\other\\1\\"), "N/A");
}

TEST(GetPlayerValue, ComparesKeysExactlyAndReadsTheLastValue) {
  const std::string player = "n\\t\\t\\1\\model\\visor/red\\hc\\100";
  EXPECT_EQ(GetPlayerValue(player, "n"), "t");
  EXPECT_EQ(GetPlayerValue(player, "t"), "1");
  EXPECT_EQ(GetPlayerValue(player, "hc"), "100");
  EXPECT_EQ(GetPlayerValue(player, "T"), "");
  EXPECT_EQ(GetPlayerValue(player, "skill"), "");
}

}  // namespace
}  // namespace rw
