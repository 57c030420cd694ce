#include "library/scan_demos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "host/fake/fake_host.h"
#include "library/parse_cache.h"
#include "support/scan_fakes.h"
#include "support/test_files.h"
#include "text/text_lines.h"

namespace rw {
namespace {

const std::string kSep(1, '\x01');
// 2001-05-03 17:04:08 and 2003-11-20 09:30:00, MS-DOS packed.
constexpr uint32_t kTime1 = 0x2AA38884;
constexpr uint32_t kTime2 = 0x2F744BC0;

class ScanDemosTest : public ::testing::Test {
 protected:
  ScanDemosTest() : folder_(dir_.Join("demos")) {
    std::filesystem::create_directories(folder_ + "/sub");
    std::filesystem::create_directories(folder_ + "/f.dm3");
    Put("a.dm3", 10000, kTime1);
    Put("B.DM_48", 20000, kTime2);
    Put("X.DM3", 700, kTime1);
    Put(".hidden.dm3", 5000, kTime1);
    Put("notes.txt", 10, kTime1);
    Put("a.zip", 50, kTime1);
    Put("s.exe", 50, kTime1);
    Put("p.exe", 50, kTime1);
    Put("sub/deep.dm3", 10, kTime1);
    sources_.archives[Path("a.zip")] = {{"x\\y.dm_48", 5000, kTime2},
                                        {"root.dm3", 3000, kTime1},
                                        {"readme.txt", 9, kTime1},
                                        {"x\\notes.dmx", 1000, kTime1}};
    sources_.archives[Path("s.exe")] = {{"in.dm3", 2027, kTime2}};
    sources_.archives[Path("p.exe")] = {{"never.dm3", 1, kTime2}};
    sources_.selfExtracting.insert(Path("s.exe"));
    sources_.onRead = [this] { clock_.now += 10; };
  }

  void Put(const std::string& name, size_t size, uint32_t dosTime) {
    test::WriteBytes(Path(name), std::string(size, 'd'));
    ASSERT_TRUE(files_.SetModifiedDosTime(Path(name), dosTime));
  }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  uint64_t Scan(const ScanEntry& entry) { return ScanDemos(entry, context_); }
  uint64_t ScanFolder() { return Scan(ScanEntry::Folder(folder_)); }
  std::vector<std::string> Captions(const test::RecordingSink& sink) const {
    std::vector<std::string> names;
    for (const ListRow& row : sink.rows) names.push_back(row[0]);
    std::sort(names.begin(), names.end());
    return names;
  }
  // A cache line with the fake reader's summary texts.
  static std::string ExpectedLine(const std::string& name, const std::string& size,
                                  const std::string& time, const std::string& archive) {
    std::string line = name + kSep + size + kSep + time + kSep + archive + kSep;
    for (int i = 4; i <= 20; ++i) line += "m" + std::to_string(i) + kSep;
    return line + "\r\n";
  }

  test::TempDir dir_;
  std::string folder_;
  FakeFileSystem files_;
  FixedLocale locale_;
  FakeClock clock_;
  AppState state_;
  test::FakeScanSources sources_;
  test::RecordingStatus status_;
  test::RecordingSink demoList_;
  test::RecordingSink playList_;
  ScanContext context_{files_,  locale_,   clock_,    state_,  sources_,
                       status_, demoList_, playList_, "/notes"};
};

TEST_F(ScanDemosTest, ListsDemoFilesAndArchiveMembersOfTheFolderOnly) {
  const uint64_t seconds = ScanFolder();
  EXPECT_EQ(Captions(demoList_), (std::vector<std::string>{"B.DM_48", "X.DM3", "a.dm3", "in.dm3",
                                                           "notes.dmx", "root.dm3", "y.dm_48"}));
  EXPECT_TRUE(playList_.rows.empty());
  EXPECT_EQ(demoList_.clears, 1);
  EXPECT_EQ(demoList_.resorts, 1);

  const ListRow& plain = *demoList_.Find("a.dm3");
  EXPECT_EQ(plain[1], "10 KB");
  EXPECT_EQ(plain[2], "2001-05-03 17:04:08");
  EXPECT_EQ(plain[3], "");
  EXPECT_EQ(plain[4], "m4");
  EXPECT_EQ(plain[20], "m20");
  EXPECT_EQ(plain[21], folder_);
  const ListRow& member = *demoList_.Find("y.dm_48");
  EXPECT_EQ(member[2], "2003-11-20 09:30:00");
  EXPECT_EQ(member[3], "x");
  EXPECT_EQ(member[21], folder_ + "/a.zip");
  EXPECT_EQ(demoList_.Find("root.dm3")->at(3), "");
  EXPECT_EQ(demoList_.Find("in.dm3")->at(21), folder_ + "/s.exe");

  // Members are read through their archive, plain files by path.
  EXPECT_EQ(sources_.reads.size(), 7u);
  EXPECT_NE(std::find(sources_.reads.begin(), sources_.reads.end(),
                      std::make_pair(std::string("x\\y.dm_48"), Path("a.zip"))),
            sources_.reads.end());
  EXPECT_NE(std::find(sources_.reads.begin(), sources_.reads.end(),
                      std::make_pair(Path("X.DM3"), std::string())),
            sources_.reads.end());
  EXPECT_NE(std::find(status_.parsing.begin(), status_.parsing.end(),
                      "Parsing " + Path("a.zip") + "\\x\\y.dm_48"),
            status_.parsing.end());
  EXPECT_NE(std::find(sources_.patterns.begin(), sources_.patterns.end(), "*\\*.dm*"),
            sources_.patterns.end());
  EXPECT_EQ(sources_.openWalks, 2);
  EXPECT_EQ(sources_.closes, 2);

  // 10000, 20000, 700, 5000, 3000, 1000 and 2027 bytes at 0.00074 s a byte, each rounded.
  EXPECT_EQ(seconds, 7u + 15 + 1 + 4 + 2 + 1 + 1);
  ASSERT_EQ(status_.summaries.size(), 1u);
  EXPECT_EQ(status_.summaries[0],
            "7 item(s) loaded in 0.07 sec. 0.00% read from cache. 40.75 KB. Playtime: 00:00:31");
  EXPECT_EQ(status_.marks, std::vector<bool>{true});
  EXPECT_EQ(status_.started, 1);
  EXPECT_EQ(status_.finished, 1);
  EXPECT_EQ(state_.busyCount(), 0);
}

TEST_F(ScanDemosTest, WritesTheCacheSortedWithoutCaseAndHidden) {
  ScanFolder();
  const std::string t1 = "715360388";  // kTime1 as a signed number
  const std::string t2 = "796150720";  // kTime2
  const std::string expected =
      ExpectedLine("a.dm3", "10000", t1, "") + ExpectedLine("B.DM_48", "20000", t2, "") +
      ExpectedLine("in.dm3", "2027", t2, "s.exe\\") +
      ExpectedLine("notes.dmx", "1000", t1, "a.zip\\x") +
      ExpectedLine("root.dm3", "3000", t1, "a.zip\\") + ExpectedLine("X.DM3", "700", t1, "") +
      ExpectedLine("y.dm_48", "5000", t2, "a.zip\\x");
  EXPECT_EQ(test::ReadBytes(Path("rwt_scan")), expected);
  EXPECT_EQ(files_.hidden, std::vector<std::string>{Path("rwt_scan")});
}

TEST_F(ScanDemosTest, SecondScanReadsEverythingFromTheCache) {
  ScanFolder();
  const std::string cache = test::ReadBytes(Path("rwt_scan"));
  const std::vector<ListRow> rows = demoList_.rows;
  sources_.reads.clear();
  status_.parsing.clear();
  ScanFolder();
  EXPECT_TRUE(sources_.reads.empty());
  EXPECT_TRUE(status_.parsing.empty());
  EXPECT_EQ(demoList_.rows, rows);
  EXPECT_EQ(test::ReadBytes(Path("rwt_scan")), cache);
  ASSERT_EQ(status_.summaries.size(), 2u);
  EXPECT_NE(status_.summaries[1].find("100.00% read from cache"), std::string::npos)
      << status_.summaries[1];
}

TEST_F(ScanDemosTest, ATouchedDemoIsReadAgainAndItsOldLineGoes) {
  ScanFolder();
  ASSERT_TRUE(files_.SetModifiedDosTime(Path("X.DM3"), kTime2));
  sources_.reads.clear();
  ScanFolder();
  EXPECT_EQ(sources_.reads,
            (std::vector<std::pair<std::string, std::string>>{{Path("X.DM3"), ""}}));
  const std::string cache = test::ReadBytes(Path("rwt_scan"));
  EXPECT_NE(cache.find(ExpectedLine("X.DM3", "700", "796150720", "")), std::string::npos);
  EXPECT_EQ(cache.find(ExpectedLine("X.DM3", "700", "715360388", "")), std::string::npos);
  EXPECT_EQ(std::count(cache.begin(), cache.end(), '\n'), 7);
  EXPECT_NE(status_.summaries[1].find("85.71% read from cache"), std::string::npos);
}

TEST_F(ScanDemosTest, ValuesThatWouldBreakALineAreStoredAsBlanks) {
  ListRow summary;
  for (size_t i = 0; i < summary.size(); ++i) summary[i] = "v";
  summary[9] = "evil\x01host\r\nname";
  sources_.summaries[Path("a.dm3")] = summary;
  ScanFolder();
  EXPECT_EQ(demoList_.Find("a.dm3")->at(9), "evil host  name");
  const std::vector<std::string> lines = SplitLines(test::ReadBytes(Path("rwt_scan")));
  ASSERT_EQ(lines.size(), 7u);
  for (const std::string& line : lines) {
    EXPECT_EQ(std::count(line.begin(), line.end(), '\x01'), 21) << line;
  }
  sources_.reads.clear();
  ScanFolder();
  EXPECT_TRUE(sources_.reads.empty());
  EXPECT_EQ(demoList_.Find("a.dm3")->at(9), "evil host  name");
}

TEST_F(ScanDemosTest, EscapeStopsTheScanAndKeepsTheOldCache) {
  test::WriteBytes(Path("rwt_scan"), "old\r\n");
  state_.SetEscape();
  sources_.onRead = [this] { state_.SetEscape(); };
  ScanFolder();
  // The flag was cleared at the start, so the first demo was read; then the scan stopped.
  EXPECT_EQ(sources_.reads.size(), 1u);
  EXPECT_EQ(demoList_.rows.size(), 1u);
  EXPECT_EQ(test::ReadBytes(Path("rwt_scan")), "old\r\n");
  EXPECT_EQ(status_.summaries.size(), 1u);
  EXPECT_EQ(state_.busyCount(), 0);
}

TEST_F(ScanDemosTest, EscapeInsideAnArchiveEndsItsWalk) {
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
  Put("a.zip", 50, kTime1);
  sources_.onRead = [this] { state_.SetEscape(); };
  ScanFolder();
  EXPECT_EQ(sources_.reads.size(), 1u);
  EXPECT_EQ(sources_.closes, 1);
  EXPECT_FALSE(files_.Exists(Path("rwt_scan")));
}

// A worker's read that ends only well after Escape was pressed: the listing stops waiting for
// it, keeps the old cache and ends its busy state.
class SlowWorkerReader : public WorkerReader {
 public:
  explicit SlowWorkerReader(const std::atomic<bool>& escaped) : escaped_(escaped) {}
  DemoRead Read(const std::string&, const std::string&) override {
    while (!escaped_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return {};
  }

 private:
  const std::atomic<bool>& escaped_;
};

TEST_F(ScanDemosTest, EscapeStopsTheWaitForAWorkersRead) {
  test::WriteBytes(Path("rwt_scan"), "old\r\n");
  std::atomic<bool> escaped = false;
  sources_.newWorkerReader = [&] { return std::make_unique<SlowWorkerReader>(escaped); };
  // Escape is pressed as soon as the first demo to read is shown.
  status_.onProgress = [&](const ScanProgress& progress) {
    if (progress.parsing.empty()) return;
    state_.SetEscape();
    escaped = true;
  };
  context_.jobs = 4;
  ScanFolder();
  EXPECT_TRUE(demoList_.rows.empty());
  EXPECT_TRUE(sources_.reads.empty());
  EXPECT_EQ(test::ReadBytes(Path("rwt_scan")), "old\r\n");
  EXPECT_EQ(status_.summaries.size(), 1u);
  EXPECT_EQ(status_.finished, 1);
  EXPECT_EQ(state_.busyCount(), 0);
}

TEST_F(ScanDemosTest, AFolderWithoutDemosLosesItsCache) {
  ScanFolder();
  ASSERT_TRUE(files_.Exists(Path("rwt_scan")));
  for (const char* name : {"a.dm3", "B.DM_48", "X.DM3", "a.zip", "s.exe"}) {
    std::filesystem::remove(Path(name));
  }
  ScanFolder();
  EXPECT_TRUE(demoList_.rows.empty());
  EXPECT_FALSE(files_.Exists(Path("rwt_scan")));
  EXPECT_EQ(status_.marks, (std::vector<bool>{true, false}));
  EXPECT_EQ(status_.summaries[1],
            "0 item(s) loaded in 0.00 sec. 0.00% read from cache. 0.00 KB. Playtime: 00:00:00");
}

TEST_F(ScanDemosTest, AnUnreadableFolderGivesAnEmptyList) {
  demoList_.rows.push_back({});
  ScanDemos(ScanEntry::Folder(dir_.Join("missing")), context_);
  EXPECT_TRUE(demoList_.rows.empty());
  EXPECT_EQ(status_.marks, std::vector<bool>{false});
}

TEST_F(ScanDemosTest, PlayListEntriesAppendAndUseTheCacheWithoutWritingIt) {
  ScanFolder();
  sources_.reads.clear();
  status_.summaries.clear();
  playList_.rows.push_back({});

  EXPECT_EQ(Scan(ScanEntry::ArchiveMembers(Path("a.zip"), "y.dm_48")), 4u);
  EXPECT_EQ(Scan(ScanEntry::DemoFile(Path("a.dm3"))), 7u);
  ASSERT_EQ(playList_.rows.size(), 3u);
  EXPECT_EQ(playList_.rows[1][0], "y.dm_48");
  EXPECT_EQ(playList_.rows[1][3], "x");
  EXPECT_EQ(playList_.rows[1][21], Path("a.zip"));
  EXPECT_EQ(playList_.rows[2][0], "a.dm3");
  EXPECT_EQ(playList_.rows[2][21], folder_);
  EXPECT_TRUE(sources_.reads.empty());
  EXPECT_EQ(demoList_.rows.size(), 7u);
  EXPECT_EQ(demoList_.clears, 1);
  EXPECT_TRUE(status_.summaries.empty());
  EXPECT_EQ(playList_.resorts, 0);

  std::filesystem::remove(Path("rwt_scan"));
  Scan(ScanEntry::ArchiveMembers(Path("a.zip"), "y.dm_48"));
  EXPECT_EQ(sources_.reads,
            (std::vector<std::pair<std::string, std::string>>{{"x\\y.dm_48", Path("a.zip")}}));
  EXPECT_FALSE(files_.Exists(Path("rwt_scan")));
}

TEST_F(ScanDemosTest, NotesComeFromTheUserDataFolderByFileName) {
  sources_.notes["/notes/y.dm_48.description"] = {"pov", "4", "web", "text"};
  ScanFolder();
  const ListRow& row = *demoList_.Find("y.dm_48");
  EXPECT_EQ(row[22], "pov");
  EXPECT_EQ(row[23], "4");
  EXPECT_EQ(row[24], "web");
  EXPECT_EQ(row[25], "text");
  EXPECT_EQ(demoList_.Find("a.dm3")->at(22), "");
}

// A user-data folder that can be listed is listed once: only a demo whose file is there has
// its notes looked up, also when the cache already holds the demo.
TEST_F(ScanDemosTest, NotesAreLookedUpOnlyForFilesTheUserDataFolderHolds) {
  const std::string notes = dir_.Join("notes");
  std::filesystem::create_directories(notes);
  test::WriteBytes(notes + "/a.dm3.description", "pov\r\n");
  sources_.notes[notes + "/a.dm3.description"] = {"pov a", "", "", ""};
  sources_.notes[notes + "/y.dm_48.description"] = {"pov y", "", "", ""};
  ScanContext context{files_,  locale_,   clock_,    state_, sources_,
                      status_, demoList_, playList_, notes};
  for (int pass = 0; pass < 2; ++pass) {
    ScanDemos(ScanEntry::Folder(folder_), context);
    EXPECT_EQ(demoList_.Find("a.dm3")->at(22), "pov a");
    EXPECT_EQ(demoList_.Find("y.dm_48")->at(22), "");
  }
  test::WriteBytes(notes + "/y.dm_48.description", "pov\r\n");
  ScanDemos(ScanEntry::Folder(folder_), context);
  EXPECT_EQ(demoList_.Find("y.dm_48")->at(22), "pov y");
}

TEST_F(ScanDemosTest, ProgressCountsEntriesAndNamesTheDemoBeingRead) {
  ScanFolder();
  ASSERT_FALSE(status_.progress.empty());
  // Eight files and two folders; the cache does not exist yet.
  const size_t found = status_.progress.front().entriesFound;
  EXPECT_EQ(found, 10u);
  EXPECT_EQ(status_.progress.front().entriesDone, 0u);
  EXPECT_EQ(status_.progress.back().entriesDone, found);
  EXPECT_TRUE(status_.progress.back().parsing.empty());
  size_t named = 0;
  for (const ScanProgress& step : status_.progress) {
    EXPECT_EQ(step.entriesFound, found);
    EXPECT_LE(step.entriesDone, found);
    if (!step.parsing.empty()) ++named;
  }
  EXPECT_EQ(named, 7u);
}

}  // namespace
}  // namespace rw
