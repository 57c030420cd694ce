// A listing that reads its demos side by side must give what one reading after the other
// gives: the same rows in the same order, the same parse cache and the same message boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "demo/demo_reader.h"
#include "host/fake/fake_host.h"
#include "library/scan_demos.h"
#include "library/scan_reader_sources.h"
#include "support/scan_fakes.h"
#include "support/test_files.h"
#include "support/zip_writer.h"

namespace rw {
namespace {

// 2001-05-03 17:04:08, MS-DOS packed.
constexpr uint32_t kTime = 0x2AA38884;

// Where record n (the first is 1) of a demo starts, by the framing of the demo file format:
// a 4-byte sequence, a 4-byte length, then that many bytes.
size_t RecordOffset(const std::string& demo, int n) {
  size_t offset = 0;
  for (int record = 1; record < n; ++record) {
    int32_t length = 0;
    std::memcpy(&length, demo.data() + offset + 4, 4);
    offset += 8 + static_cast<size_t>(length);
  }
  return offset;
}

std::string WithLength(std::string demo, int n, int32_t length) {
  std::memcpy(demo.data() + RecordOffset(demo, n) + 4, &length, 4);
  return demo;
}

struct Listing {
  std::vector<ListRow> rows;
  std::string cache;
  std::vector<FakeMessages::Shown> messages;
  std::vector<std::string> summaries;
};

class ScanJobsTest : public ::testing::Test {
 protected:
  ScanJobsTest() : folder_(dir_.Join("demos")) {
    const std::string tdm = test::ReadBytes(test::TestDataPath("demos/tdm.dm3"));
    const std::string duel = test::ReadBytes(test::TestDataPath("demos/duel.dm_48"));
    Put("tdm.dm3", tdm);
    Put("duel.dm_48", duel);
    for (const char* name : {"2002 - Duel 3 (Quakecon).dm_67", "czimnick_test.dm_68",
                             "udt_baseq3_team_chat.dm_68", "flyby_suspended.dm_70"}) {
      Put(name, test::ReadBytes(test::TestDataPath(std::string("demos/newer/") + name)));
    }
    // Cut inside the length field of a record, inside the sequence field of another, and in
    // the middle of a message: each ends the demo where it is cut.
    Put("cut in length.dm3", tdm.substr(0, RecordOffset(tdm, 7) + 6));
    Put("cut in sequence.dm_48", duel.substr(0, RecordOffset(duel, 20) + 2));
    Put("cut in message.dm_48", duel.substr(0, duel.size() / 2 + 3));
    // A negative length in the seventh record, and in the twentieth.
    const std::string badLength = WithLength(tdm, 7, -16);
    Put("bad length.dm3", badLength);
    Put("bad length.dm_48", WithLength(duel, 20, -2));
    Put("empty.dm3", "");
    Put("noise.dm_48", std::string(5000, '\x5A'));
    std::string damaged = tdm.substr(0, 400000);
    std::string pack = test::ZipBytes({{"matches/tdm.dm3", tdm, kTime},
                                       {"cut/bad length.dm3", badLength, kTime},
                                       {"duel.dm_48", duel, kTime},
                                       {"bad/damaged.dm3", damaged, kTime}});
    // The last member's data no longer matches its CRC-32.
    pack[pack.rfind(damaged.substr(300000, 64)) + 10] ^= 0x55;
    Put("pack.zip", pack);
  }

  void Put(const std::string& name, const std::string& bytes) {
    const std::string path = folder_ + "/" + name;
    test::WriteBytes(path, bytes);
    ASSERT_TRUE(files_.SetModifiedDosTime(path, kTime));
  }

  Listing ListCold(size_t jobs) {
    std::filesystem::remove(folder_ + "/rwt_scan");
    FakeMessages messages;
    DemoReader reader(messages, locale_, files_);
    ReaderScanSources sources(reader, files_, messages, state_);
    test::RecordingStatus status;
    test::RecordingSink demoList;
    test::RecordingSink playList;
    ScanContext context{
        files_, locale_, clock_, state_, sources, status, demoList, playList, dir_.Join("notes"),
        jobs};
    ScanDemos(ScanEntry::Folder(folder_), context);
    return {demoList.rows, test::ReadBytes(folder_ + "/rwt_scan"), messages.shown,
            status.summaries};
  }

  test::TempDir dir_;
  std::string folder_;
  FakeFileSystem files_;
  FixedLocale locale_;
  FakeClock clock_;
  AppState state_;
};

size_t CountShown(const std::vector<FakeMessages::Shown>& shown, const std::string& text) {
  return static_cast<size_t>(std::count_if(shown.begin(), shown.end(), [&](const auto& message) {
    return message.caption == "Debug" && message.text == text &&
           message.icon == MessageIcon::kError;
  }));
}

TEST_F(ScanJobsTest, FourJobsListExactlyAsOneDoes) {
  const Listing one = ListCold(1);
  // Every file and member is a row, also those that cannot be read.
  ASSERT_EQ(one.rows.size(), 17u);
  EXPECT_EQ(CountShown(one.messages, "Parsing Error (PacketSize) at Packet Nr: 7"), 2u);
  EXPECT_EQ(CountShown(one.messages, "Parsing Error (PacketSize) at Packet Nr: 20"), 1u);
  EXPECT_EQ(one.messages.size(), 3u);

  for (int run = 0; run < 3; ++run) {
    SCOPED_TRACE(run);
    const Listing four = ListCold(4);
    EXPECT_EQ(four.rows, one.rows);
    EXPECT_EQ(four.cache, one.cache);
    ASSERT_EQ(four.messages.size(), one.messages.size());
    for (size_t i = 0; i < one.messages.size(); ++i) {
      EXPECT_EQ(four.messages[i].text, one.messages[i].text);
      EXPECT_EQ(four.messages[i].caption, one.messages[i].caption);
      EXPECT_EQ(four.messages[i].icon, one.messages[i].icon);
    }
    EXPECT_EQ(four.summaries, one.summaries);
  }
  EXPECT_EQ(state_.busyCount(), 0);
}

}  // namespace
}  // namespace rw
