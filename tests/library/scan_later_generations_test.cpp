#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "demo/demo_reader.h"
#include "host/fake/fake_host.h"
#include "library/folder_has_demos.h"
#include "library/scan_demos.h"
#include "library/scan_reader_sources.h"
#include "support/scan_fakes.h"
#include "support/test_files.h"
#include "support/zip_writer.h"
#include "text/text_lines.h"

namespace rw {
namespace {

const std::string kSep(1, '\x01');
constexpr uint32_t kTime = 0x2F744BC0;  // 2003-11-20 09:30:00
const std::string kTimeText = "796150720";

// What the lists showed for a demo that could not be read, field 5 on.
const std::vector<std::string> kUnreadable = {"n/a", "00:00:00", "N/A", "N/A", "n/a", "N/A",
                                              "N/A", "N/A",      "N/A", "N/A", "N/A", "N/A",
                                              "N/A", "N/A",      "N/A", "N/A", "0:0"};

std::string CacheLine(const std::string& name, size_t size, const std::string& archive,
                      const std::vector<std::string>& summary) {
  std::string line = name + kSep + std::to_string(size) + kSep + kTimeText + kSep + archive + kSep;
  for (const std::string& field : summary) line += field + kSep;
  return line + "\r\n";
}

// The real demos of 1.31, 1.32 and ioquake3, OpenArena's, and made-up Quake Live ones.
class ScanLaterGenerationsTest : public ::testing::Test {
 protected:
  ScanLaterGenerationsTest()
      : folder_(dir_.Join("demos")),
        duel_(Real("2002 - Duel 3 (Quakecon).dm_67")),
        chat_(Real("udt_baseq3_team_chat.dm_68")) {
    Put("duel.dm_67", duel_);
    Put("run.DM_68", Real("czimnick_test.dm_68"));
    Put("flyby.dm_70", Real("flyby_suspended.dm_70"));
    Put("ql.dm_91", std::string(3000, 'q'));
    Put("pack.zip", test::ZipBytes({{"later/chat.dm_68", chat_, kTime},
                                    {"ql.dm_73", std::string(100, 'q'), kTime},
                                    {"notes.dm_x", "x", kTime}}));
  }

  static std::string Real(const std::string& name) {
    return test::ReadBytes(test::TestDataPath("demos/newer/" + name));
  }
  void Put(const std::string& name, const std::string& bytes) {
    test::WriteBytes(Path(name), bytes);
    ASSERT_TRUE(files_.SetModifiedDosTime(Path(name), kTime));
  }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  void Scan() {
    status_.parsing.clear();
    ScanDemos(ScanEntry::Folder(folder_), context_);
  }
  const ListRow& Row(const std::string& name) const {
    const auto found = std::find_if(demoList_.rows.begin(), demoList_.rows.end(),
                                    [&](const ListRow& row) { return row[0] == name; });
    EXPECT_NE(found, demoList_.rows.end()) << name;
    return *found;
  }

  test::TempDir dir_;
  std::string folder_;
  std::string duel_;
  std::string chat_;
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

TEST_F(ScanLaterGenerationsTest, EveryDemoIsARowAndTheReadableOnesAreFilled) {
  Scan();
  std::vector<std::string> names;
  for (const ListRow& row : demoList_.rows) names.push_back(row[0]);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"chat.dm_68", "duel.dm_67", "flyby.dm_70",
                                             "notes.dm_x", "ql.dm_73", "ql.dm_91", "run.DM_68"}));
  EXPECT_TRUE(messages_.shown.empty());

  // Columns 4 to 20 as the separate decoder read them.
  const ListRow& duel = Row("duel.dm_67");
  EXPECT_EQ(std::vector<std::string>(duel.begin() + 4, duel.begin() + 21),
            (std::vector<std::string>{"ospdm8", "00:11:35", "Q3 1.31 win-x86 Dec 11 2001",
                                      "Tournament", "osp", "l4v6_1", "15", "N/S", "8", "67", "16",
                                      "N/S", "N/S", "N/S", "fatal1ty", "czm", "8:4"}));
  const ListRow& chat = Row("chat.dm_68");
  EXPECT_EQ(chat[3], "later");
  EXPECT_EQ(chat[4], "q3dm7");
  EXPECT_EQ(chat[5], "00:00:30");
  EXPECT_EQ(chat[21], Path("pack.zip"));
  EXPECT_EQ(Row("run.DM_68")[8], "defrag");
  // Later and foreign generations: size and date, nothing read.
  for (const char* name : {"flyby.dm_70", "ql.dm_91", "ql.dm_73"}) {
    const ListRow& row = Row(name);
    EXPECT_EQ(std::vector<std::string>(row.begin() + 4, row.begin() + 21), kUnreadable) << name;
    EXPECT_EQ(row[2], "2003-11-20 09:30:00") << name;
  }
  EXPECT_EQ(Row("ql.dm_91")[1], "3 KB");
  EXPECT_EQ(Row("flyby.dm_70")[1], "35 KB");
}

TEST_F(ScanLaterGenerationsTest, AFolderOfLaterDemosAloneIsADemoFolder) {
  EXPECT_TRUE(FolderHasDemos(files_, folder_));
  const std::string only = dir_.Join("only");
  test::WriteBytes(only + "/ql.DM_90", "q");
  EXPECT_TRUE(FolderHasDemos(files_, only));
  const std::string zipped = dir_.Join("zipped");
  test::WriteBytes(zipped + "/a.zip",
                   test::ZipBytes({{"notes.dm_x", "x"}, {"deep/er/duel.dm_67", duel_}}));
  EXPECT_TRUE(FolderHasDemos(files_, zipped));
  const std::string none = dir_.Join("none");
  test::WriteBytes(none + "/a.zip", test::ZipBytes({{"notes.dm_x", "x"}, {"a.dm_", "x"}}));
  test::WriteBytes(none + "/b.dm_6x", "x");
  EXPECT_FALSE(FolderHasDemos(files_, none));
}

TEST_F(ScanLaterGenerationsTest, ACacheOfAnEarlierVersionIsKeptButItsUnreadLinesAreReadAgain) {
  // An earlier version listed the archive's members (not the plain later files) and could not
  // read them.
  const std::string old = CacheLine("chat.dm_68", chat_.size(), "pack.zip\\later", kUnreadable) +
                          CacheLine("notes.dm_x", 1, "pack.zip\\", kUnreadable) +
                          CacheLine("ql.dm_73", 100, "pack.zip\\", kUnreadable);
  test::WriteBytes(Path("rwt_scan"), old);
  Scan();
  EXPECT_EQ(std::count(status_.parsing.begin(), status_.parsing.end(),
                       "Parsing " + Path("pack.zip") + "\\later\\chat.dm_68"),
            1);
  EXPECT_EQ(status_.parsing.size(), 5u);  // the chat and the four plain files
  EXPECT_EQ(Row("chat.dm_68")[4], "q3dm7");
  const std::string cache = test::ReadBytes(Path("rwt_scan"));
  EXPECT_EQ(cache.find(CacheLine("chat.dm_68", chat_.size(), "pack.zip\\later", kUnreadable)),
            std::string::npos);
  EXPECT_NE(cache.find(CacheLine("ql.dm_73", 100, "pack.zip\\", kUnreadable)), std::string::npos);
  EXPECT_EQ(SplitLines(cache).size(), 7u);

  Scan();
  EXPECT_TRUE(status_.parsing.empty());
  EXPECT_NE(status_.summaries.back().find(" 100.00% read from cache. "), std::string::npos);
}

}  // namespace
}  // namespace rw
