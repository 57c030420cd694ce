#include "playback/play_list_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "host/fake/fake_host.h"
#include "support/scan_fakes.h"
#include "support/test_files.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr const char* kNotAPlayList =
    "This is not a Reelwright Play List !\r\nTry to save a Play List and then reload it.";

// Archives by path with their member paths; every demo reads as protocol 48 of baseq3.
class ListSources : public ScanSources {
 public:
  bool IsArchiveFile(const std::string&) override { return false; }
  int ArchiveFindFirst(const std::string& archive, const std::string& pattern,
                       ScanMember& member) override {
    const auto found = archives.find(archive);
    if (found == archives.end()) return -1;
    walk_ = &found->second;
    next_ = 0;
    return Advance("\\", pattern, member);
  }
  int ArchiveFindNext(const std::string& pattern, ScanMember& member) override {
    return walk_ == nullptr ? 1 : Advance("", pattern, member);
  }
  void ArchiveClose() override { walk_ = nullptr; }
  ListRow ReadDemo(const std::string&, const std::string&) override {
    ++reads;
    ListRow row;
    row[8] = "baseq3";
    row[13] = "48";
    return row;
  }
  UserInfo GetUserInfo(const std::string&) override { return {}; }

  std::map<std::string, std::vector<ScanMember>> archives;
  int reads = 0;

 private:
  int Advance(const std::string& prefix, const std::string& pattern, ScanMember& member) {
    while (next_ < walk_->size()) {
      const ScanMember& candidate = (*walk_)[next_++];
      if (MatchesWildcard(prefix + candidate.path, pattern)) {
        member = candidate;
        return 0;
      }
    }
    walk_ = nullptr;
    return 1;
  }
  const std::vector<ScanMember>* walk_ = nullptr;
  size_t next_ = 0;
};

class PlayListFileTest : public ::testing::Test {
 protected:
  PlayListFileTest() { std::filesystem::create_directories(folder_); }

  std::string Put(const std::string& name, size_t size) {
    const std::string path = folder_ + "/" + name;
    test::WriteBytes(path, std::string(size, 'd'));
    return path;
  }
  PlayListLoad Load(const std::string& path) { return LoadPlayList(path, context_, messages_); }
  PlayListLoad LoadText(const std::string& text) {
    test::WriteBytes(dir_.Join("list.rwt"), text);
    return Load(dir_.Join("list.rwt"));
  }
  RowList AsList(const std::vector<ListRow>& rows) {
    RowList list;
    for (const ListRow& row : rows) list.push_back({row, false});
    return list;
  }

  test::TempDir dir_;
  std::string folder_ = dir_.Join("my demos");
  FakeFileSystem files_;
  FakeMessages messages_;
  FixedLocale locale_;
  FakeClock clock_;
  AppState state_;
  ListSources sources_;
  test::RecordingStatus status_;
  test::RecordingSink demoList_;
  test::RecordingSink playList_;
  ScanContext context_{files_,    locale_,           clock_, state_, sources_, status_, demoList_,
                       playList_, dir_.Join("notes")};
};

TEST_F(PlayListFileTest, EntryLinesFollowTheRowImage) {
  ListRow plain;
  plain[0] = "duel.dm_48";
  plain[8] = "baseq3";
  plain[21] = "/games/demos";
  EXPECT_EQ(PlayListEntryLine(plain), "/games/demos/duel.dm_48");

  ListRow member = plain;
  member[3] = "demos";
  member[21] = "/games/packs/set.ZIP";
  EXPECT_EQ(PlayListEntryLine(member), "\x01/games/packs/set.ZIP\\duel.dm_48");

  ListRow unreadableMember = member;
  unreadableMember[8] = "n/a";
  EXPECT_EQ(PlayListEntryLine(unreadableMember), "\x01/games/packs/set.ZIP\\duel.dm_48");
  // A plain file the reader could not read stays a plain path, so it can load again.
  ListRow unreadablePlain = plain;
  unreadablePlain[8] = "n/a";
  EXPECT_EQ(PlayListEntryLine(unreadablePlain), "/games/demos/duel.dm_48");
}

TEST_F(PlayListFileTest, SavedListRoundTripsPlainAndArchiveEntries) {
  const std::string demo = Put("a b.dm_48", 100000);
  Put("pack.pk3", 10);
  sources_.archives[folder_ + "/pack.pk3"] = {{"demos\\m.dm3", 50000, 0},
                                              {"other\\x.dm3", 20000, 0}};
  ListRow plainRow;
  plainRow[0] = "a b.dm_48";
  plainRow[8] = "baseq3";
  plainRow[21] = folder_;
  ListRow memberRow = plainRow;
  memberRow[0] = "m.dm3";
  memberRow[3] = "demos";
  memberRow[21] = folder_ + "/pack.pk3";
  const std::string path = dir_.Join("Mydemos.rwt");
  ASSERT_TRUE(SavePlayList(files_, messages_, path, AsList({plainRow, memberRow})));
  EXPECT_EQ(test::ReadBytes(path),
            "RWT Play List, ver 1.32\r\n" + demo + "\r\n\x01" + folder_ + "/pack.pk3\\m.dm3\r\n");

  playList_.rows.push_back({});
  const PlayListLoad load = Load(path);
  ASSERT_TRUE(load.loaded);
  ASSERT_EQ(playList_.rows.size(), 2u);
  EXPECT_EQ(playList_.rows[0][0], "a b.dm_48");
  EXPECT_EQ(playList_.rows[0][21], folder_);
  EXPECT_EQ(playList_.rows[1][0], "m.dm3");
  EXPECT_EQ(playList_.rows[1][3], "demos");
  EXPECT_EQ(playList_.rows[1][21], folder_ + "/pack.pk3");
  // Saving the loaded rows gives the same file again.
  EXPECT_EQ(PlayListFileText(AsList(playList_.rows)), test::ReadBytes(path));
  // 100000 and 50000 bytes at 0.00074 seconds a byte: 74 + 37 seconds.
  EXPECT_EQ(load.entries, 2u);
  EXPECT_EQ(load.totalSeconds, 111u);
  EXPECT_EQ(load.statusText, "2 Items. Total length: 00:01:51");
  EXPECT_EQ(load.nameLabel, path);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(PlayListFileTest, RelativeLinesNameDemosBesideTheListFile) {
  Put("a.dm_48", 10);
  Put("pack.pk3", 10);
  sources_.archives[folder_ + "/pack.pk3"] = {{"demos\\m.dm3", 10, 0}};
  const std::string lists = dir_.Join("lists");
  test::WriteBytes(lists + "/c.dm3", "c");
  test::WriteBytes(lists + "/cup.rwt",
                   "RWT Play List, ver 1.32\r\n../my demos/a.dm_48\r\n\x01"
                   "../my demos/pack.pk3\\m.dm3\r\nc.dm3\r\n");
  // Where the program runs from does not matter.
  test::WriteBytes(dir_.Join("elsewhere/deeper/c.dm3"), "decoy");
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir_.Join("elsewhere/deeper"));
  const PlayListLoad load = Load(lists + "/cup.rwt");
  std::filesystem::current_path(before);
  ASSERT_EQ(load.entries, 3u);
  EXPECT_EQ(playList_.rows[0][21], folder_);
  EXPECT_EQ(playList_.rows[1][21], folder_ + "/pack.pk3");
  EXPECT_EQ(playList_.rows[1][0], "m.dm3");
  EXPECT_EQ(playList_.rows[2][21], lists);
}

// Counts the listings of each folder and the reads of each file.
class CountingFiles : public FakeFileSystem {
 public:
  std::vector<DirectoryEntry> List(const std::string& folder, std::string_view pattern) override {
    ++listings[folder];
    return FakeFileSystem::List(folder, pattern);
  }
  std::optional<std::string> ReadFileUpTo(const std::string& path, uint64_t maxBytes) override {
    ++readings[path];
    return FakeFileSystem::ReadFileUpTo(path, maxBytes);
  }
  std::map<std::string, int> listings;
  std::map<std::string, int> readings;
};

TEST_F(PlayListFileTest, EachFolderIsListedAndItsCacheLoadedOncePerList) {
  std::string text = "RWT Play List, ver 1.32\r\n";
  for (int k = 0; k < 40; ++k) {
    const std::string name = "d" + std::to_string(k) + ".dm_48";
    Put(name, 1000);
    // Lines name files with case ignored, and in an order of their own.
    text += folder_ + "/" + (k % 2 ? AnsiUpperText(name) : name) + "\r\n";
  }
  text += folder_ + "/d3?.dm_48\r\n" + folder_ + "/missing.dm_48\r\n" + dir_.Join("x.dm3\r\n");
  test::WriteBytes(dir_.Join("x.dm3"), "x");
  ScanDemos(ScanEntry::Folder(folder_), context_);  // writes the folder's parse cache
  sources_.reads = 0;
  test::WriteBytes(dir_.Join("all.rwt"), text);

  CountingFiles files;
  ScanContext context{files,     locale_,           clock_, state_, sources_, status_, demoList_,
                      playList_, dir_.Join("notes")};
  const PlayListLoad load = LoadPlayList(dir_.Join("all.rwt"), context, messages_);
  ASSERT_EQ(load.entries, 40u + 10u + 1u);
  for (int k = 0; k < 40; ++k) {
    EXPECT_EQ(AnsiLowerText(playList_.rows[k][0]), "d" + std::to_string(k) + ".dm_48");
  }
  std::set<std::string> wildcard;
  for (int k = 40; k < 50; ++k) wildcard.insert(playList_.rows[k][0]);
  EXPECT_EQ(wildcard.size(), 10u);
  EXPECT_TRUE(wildcard.contains("d30.dm_48") && wildcard.contains("d39.dm_48"));
  EXPECT_EQ(playList_.rows[50][0], "x.dm3");
  EXPECT_EQ(sources_.reads, 1);  // only the demo outside the cached folder
  EXPECT_EQ(files.listings, (std::map<std::string, int>{{folder_, 1}, {dir_.path(), 1}}));
  EXPECT_EQ(files.readings[folder_ + "/rwt_scan"], 1);
  for (const auto& [path, count] : files.readings) EXPECT_EQ(count, 1) << path;
}

TEST_F(PlayListFileTest, HeaderIsFoundAnywhereInTheFirstLine) {
  const std::string demo = Put("x.dm_48", 10);
  for (const char* header :
       {"RWT Play List, ver 1.32", "RWT Play List, ver 2.05", "saved by hand: RWT Play List"}) {
    const PlayListLoad load = LoadText(std::string(header) + "\r\n" + demo + "\r\n");
    EXPECT_TRUE(load.loaded) << header;
    EXPECT_EQ(load.entries, 1u) << header;
  }
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(PlayListFileTest, OtherFilesAreRejectedAndLeaveThePlayListAlone) {
  const std::string demo = Put("x.dm_48", 10);
  playList_.rows.push_back({});
  for (const std::string& text :
       {std::string("RWT PlayList, ver 1.32\r\n") + demo, std::string(), std::string("\r\n") + demo,
        std::string("rwt play list, ver 1.32\r\n")}) {
    messages_.shown.clear();
    const PlayListLoad load = LoadText(text);
    EXPECT_FALSE(load.loaded);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, "Load Playlist Error");
    EXPECT_EQ(messages_.shown[0].text, kNotAPlayList);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
  }
  EXPECT_EQ(playList_.rows.size(), 1u);
  EXPECT_EQ(playList_.clears, 0);
}

TEST_F(PlayListFileTest, EmptyListWritesTheHeaderOnlyAndLoadsAsCorrupted) {
  const std::string path = dir_.Join("empty.rwt");
  ASSERT_TRUE(SavePlayList(files_, messages_, path, {}));
  EXPECT_EQ(test::ReadBytes(path), "RWT Play List, ver 1.32\r\n");
  playList_.rows.push_back({});
  const PlayListLoad load = Load(path);
  EXPECT_TRUE(load.loaded);
  EXPECT_TRUE(playList_.rows.empty());
  EXPECT_EQ(load.nameLabel, "Play List corrupted, nothing to load");
  EXPECT_EQ(load.statusText, "0 Items. Total length: 00:00:00");
}

TEST_F(PlayListFileTest, ListOfDeletedDemosLoadsEmpty) {
  const std::string demo = Put("gone.dm3", 2000);
  test::WriteBytes(dir_.Join("old.rwt"), "RWT Play List, ver 1.32\r\n" + demo + "\r\n\x01" +
                                             folder_ + "/gone.zip\\a.dm3\r\n\r\n");
  std::filesystem::remove(demo);
  const PlayListLoad load = Load(dir_.Join("old.rwt"));
  EXPECT_TRUE(load.loaded);
  EXPECT_EQ(load.entries, 0u);
  EXPECT_EQ(load.statusText, "0 Items. Total length: 00:00:00");
  EXPECT_EQ(load.nameLabel, "Play List corrupted, nothing to load");
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(PlayListFileTest, FolderListingLinesNeverTouchTheDemoList) {
  Put("x.dm_48", 10);
  demoList_.rows.push_back({});
  const PlayListLoad load = LoadText("RWT Play List, ver 1.32\r\n" + folder_ + "/*.*\r\n");
  EXPECT_EQ(load.entries, 0u);
  EXPECT_EQ(demoList_.rows.size(), 1u);
  EXPECT_EQ(demoList_.clears, 0);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/rwt_scan"));
}

TEST_F(PlayListFileTest, UnreadableFileIsReportedWithItsPath) {
  playList_.rows.push_back({});
  const PlayListLoad load = Load(dir_.Join("missing.rwt"));
  EXPECT_FALSE(load.loaded);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_NE(messages_.shown[0].text.find(dir_.Join("missing.rwt")), std::string::npos);
  EXPECT_EQ(playList_.rows.size(), 1u);
}

TEST_F(PlayListFileTest, FailedSaveKeepsTheOldFile) {
  const std::string path = dir_.Join("keep.rwt");
  test::WriteBytes(path, "old");
  files_.failWrites.push_back(path);
  EXPECT_FALSE(SavePlayList(files_, messages_, path, {}));
  EXPECT_EQ(test::ReadBytes(path), "old");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].caption, "RWT: File Save Error");
}

}  // namespace
}  // namespace rw
