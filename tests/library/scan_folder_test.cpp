#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "demo/demo_reader.h"
#include "host/fake/fake_host.h"
#include "library/parse_cache.h"
#include "library/scan_demos.h"
#include "library/scan_reader_sources.h"
#include "support/scan_fakes.h"
#include "support/test_files.h"
#include "support/zip_writer.h"
#include "text/text_lines.h"

namespace rw {
namespace {

const std::string kSep(1, '\x01');
// MS-DOS packed: 2001-05-03 17:04:08 and 2003-11-20 09:30:00.
constexpr uint32_t kTime1 = 0x2AA38884;
constexpr uint32_t kTime2 = 0x2F744BC0;
const std::string kTime1Text = "715360388";
const std::string kTime2Text = "796150720";

// Cache fields 5 to 21 of the two test demos, from the server info `strings` shows, the last
// snapshot's server time less the first one and the final "scores" command.
const std::vector<std::string> kTdmSummary = {"q3dm7",
                                              "00:21:49",
                                              "Q3 1.15c win-x86 Jan 13 2000",
                                              "Team Deathmatch",
                                              "baseq3",
                                              "East Teamplay.Net Teams 2",
                                              "20",
                                              "N/S",
                                              "15",
                                              "43",
                                              "14",
                                              "25000",
                                              "N/S",
                                              "N/S",
                                              "Red Team",
                                              "Blue Team",
                                              "117:109"};
const std::vector<std::string> kDuelSummary = {"ztn3tourney1",
                                               "00:15:17",
                                               "Q3 1.27g linux-i386 Dec 18 2000",
                                               "Tournament",
                                               "osp",
                                               "CPL Europe Tourney #19",
                                               "15",
                                               "N/S",
                                               "N/S",
                                               "48",
                                               "6",
                                               "N/S",
                                               "N/S",
                                               "N/S",
                                               "cK-fatal1ty",
                                               "c58|PELE [PK]",
                                               "14:3"};
constexpr uint64_t kTdmSize = 2657087;
constexpr uint64_t kDuelSize = 1335016;

std::string CacheLine(const std::string& name, uint64_t size, const std::string& time,
                      const std::string& archive, const std::vector<std::string>& summary) {
  std::string line = name + kSep + std::to_string(size) + kSep + time + kSep + archive + kSep;
  for (const std::string& field : summary) line += field + kSep;
  return line + "\r\n";
}

class ScanFolderTest : public ::testing::Test {
 protected:
  ScanFolderTest()
      : folder_(dir_.Join("demos")),
        tdm_(test::ReadBytes(test::TestDataPath("demos/tdm.dm3"))),
        duel_(test::ReadBytes(test::TestDataPath("demos/duel.dm_48"))) {
    Put("tdm.dm3", tdm_, kTime1);
    Put("duel.dm_48", duel_, kTime2);
    Put("X.DM3", tdm_, kTime1);
    Put(".hidden.dm3", tdm_, kTime1);
    Put("readme.txt", "not a demo", kTime1);
    Put("pack.zip",
        test::ZipBytes({{"matches/duel.dm_48", duel_, kTime1},
                        {"tdm.dm3", tdm_, kTime2},
                        {"notes.txt", "x", kTime1}}),
        kTime1);
    const std::string stub = test::ExecutableStub(1024);
    Put("setup.exe", test::ZipBytes({{"sfx.dm_48", duel_, kTime2}}, stub), kTime1);
    Put("plain.exe", stub, kTime1);
    test::WriteBytes(dir_.Join("notes/tdm.dm3.description"), "pov\r\n4\r\nhttp://x\r\ntext\r\n");
  }

  void Put(const std::string& name, const std::string& bytes, uint32_t dosTime) {
    test::WriteBytes(Path(name), bytes);
    ASSERT_TRUE(files_.SetModifiedDosTime(Path(name), dosTime));
  }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  void Scan() {
    status_.parsing.clear();
    ScanDemos(ScanEntry::Folder(folder_), context_);
  }

  test::TempDir dir_;
  std::string folder_;
  std::string tdm_;
  std::string duel_;
  FakeFileSystem files_;
  FixedLocale locale_;
  FakeClock clock_;
  AppState state_;
  FakeMessages messages_;
  DemoReader reader_{messages_, locale_, files_};
  ReaderScanSources sources_{reader_, files_, messages_, state_};
  test::RecordingStatus status_;
  test::RecordingSink demoList_;
  test::RecordingSink playList_;
  ScanContext context_{files_,    locale_,           clock_, state_, sources_, status_, demoList_,
                       playList_, dir_.Join("notes")};
};

TEST_F(ScanFolderTest, ListsPlainDemosAndDemosInsideArchives) {
  Scan();
  std::vector<std::string> captions;
  for (const ListRow& row : demoList_.rows) captions.push_back(row[0] + " @ " + row[21]);
  std::sort(captions.begin(), captions.end());
  EXPECT_EQ(captions, (std::vector<std::string>{
                          "X.DM3 @ " + folder_, "duel.dm_48 @ " + folder_,
                          "duel.dm_48 @ " + Path("pack.zip"), "sfx.dm_48 @ " + Path("setup.exe"),
                          "tdm.dm3 @ " + folder_, "tdm.dm3 @ " + Path("pack.zip")}));
  EXPECT_EQ(status_.parsing.size(), 6u);
  EXPECT_TRUE(messages_.shown.empty());

  for (const ListRow& row : demoList_.rows) {
    const bool tdm = row[0] != "duel.dm_48" && row[0] != "sfx.dm_48";
    const bool member = row[21] != folder_;
    SCOPED_TRACE(row[0] + " in " + row[21]);
    EXPECT_EQ(row[1], tdm ? "2595 KB" : "1304 KB");
    EXPECT_EQ(row[3], row[0] == "duel.dm_48" && member ? "matches" : "");
    const std::vector<std::string>& summary = tdm ? kTdmSummary : kDuelSummary;
    for (size_t i = 4; i <= 20; ++i) EXPECT_EQ(row[i], summary[i - 4]) << "column " << i;
    const bool notes = row[0] == "tdm.dm3";
    EXPECT_EQ(row[22], notes ? "pov" : "");
    EXPECT_EQ(row[23], notes ? "4" : "");
    EXPECT_EQ(row[24], notes ? "http://x" : "");
    EXPECT_EQ(row[25], notes ? "text" : "");
  }
  const auto memberRow = std::find_if(demoList_.rows.begin(), demoList_.rows.end(),
                                      [&](const ListRow& row) { return row[0] == "sfx.dm_48"; });
  ASSERT_NE(memberRow, demoList_.rows.end());
  EXPECT_EQ((*memberRow)[2], "2003-11-20 09:30:00");
}

TEST_F(ScanFolderTest, WritesTheParseCacheByteForByte) {
  Scan();
  const std::string expected =
      CacheLine("duel.dm_48", kDuelSize, kTime1Text, "pack.zip\\matches", kDuelSummary) +
      CacheLine("duel.dm_48", kDuelSize, kTime2Text, "", kDuelSummary) +
      CacheLine("sfx.dm_48", kDuelSize, kTime2Text, "setup.exe\\", kDuelSummary) +
      CacheLine("tdm.dm3", kTdmSize, kTime1Text, "", kTdmSummary) +
      CacheLine("tdm.dm3", kTdmSize, kTime2Text, "pack.zip\\", kTdmSummary) +
      CacheLine("X.DM3", kTdmSize, kTime1Text, "", kTdmSummary);
  EXPECT_EQ(test::ReadBytes(Path("rwt_scan")), expected);
}

TEST_F(ScanFolderTest, SecondScanComesWhollyFromTheCache) {
  Scan();
  const std::vector<ListRow> rows = demoList_.rows;
  Scan();
  EXPECT_TRUE(status_.parsing.empty());
  EXPECT_EQ(demoList_.rows, rows);
  ASSERT_EQ(status_.summaries.size(), 2u);
  EXPECT_NE(status_.summaries[1].find(" sec. 100.00% read from cache. "), std::string::npos)
      << status_.summaries[1];
}

TEST_F(ScanFolderTest, TouchingOneDemoReadsExactlyThatOneAgain) {
  Scan();
  ASSERT_TRUE(files_.SetModifiedDosTime(Path("duel.dm_48"), kTime1));
  Scan();
  EXPECT_EQ(status_.parsing, std::vector<std::string>{"Parsing " + Path("duel.dm_48")});
  const std::string cache = test::ReadBytes(Path("rwt_scan"));
  EXPECT_EQ(cache.find(CacheLine("duel.dm_48", kDuelSize, kTime2Text, "", kDuelSummary)),
            std::string::npos);
  EXPECT_NE(cache.find(CacheLine("duel.dm_48", kDuelSize, kTime1Text, "", kDuelSummary)),
            std::string::npos);
  EXPECT_EQ(SplitLines(cache).size(), 6u);
}

TEST_F(ScanFolderTest, AHostNameWithLineBreakingBytesStaysOneLine) {
  std::string odd = tdm_;
  const std::string host = "East Teamplay.Net Teams 2";
  for (size_t at = odd.find(host); at != std::string::npos; at = odd.find(host, at + 1)) {
    odd.replace(at, host.size(), "East\x01Teamplay\rNet\nTeams 2");
  }
  std::filesystem::remove_all(folder_);
  Put("odd.dm3", odd, kTime1);
  Scan();
  ASSERT_EQ(demoList_.rows.size(), 1u);
  EXPECT_EQ(demoList_.rows[0][9], "East Teamplay Net Teams 2");
  std::vector<std::string> summary = kTdmSummary;
  summary[5] = "East Teamplay Net Teams 2";
  EXPECT_EQ(test::ReadBytes(Path("rwt_scan")),
            CacheLine("odd.dm3", kTdmSize, kTime1Text, "", summary));
  Scan();
  EXPECT_TRUE(status_.parsing.empty());
  EXPECT_EQ(demoList_.rows[0][9], "East Teamplay Net Teams 2");
}

}  // namespace
}  // namespace rw
