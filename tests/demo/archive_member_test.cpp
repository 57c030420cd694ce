#include <gtest/gtest.h>

#include "demo/demo_reader.h"
#include "demo/info_text.h"
#include "host/posix/steady_clock.h"
#include "support/demo_writer.h"
#include "support/test_files.h"

namespace rw {
namespace {

using test::ReaderHarness;
using test::ZipEntry;
using test::ZipOf;

TEST(ArchiveMembers, ReadsADeflatedDemoInAFolderOfAnArchive) {
  ReaderHarness h;
  const std::string archive = h.PathOf("demos.zip");
  const std::string tdm = test::ReadBytes(test::TestDataPath("demos/tdm.dm3"));
  test::WriteBytes(archive, ZipOf({{"readme.txt", "two demos", 0, 0x2A634B4A},
                                   {"matches\\tdm.dm3", tdm, 8, 0x2C8F8B21}}));
  ASSERT_EQ(h.reader.GetFromDemo("matches\\tdm.dm3", archive, true), "1");
  EXPECT_TRUE(h.messages.shown.empty());
  const DemoReadState& s = h.state();
  EXPECT_EQ(s.RecordedText, "2002-04-15 17:25:02");  // the member's MS-DOS date and time
  EXPECT_EQ(s.SizeText, "2.53 MB");
  // The same values as the file itself gives (see the real demo tests).
  EXPECT_EQ(s.Protocol, 43);
  EXPECT_EQ(GetInfoValue(s, "sv_hostname"), "East Teamplay.Net Teams 2");
  EXPECT_EQ(s.Playtime, "00:21:49");
  EXPECT_EQ(s.Score1, "117");
  EXPECT_EQ(s.Score2, "109");
  EXPECT_EQ(s.Players.size(), 13u);
  EXPECT_EQ(s.MatchLog.back(), "^400:21:49 ^7Demo end.");
}

TEST(ArchiveMembers, StoredMemberThroughTheProgramsExtractor) {
  test::TempDir folder;
  const std::string archive = folder.Join("duel.zip");
  test::WriteBytes(
      archive, ZipOf({{"duel.dm_48", test::ReadBytes(test::TestDataPath("demos/duel.dm_48"))}}));
  FakeMessages messages;
  FixedLocale locale;
  FakeFileSystem files;
  SteadyClock clock;
  CountingPump pump;
  Extractor extractor(clock, pump, files);
  DemoReader reader(messages, locale, files, extractor);
  ASSERT_EQ(reader.GetFromDemo("duel.dm_48", archive, false), "1");
  EXPECT_EQ(reader.State().Protocol, 48);
  EXPECT_EQ(reader.State().Playtime, "00:15:17");
  EXPECT_EQ(reader.State().RecordedText, "2001-03-03 09:26:20");
}

TEST(ArchiveMembers, MissingMemberOrArchiveGivesTheEmptyResult) {
  ReaderHarness h;
  const std::string archive = h.PathOf("one.zip");
  test::WriteBytes(archive, ZipOf({{"a.dm3", "not a demo"}}));
  for (const auto& [member, path] : {std::pair{std::string("b.dm3"), archive},
                                     std::pair{std::string("a.dm3"), h.PathOf("no.zip")}}) {
    EXPECT_EQ(h.reader.GetFromDemo(member, path, true), "0");
    EXPECT_EQ(h.state().SizeText, "0 KB");
    EXPECT_EQ(h.state().RecordedText, "");
    EXPECT_EQ(h.state().InfoString, "\\");
    EXPECT_EQ(h.state().Playtime, "00:00:00");
    EXPECT_TRUE(h.state().MatchLog.empty());
    EXPECT_TRUE(h.messages.shown.empty());
  }
}

TEST(ArchiveMembers, MemberThatDoesNotExtractIsNotWalked) {
  ReaderHarness h;
  test::DemoWriter demo(43);
  demo.AddGameState(test::TypicalServerInfo(43), test::TypicalSystemInfo()).AddSnapshot(5).End();
  std::string archive = ZipOf({{"bad.dm3", demo.bytes() + std::string(2000, 'z')}});
  archive[30 + 7 + 40] ^= 0x55;  // a byte of the stored data: the CRC-32 no longer matches
  const std::string path = h.PathOf("bad.zip");
  test::WriteBytes(path, archive);
  EXPECT_EQ(h.reader.GetFromDemo("bad.dm3", path, true), "0");
  EXPECT_EQ(h.state().SizeText, "2 KB");
  EXPECT_EQ(h.state().RecordedText, "2001-03-03 09:26:20");
  EXPECT_EQ(h.state().InfoString, "\\");
  EXPECT_TRUE(h.state().MatchLog.empty());
  EXPECT_TRUE(h.messages.shown.empty());
}

// The uncompressed size in the archive's one central record, as a streaming writer could
// have got it wrong.
std::string WithClaimedSize(std::string archive, uint32_t size) {
  const size_t record = archive.find("PK\x01\x02");
  for (int i = 0; i < 4; ++i) archive[record + 24 + i] = static_cast<char>(size >> (8 * i));
  return archive;
}

TEST(ArchiveMembers, MemberOverTheSizeLimitIsUnreadableWithoutAMessage) {
  ReaderHarness h;
  test::DemoWriter demo(43);
  demo.AddGameState(test::TypicalServerInfo(43), test::TypicalSystemInfo()).AddSnapshot(5).End();
  const std::string archive = ZipOf({{"big.dm3", demo.bytes()}});
  const std::string path = h.PathOf("big.zip");
  // At the limit the block is only reserved; the member's real bytes are read.
  test::WriteBytes(path, WithClaimedSize(archive, DemoReader::kDemoSizeLimit));
  EXPECT_EQ(h.reader.GetFromDemo("big.dm3", path, false), "1");
  EXPECT_EQ(h.state().SizeText, "256.00 MB");
  // 300 MiB: listed with its size, never allocated, and no scan around it is stopped.
  test::WriteBytes(path, WithClaimedSize(archive, 300u << 20));
  EXPECT_EQ(h.reader.GetFromDemo("big.dm3", path, false), "0");
  EXPECT_EQ(h.state().SizeText, "300.00 MB");
  EXPECT_EQ(h.state().RecordedText, "2001-03-03 09:26:20");
  EXPECT_EQ(h.state().InfoString, "\\");
  EXPECT_TRUE(h.messages.shown.empty());
  EXPECT_FALSE(h.reader.RanOutOfMemory());
}

}  // namespace
}  // namespace rw
