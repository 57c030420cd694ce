#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

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

// Values no MS-DOS time holds still print as printf's "%04d" and "%02d" do.
TEST(FixedLocale, OddValuesPrintAsPrintfPadsThem) {
  FixedLocale locale;
  for (const LocalDateTime& v :
       {LocalDateTime{1980, 0, 0, 31, 63, 62}, LocalDateTime{-5, -1, 123, 7, 0, 9},
        LocalDateTime{12345, 10, 9, -12, 100, 0}}) {
    char date[64];
    char time[64];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", v.year, v.month, v.day);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", v.hour, v.minute, v.second);
    EXPECT_EQ(locale.ShortDateText(v), date);
    EXPECT_EQ(locale.LongTimeText(v), time);
  }
}

TEST(Windows1252, CaseAndUtf8) {
  EXPECT_EQ(AnsiLowerText("ABC\xC4\xD7"), "abc\xE4\xD7");
  EXPECT_EQ(AnsiUpperText("abc\xE4\xF7\xFF"), "ABC\xC4\xF7\x9F");
  EXPECT_EQ(Windows1252ToUtf8("\xE4\x80"), "\xC3\xA4\xE2\x82\xAC");
  EXPECT_EQ(Windows1252ToUtf8("a long plain text"), "a long plain text");
  EXPECT_EQ(Windows1252ToUtf8("a long plain text \xE4\x81!"),
            "a long plain text \xC3\xA4\xEF\xBF\xBD!");
}

// Every name, whatever it names, and nothing is looked at: links to nowhere are listed.
TEST(PosixFileSystem, ListNamesGivesEveryNameOfTheFolder) {
  test::TempDir dir;
  PosixFileSystem fs;
  ASSERT_EQ(::mkfifo(dir.Join("pipe").c_str(), 0600), 0);
  test::WriteBytes(dir.Join("real.description"), "x");
  std::filesystem::create_symlink(dir.Join("nowhere"), dir.Join("dangling.description"));
  std::filesystem::create_directory(dir.Join("sub"));
  std::optional<std::vector<std::string>> names = fs.ListNames(dir.path());
  ASSERT_TRUE(names);
  std::sort(names->begin(), names->end());
  EXPECT_EQ(*names,
            (std::vector<std::string>{"dangling.description", "pipe", "real.description", "sub"}));
  EXPECT_EQ(fs.ListNames(dir.Join("missing")), std::nullopt);
  EXPECT_EQ(fs.ListNames(dir.Join("real.description")), std::nullopt);
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

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PosixFileSystem, WritesNeverGoThroughPlantedLinks) {
  test::TempDir dir;
  PosixFileSystem fs;
  const std::string victim = dir.Join("victim");
  test::WriteBytes(victim, "precious");
  // The names the writes used to take for their temporary files, and the targets themselves.
  for (const char* name : {"rwt_scan.rwtnew", "rwttmp.rwt.rwtnew", "link.dm3", "link.rwt"}) {
    std::filesystem::create_symlink(victim, dir.Join(name));
  }
  test::WriteBytes(dir.Join("demo.dm3"), "demo bytes");

  ASSERT_TRUE(fs.WriteFileAtomic(dir.Join("rwt_scan"), "cache"));
  ASSERT_TRUE(fs.WriteFileAtomic(dir.Join("rwttmp.rwt"), "script"));
  ASSERT_TRUE(fs.WriteFileAtomic(dir.Join("link.rwt"), "list"));
  ASSERT_TRUE(fs.CopyFile(dir.Join("demo.dm3"), dir.Join("link.dm3")).ok());
  // A write that cannot be renamed into place removes its own file and nothing else.
  std::filesystem::create_directory(dir.Join("folder"));
  EXPECT_FALSE(fs.WriteFileAtomic(dir.Join("folder"), "x"));
  EXPECT_FALSE(fs.CopyFile(dir.Join("demo.dm3"), dir.Join("folder")).ok());

  EXPECT_EQ(test::ReadBytes(victim), "precious");
  EXPECT_EQ(test::ReadBytes(dir.Join("rwt_scan")), "cache");
  EXPECT_EQ(test::ReadBytes(dir.Join("rwttmp.rwt")), "script");
  // A link in the target's place is replaced by the new file.
  EXPECT_FALSE(std::filesystem::is_symlink(dir.Join("link.rwt")));
  EXPECT_EQ(test::ReadBytes(dir.Join("link.rwt")), "list");
  EXPECT_FALSE(std::filesystem::is_symlink(dir.Join("link.dm3")));
  EXPECT_EQ(test::ReadBytes(dir.Join("link.dm3")), "demo bytes");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.Join("rwt_scan.rwtnew")));
  EXPECT_EQ(
      NamesIn(dir.path()),
      (std::vector<std::string>{"demo.dm3", "folder", "link.dm3", "link.rwt", "rwt_scan",
                                "rwt_scan.rwtnew", "rwttmp.rwt", "rwttmp.rwt.rwtnew", "victim"}));
  EXPECT_TRUE(NamesIn(dir.Join("folder")).empty());
}

TEST(PosixFileSystem, OnlyRegularFilesAreListedAndReadAndNothingWaits) {
  test::TempDir dir;
  PosixFileSystem fs;
  ASSERT_EQ(::mkfifo(dir.Join("pipe.dm3").c_str(), 0600), 0);
  test::WriteBytes(dir.Join("real.dm3"), "0123456789");
  std::filesystem::create_symlink(dir.Join("real.dm3"), dir.Join("link.dm3"));
  std::filesystem::create_symlink(dir.Join("pipe.dm3"), dir.Join("pipelink.dm3"));
  std::filesystem::create_symlink("/dev/zero", dir.Join("device.dm3"));
  std::filesystem::create_directory(dir.Join("sub.dm3"));

  std::vector<std::string> listed;
  for (const DirectoryEntry& entry : fs.List(dir.path(), "*.*")) listed.push_back(entry.name);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"link.dm3", "real.dm3", "sub.dm3"}));

  ReadBuffer buffer;
  for (const char* name : {"pipe.dm3", "pipelink.dm3", "device.dm3", "sub.dm3"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(fs.ReadFile(dir.Join(name)), std::nullopt);
    EXPECT_FALSE(fs.ReadFileInto(dir.Join(name), UINT64_MAX, buffer));
    EXPECT_FALSE(fs.CopyFile(dir.Join(name), dir.Join("copy")).ok());
  }
  EXPECT_FALSE(fs.Exists(dir.Join("copy")));
  EXPECT_EQ(fs.ReadFile(dir.Join("link.dm3")), "0123456789");
  EXPECT_EQ(fs.ReadFileUpTo(dir.Join("real.dm3"), 10), "0123456789");
  EXPECT_EQ(fs.ReadFileUpTo(dir.Join("real.dm3"), 9), std::nullopt);
  EXPECT_EQ(fs.ReadFileUpTo(dir.Join("real.dm3"), 0), std::nullopt);
}

// One buffer for many files, as the demo reader keeps it: each read gives exactly that file,
// whatever a larger one left behind, and the limit holds as for a read into a new text.
TEST(PosixFileSystem, ReadsIntoAReusedBufferGiveEachFileWhole) {
  test::TempDir dir;
  PosixFileSystem fs;
  std::string large(200000, '\0');
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 + i / 251);
  test::WriteBytes(dir.Join("large.dm_48"), large);
  test::WriteBytes(dir.Join("small.dm3"), "small demo");
  test::WriteBytes(dir.Join("empty.dm3"), "");

  ReadBuffer buffer;
  ASSERT_TRUE(fs.ReadFileInto(dir.Join("large.dm_48"), UINT64_MAX, buffer));
  EXPECT_TRUE(buffer.view() == large);
  const size_t capacity = buffer.capacity();
  ASSERT_TRUE(fs.ReadFileInto(dir.Join("small.dm3"), 10, buffer));
  EXPECT_EQ(buffer.view(), "small demo");
  EXPECT_EQ(buffer.capacity(), capacity);
  ASSERT_TRUE(fs.ReadFileInto(dir.Join("empty.dm3"), 10, buffer));
  EXPECT_EQ(buffer.size(), 0u);
  EXPECT_FALSE(fs.ReadFileInto(dir.Join("small.dm3"), 9, buffer));
  EXPECT_EQ(buffer.size(), 0u);
  EXPECT_FALSE(fs.ReadFileInto(dir.Join("missing.dm3"), 10, buffer));
  // A file whose size says 0 but that holds bytes, as those of /proc do, is read to its end.
  EXPECT_TRUE(fs.ReadFileInto("/proc/self/status", 1 << 20, buffer));
  EXPECT_NE(buffer.view().find("Name:"), std::string_view::npos);
}

}  // namespace
}  // namespace rw
