#include "archive/extractor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/directory_reader.h"
#include "host/fake/fake_host.h"
#include "support/test_files.h"
#include "zip_builder.h"

namespace rw {
namespace {

using test::BuildZip;
using test::Member;
using test::TempDir;
using test::ZipMember;

std::string Hex(std::string_view bytes) {
  static const char* const kDigits = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    out += kDigits[static_cast<uint8_t>(c) >> 4];
    out += kDigits[static_cast<uint8_t>(c) & 15];
  }
  return out;
}

class ExtractorTest : public ::testing::Test {
 protected:
  // Extracts a whole member to memory; size is the capacity.
  int ToMemory(const std::string& archive, uint32_t offset, uint32_t capacity, std::string& out,
               uint32_t skip = 0, const CancelRequested& cancel = {}) {
    out.assign(capacity, '\0');
    uint32_t size = capacity;
    const int code = extractor.unzipfiletomemoryskip(
        archive, reinterpret_cast<uint8_t*>(out.data()), size, cancel, skip, offset);
    out.resize(size);
    return code;
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = dir.Join(name);
    test::WriteBytes(path, bytes);
    return path;
  }

  std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      names.push_back(entry.path().lexically_relative(folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir;
  FakeClock clock;
  CountingPump pump;
  FakeFileSystem files;
  Extractor extractor{clock, pump, files};
};

// Sizes, CRCs and offsets from zipinfo -v; leading and trailing bytes from unzip -p.
struct RealMember {
  const char* archive;
  const char* name;
  uint32_t offset;
  uint32_t size;
  uint32_t crc;
  const char* head;
};

TEST_F(ExtractorTest, ExtractsRealDeflatedMembersToMemory) {
  const RealMember members[] = {
      {"pk3/openarena-sample.pk3", "levelshots/ps37ctf2.jpg", 41, 4223, 0xaf954d9a,
       "ffd8ffe000104a464946000101010048"},
      {"pk3/openarena-sample.pk3", "sound/le/bullet1.wav", 375723, 1422, 0xbd8c8467,
       "524946468605000057415645666d7420"},
      {"pk3/openarena-sample.pk3", "levelshots/ctf_compromise.tga", 41962, 196652, 0x5c796584,
       "00000200000000000000000000010001"},
      {"zips/sfx/dotnetzip_winzip-sfx.exe", "Codepage.cs", 135194, 3530, 0x75ab9467,
       "2f2f20436f6465706167652e63730d0a"},
      {"zips/sfx/dotnetzip_winzip-sfx.exe", "Crc32.cs", 136605, 1558, 0x1c68b1fc,
       "2f2f2050726f64756365456e6346696c"},
      {"zips/sfx/dotnetzip_winzip-sfx.exe", "CreateDir.cs", 137328, 687, 0xe331d3b6,
       "2f2f204372656174654469722e63730d"},
      {"zips/sfx/dotnetzip_winzip-sfx.exe", "CreateLargeZip.cs", 137729, 3159, 0x72728f36,
       "2f2f204372656174654c617267655a69"},
      {"zips/sfx/dotnetzip_winzip-sfx.exe", "DecryptEncFile.cs", 138799, 13784, 0x266ccb76,
       "2f2f2044656372797074456e6346696c"},
      {"zips/sfx/dotnetzip_winzip-sfx.exe", "DeflateFile.cs", 142515, 8585, 0x458301f4,
       "2f2f204465666c61746546696c652e63"},
  };
  for (const RealMember& m : members) {
    SCOPED_TRACE(m.name);
    std::string data;
    // Room for more than the member, so the whole member and its CRC check are done.
    ASSERT_EQ(ToMemory(test::TestDataPath(m.archive), m.offset, m.size + 100, data), 0);
    EXPECT_EQ(data.size(), m.size);
    EXPECT_EQ(test::Crc32(data), m.crc);
    EXPECT_EQ(Hex(data.substr(0, 16)), m.head);
  }
  EXPECT_FALSE(extractor.busy());
}

TEST_F(ExtractorTest, ReadsTheHeadOrTheRestOfAMember) {
  const std::string pk3 = test::TestDataPath("pk3/openarena-sample.pk3");
  std::string data;
  EXPECT_EQ(ToMemory(pk3, 375723, 50, data), 0);
  ASSERT_EQ(data.size(), 50u);
  EXPECT_EQ(Hex(data.substr(0, 16)), "524946468605000057415645666d7420");
  // bullet1.wav: 1422 bytes, 44-byte header; unzip -p gives these at 44 and at the end.
  ASSERT_EQ(ToMemory(pk3, 375723, 1422 - 44, data, 44), 0);
  ASSERT_EQ(data.size(), 1422u - 44u);
  EXPECT_EQ(Hex(data.substr(0, 16)), "5ef61bef2ef2cfef80f0c7efa6f025f0");
  EXPECT_EQ(Hex(data.substr(data.size() - 16)), "a601d7019801ee00b9014301d3ffd5ff");
}

TEST_F(ExtractorTest, SkipsAndCapsAcrossOutputWindows) {
  for (const size_t size : {1000u, 32768u, 100000u}) {
    for (const uint16_t method : {0, 8}) {
      SCOPED_TRACE(std::to_string(size) + " method " + std::to_string(method));
      const std::string bytes = test::SampleBytes(size, static_cast<uint32_t>(size));
      const std::string archive = Write("s.zip", BuildZip({Member("s.wav", bytes, method)}));
      std::string data;
      ASSERT_EQ(ToMemory(archive, 0, static_cast<uint32_t>(size - 44), data, 44), 0);
      EXPECT_TRUE(data == bytes.substr(44));
      ASSERT_EQ(ToMemory(archive, 0, 50, data), 0);
      EXPECT_EQ(data, bytes.substr(0, 50));
      ASSERT_EQ(ToMemory(archive, 0, 0, data), 0);
      EXPECT_TRUE(data.empty());
      ASSERT_EQ(ToMemory(archive, 0, 10, data, static_cast<uint32_t>(size + 5)), 0);
      EXPECT_TRUE(data.empty());
    }
  }
}

TEST_F(ExtractorTest, ExtractsToAFileInMissingFolders) {
  const std::string bytes = test::SampleBytes(70000);
  ZipMember member = Member("demos/duel.dm_48", bytes, 8);
  member.dosTime = 0x3A8F6C35;  // 2009-04-15 13:33:42
  const std::string archive = Write("a.zip", BuildZip({member}));
  const std::string target = dir.Join("out/demos/rwttmp01.dm_48");
  ASSERT_EQ(extractor.unzipfiletodisk(archive, target, 0, {}, 0), 0);
  EXPECT_TRUE(test::ReadBytes(target) == bytes);
  EXPECT_EQ(files.ModifiedDosTime(target), 0x3A8F6C35u);
  EXPECT_EQ(FilesIn(dir.Join("out")), (std::vector<std::string>{"demos", "demos/rwttmp01.dm_48"}));

  // An existing file is replaced.
  test::WriteBytes(target, "older and longer text than nothing");
  ASSERT_EQ(extractor.unzipfiletodisk(archive, target, 0, {}, 0), 0);
  EXPECT_TRUE(test::ReadBytes(target) == bytes);
}

TEST_F(ExtractorTest, ExtractsFromASelfExtractor) {
  std::string image(1536, '\x90');
  image[0] = 'M';
  image[1] = 'Z';
  image[4] = 3;  // three full pages
  const std::string bytes = test::SampleBytes(5000);
  const std::string archive =
      Write("sfx.exe", BuildZip({Member("readme.txt", "r", 0), Member("demos/a.dm3", bytes, 8)},
                                test::WithPrefix(image)));
  ASSERT_TRUE(IsArchiveFile(archive));
  ArchiveCursor cursor;
  ASSERT_EQ(ArchiveFind(archive, "DEMOS\\A.DM3", cursor), kArchiveMember);
  std::string data;
  ASSERT_EQ(ToMemory(archive, cursor.localHeaderOffset, cursor.size, data), 0);
  EXPECT_TRUE(data == bytes);
}

TEST_F(ExtractorTest, CreatesFoldersForFolderMembers) {
  const std::string archive = Write("a.zip", BuildZip({Member("maps/", "")}));
  ASSERT_EQ(extractor.unzipfiletodisk(archive, dir.Join("x/maps"), 0x10, {}, 0), 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir.Join("x/maps")));
  ASSERT_EQ(extractor.unzipfiletodisk(archive, dir.Join("y/z/"), 0, {}, 0), 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir.Join("y/z")));
  EXPECT_EQ(FilesIn(dir.Join("y")), (std::vector<std::string>{"z"}));
}

TEST_F(ExtractorTest, FailuresLeaveNoFileAndKeepAnOlderOne) {
  ZipMember method7 = Member("a.dm3", "tokenized");
  method7.method = 7;
  method7.compressed = "xxxxxxxxxx";
  ZipMember method9 = method7;
  method9.method = 9;
  ZipMember encrypted = Member("e.dm3", "secret stuff", 8);
  encrypted.flags = 1;
  ZipMember badCrc = Member("c.dm3", test::SampleBytes(5000), 8);
  badCrc.crc = 0x12345678;
  ZipMember badData = Member("d.dm3", "abc", 8);
  badData.compressed = std::string("\xff\xff\xff\xff\xff\xff", 6);
  const std::string archive =
      Write("f.zip", BuildZip({method7, method9, encrypted, badCrc, badData}));
  const std::vector<uint32_t> offsets = test::LastZipLayout().localHeaderOffsets;

  const std::string target = dir.Join("out/member.dm3");
  EXPECT_EQ(extractor.unzipfiletodisk(archive, target, 0, {}, offsets[0]), 6);
  EXPECT_EQ(extractor.unzipfiletodisk(archive, target, 0, {}, offsets[1]), 6);
  EXPECT_EQ(extractor.unzipfiletodisk(archive, target, 0, {}, offsets[2]), 7);
  EXPECT_FALSE(std::filesystem::exists(dir.Join("out")));
  EXPECT_EQ(extractor.unzipfiletodisk(archive, target, 0, {}, offsets[3]), 1);
  EXPECT_EQ(extractor.unzipfiletodisk(archive, target, 0, {}, offsets[4]), 4);
  EXPECT_EQ(extractor.unzipfiletodisk(archive, target, 0, {}, offsets[4] + 1), 4);
  EXPECT_EQ(extractor.unzipfiletodisk(dir.Join("none.zip"), target, 0, {}, 0), 3);
  EXPECT_EQ(extractor.unzipfiletodisk(dir.path(), target, 0, {}, 0), 3);
  EXPECT_FALSE(std::filesystem::exists(target));

  test::WriteBytes(target, "keep me");
  EXPECT_EQ(extractor.unzipfiletodisk(archive, target, 0, {}, offsets[3]), 1);
  EXPECT_EQ(test::ReadBytes(target), "keep me");
  EXPECT_EQ(FilesIn(dir.Join("out")), (std::vector<std::string>{"member.dm3"}));

  std::string data;
  EXPECT_EQ(ToMemory(archive, offsets[0], 100, data), 6);
  EXPECT_EQ(ToMemory(archive, offsets[2], 100, data), 7);
  EXPECT_EQ(ToMemory(archive, offsets[3], 10000, data), 1);
}

TEST_F(ExtractorTest, UnwritableOutputGivesTwo) {
  const std::string archive = Write("a.zip", BuildZip({Member("a.dm3", "demo", 8)}));
  test::WriteBytes(dir.Join("file"), "in the way");
  EXPECT_EQ(extractor.unzipfiletodisk(archive, dir.Join("file/a.dm3"), 0, {}, 0), 2);
  EXPECT_EQ(extractor.unzipfiletodisk(archive, dir.path(), 0, {}, 0), 2);
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"a.zip", "file"}));
}

TEST_F(ExtractorTest, TruncatedDataEndsEarlyWithoutReadingPastIt) {
  const std::string bytes = test::SampleBytes(300000);
  for (const uint16_t method : {0, 8}) {
    SCOPED_TRACE(method);
    std::string archive = BuildZip({Member("t.dm3", bytes, method)});
    archive.resize(archive.size() / 3);
    std::string data;
    EXPECT_EQ(ToMemory(Write("t.zip", archive), 0, 400000, data), 3);
    EXPECT_EQ(extractor.unzipfiletodisk(dir.Join("t.zip"), dir.Join("t.dm3"), 0, {}, 0), 3);
    EXPECT_FALSE(std::filesystem::exists(dir.Join("t.dm3")));
  }
}

TEST_F(ExtractorTest, HugeClaimedSizesAllocateNothing) {
  std::string archive = BuildZip({Member("h.dm3", "little", 0), Member("i.dm3", "more", 8)});
  const std::vector<uint32_t> offsets = test::LastZipLayout().localHeaderOffsets;
  for (const uint32_t offset : offsets) {
    for (const size_t field : {18u, 22u}) {
      for (int i = 0; i < 4; ++i) archive[offset + field + i] = '\xF0';
    }
  }
  const std::string path = Write("h.zip", archive);
  std::string data;
  EXPECT_EQ(ToMemory(path, offsets[0], 100, data), 3);
  // Deflate knows its own end; only the CRC decides.
  EXPECT_EQ(ToMemory(path, offsets[1], 100, data), 0);
  EXPECT_EQ(data, "more");
}

TEST_F(ExtractorTest, ReadsTheCrcFromTheDataDescriptor) {
  const std::string bytes = test::SampleBytes(40000);
  ZipMember signed_ = Member("a.dm3", bytes, 8);
  signed_.descriptor = true;
  ZipMember bare = signed_;
  bare.descriptorSignature = false;
  ZipMember wrong = signed_;
  wrong.crc = 0xDEADBEEF;
  ZipMember stored = Member("s.dm3", bytes, 0);
  stored.descriptor = true;
  stored.keepLocalSizes = true;
  const std::string archive = Write("d.zip", BuildZip({signed_, bare, wrong, stored}));
  const std::vector<uint32_t> offsets = test::LastZipLayout().localHeaderOffsets;
  std::string data;
  EXPECT_EQ(ToMemory(archive, offsets[0], 50000, data), 0);
  EXPECT_TRUE(data == bytes);
  EXPECT_EQ(ToMemory(archive, offsets[1], 50000, data), 0);
  EXPECT_TRUE(data == bytes);
  EXPECT_EQ(ToMemory(archive, offsets[2], 50000, data), 1);
  EXPECT_EQ(ToMemory(archive, offsets[3], 50000, data), 0);
  EXPECT_TRUE(data == bytes);
}

TEST_F(ExtractorTest, StoredMembersWithSizesAfterTheirDataTakeThemFromTheDirectory) {
  // Two output windows and a piece, so the copy runs in more than one step.
  const std::string bytes = test::SampleBytes(70000);
  ZipMember signed_ = Member("a.dm3", bytes, 0);
  signed_.descriptor = true;
  ZipMember bare = signed_;
  bare.descriptorSignature = false;
  ZipMember wrong = signed_;
  wrong.crc = 0xDEADBEEF;
  ZipMember empty = Member("e.dm3", "", 0);
  empty.descriptor = true;
  const ZipMember after = Member("z.dm3", "after", 8);
  const std::string archive =
      Write("d.zip", BuildZip({signed_, bare, wrong, empty, after}, test::WithComment("note")));
  const std::vector<uint32_t> offsets = test::LastZipLayout().localHeaderOffsets;
  std::string data;
  for (const size_t i : {0u, 1u}) {
    EXPECT_EQ(ToMemory(archive, offsets[i], 80000, data), 0);
    EXPECT_TRUE(data == bytes);
  }
  EXPECT_EQ(ToMemory(archive, offsets[2], 80000, data), 1);
  EXPECT_EQ(ToMemory(archive, offsets[3], 10, data), 0);
  EXPECT_EQ(data, "");
  EXPECT_EQ(ToMemory(archive, offsets[4], 10, data), 0);
  EXPECT_EQ(data, "after");
  ASSERT_EQ(extractor.unzipfiletodisk(archive, dir.Join("a.dm3"), 0, {}, offsets[1]), 0);
  EXPECT_TRUE(test::ReadBytes(dir.Join("a.dm3")) == bytes);
}

TEST_F(ExtractorTest, OutputReplacesALinkInItsPlaceWithoutWritingThroughIt) {
  const std::string archive = Write("a.zip", BuildZip({Member("a.dm3", "member", 8)}));
  const std::string victim = Write("victim", "precious");
  std::filesystem::create_symlink(victim, dir.Join("rwttmp01.dm3"));
  ASSERT_EQ(extractor.unzipfiletodisk(archive, dir.Join("rwttmp01.dm3"), 0, {}, 0), 0);
  EXPECT_EQ(test::ReadBytes(victim), "precious");
  EXPECT_FALSE(std::filesystem::is_symlink(dir.Join("rwttmp01.dm3")));
  EXPECT_EQ(test::ReadBytes(dir.Join("rwttmp01.dm3")), "member");
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"a.zip", "rwttmp01.dm3", "victim"}));
}

TEST_F(ExtractorTest, ServesMessagesBeforeEachInputBlock) {
  std::string random(20000, '\0');
  uint32_t state = 7;
  for (char& c : random) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 23);
  }
  const std::string archive = Write("p.zip", BuildZip({Member("r.bin", random, 8)}));
  std::string data;
  ASSERT_EQ(ToMemory(archive, 0, 20000, data), 0);
  const size_t compressed = test::LastZipLayout().centralDirectoryOffset - 30 - 5;
  EXPECT_GE(pump.calls, static_cast<int>((compressed + 2047) / 2048));

  pump.calls = 0;
  const std::string stored =
      Write("q.zip", BuildZip({Member("r.bin", test::SampleBytes(100000), 0)}));
  ASSERT_EQ(ToMemory(stored, 0, 100000, data), 0);
  EXPECT_EQ(pump.calls, 4);  // 32768-byte pieces
}

TEST_F(ExtractorTest, CancelAbortsAndLeavesNoFile) {
  const std::string archive =
      Write("c.zip", BuildZip({Member("c.dm3", test::SampleBytes(200000), 8),
                               Member("d.dm3", test::SampleBytes(200000), 0)}));
  const std::vector<uint32_t> offsets = test::LastZipLayout().localHeaderOffsets;
  int asked = 0;
  const CancelRequested cancelSoon = [&asked] { return ++asked == 3; };
  for (const uint32_t offset : offsets) {
    asked = 0;
    EXPECT_EQ(extractor.unzipfiletodisk(archive, dir.Join("c.dm3"), 0, cancelSoon, offset), 5);
    EXPECT_EQ(asked, 3);
    EXPECT_FALSE(std::filesystem::exists(dir.Join("c.dm3")));
  }
  std::string data;
  EXPECT_EQ(ToMemory(archive, offsets[0], 10, data, 0, [] { return false; }), 0);
}

TEST_F(ExtractorTest, RefusesANestedExtractionWhileOneRuns) {
  const std::string archive =
      Write("n.zip", BuildZip({Member("n.dm3", test::SampleBytes(50000), 8)}));
  std::vector<int> nested;
  pump.onService = [&] {
    std::string data;
    nested.push_back(ToMemory(archive, 0, 100, data));
  };
  std::string data;
  ASSERT_EQ(ToMemory(archive, 0, 60000, data), 0);
  ASSERT_FALSE(nested.empty());
  for (const int code : nested) EXPECT_EQ(code, -1);
  EXPECT_FALSE(extractor.busy());
}

TEST_F(ExtractorTest, ABusyFlagLeftForMoreThan30SecondsIsStale) {
  const std::string archive =
      Write("n.zip", BuildZip({Member("n.dm3", test::SampleBytes(50000), 8)}));
  std::string data;
  ASSERT_EQ(ToMemory(archive, 0, 100, data), 0);  // messages served at tick 1000

  // The nested call comes while the outer extraction serves messages for the first time,
  // so the last recorded service is the previous extraction's.
  for (const uint32_t later : {30000u, 30001u}) {
    SCOPED_TRACE(later);
    int nested = 99;
    bool first = true;
    pump.onService = [&] {
      if (!first) return;
      first = false;
      std::string inner;
      nested = ToMemory(archive, 0, 100, inner);
    };
    clock.now = 1000 + later;
    ASSERT_EQ(ToMemory(archive, 0, 60000, data), 0);
    EXPECT_EQ(nested, later > 30000 ? 0 : -1);
    clock.now = 1000;
    ASSERT_EQ(ToMemory(archive, 0, 100, data), 0);
  }
}

TEST_F(ExtractorTest, NeverServedMeansBusy) {
  const std::string archive = Write("n.zip", BuildZip({Member("n.dm3", "abc", 8)}));
  int nested = 99;
  pump.onService = [&] {
    clock.now += 100000;
    std::string inner;
    nested = ToMemory(archive, 0, 100, inner);
  };
  std::string data;
  ASSERT_EQ(ToMemory(archive, 0, 100, data), 0);
  EXPECT_EQ(nested, -1);
}

}  // namespace
}  // namespace rw
