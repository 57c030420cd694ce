#include <gtest/gtest.h>

#include "host/dos_time.h"
#include "host/file_system.h"
#include "host/locale.h"
#include "host/posix/posix_file_system.h"
#include "support/test_files.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

TEST(DosTime, PackedFieldsFollowTheMsDosRule) {
  // 2001-05-03 17:04:08: year 21, month 5, day 3, hour 17, minute 4, two-second count 4.
  const uint32_t packed = (21u << 25) | (5u << 21) | (3u << 16) | (17u << 11) | (4u << 5) | 4u;
  const LocalDateTime v = FromDosTime(packed);
  EXPECT_EQ(v, (LocalDateTime{2001, 5, 3, 17, 4, 8}));
  EXPECT_EQ(ToDosTime(v), packed);
}

TEST(Wildcard, MatchesLikeAFolderListing) {
  EXPECT_TRUE(MatchesWildcard("anything", "*.*"));
  EXPECT_TRUE(MatchesWildcard("RWTTMP07.DM_48", "rwttmp*.*"));
  EXPECT_TRUE(MatchesWildcard("pak0.PK3", "*.pk3"));
  EXPECT_FALSE(MatchesWildcard("pak0.pk3x", "*.pk3"));
  EXPECT_TRUE(MatchesWildcard("a.dm3", "?.dm*"));
  EXPECT_FALSE(MatchesWildcard("ab.dm3", "?.dm*"));
}

TEST(FixedLocale, DatesRoundTripAndInvalidOnesDoNotConvert) {
  FixedLocale locale;
  const LocalDateTime v{2001, 5, 3, 17, 4, 8};
  EXPECT_EQ(locale.ShortDateText(v) + " " + locale.LongTimeText(v), "2001-05-03 17:04:08");
  EXPECT_EQ(locale.ParseDateTime("2001-05-03 17:04:08"), v);
  EXPECT_EQ(locale.ParseDateTime("2001-05-03"), (LocalDateTime{2001, 5, 3, 0, 0, 0}));
  EXPECT_FALSE(locale.ParseDateTime("2001-02-30"));
  EXPECT_FALSE(locale.ParseDateTime("17:04:08"));
  EXPECT_LT(locale.CompareIgnoringCase("abc", "ABD"), 0);
  EXPECT_EQ(locale.CompareIgnoringCase("ABC", "abc"), 0);
  EXPECT_LT(locale.Compare("ABC", "abc"), 0);
}

TEST(Windows1252, CaseAndUtf8) {
  EXPECT_EQ(AnsiLowerText("ABC\xC4\xD7"), "abc\xE4\xD7");
  EXPECT_EQ(AnsiUpperText("abc\xE4\xF7\xFF"), "ABC\xC4\xF7\x9F");
  EXPECT_EQ(Windows1252ToUtf8("\xE4\x80"), "\xC3\xA4\xE2\x82\xAC");
}

TEST(PosixFileSystem, AtomicWriteRenameAndMoveRefuseToReplace) {
  test::TempDir dir;
  PosixFileSystem fs;
  const std::string a = dir.Join("a"), b = dir.Join("b");
  ASSERT_TRUE(fs.WriteFileAtomic(a, "one"));
  ASSERT_TRUE(fs.WriteFileAtomic(b, "two"));
  EXPECT_EQ(fs.Rename(a, b).kind, FileResult::kExists);
  EXPECT_EQ(fs.MoveFile(a, b).kind, FileResult::kExists);
  EXPECT_EQ(test::ReadBytes(b), "two");
  EXPECT_TRUE(fs.MoveFile(a, dir.Join("c")).ok());
  EXPECT_FALSE(fs.Exists(a));
  EXPECT_EQ(fs.ReadFile(dir.Join("c")), "one");
  EXPECT_FALSE(fs.WriteFileAtomic(dir.Join("missing/x"), "x"));
  EXPECT_EQ(fs.List(dir.path(), "*.*").size(), 2u);
}

}  // namespace
}  // namespace rw
