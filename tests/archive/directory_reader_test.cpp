#include "archive/directory_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "host/dos_time.h"
#include "support/test_files.h"
#include "zip_builder.h"

namespace rw {
namespace {

using test::BuildZip;
using test::Member;
using test::TempDir;
using test::ZipMember;

struct Expected {
  const char* name;
  uint32_t offset;
  uint16_t method;
  uint32_t crc;
  uint32_t compressedSize;
  uint32_t size;
  LocalDateTime modified;
};

std::vector<ArchiveCursor> WalkAll(const std::string& path, int& endCode) {
  std::vector<ArchiveCursor> members;
  ArchiveCursor cursor;
  int code = ArchiveOpen(path, cursor);
  while (code == kArchiveMember) {
    ArchiveCursor copy;
    copy.name = cursor.name;
    copy.size = cursor.size;
    copy.compressedSize = cursor.compressedSize;
    copy.localHeaderOffset = cursor.localHeaderOffset;
    copy.crc32 = cursor.crc32;
    copy.method = cursor.method;
    copy.dateTime = cursor.dateTime;
    copy.attributes = cursor.attributes;
    copy.flags = cursor.flags;
    members.push_back(std::move(copy));
    code = ArchiveNext(cursor);
  }
  EXPECT_EQ(cursor.buffer, nullptr);
  ArchiveClose(cursor);
  endCode = code;
  return members;
}

void ExpectMembers(const std::string& path, const std::vector<Expected>& expected) {
  int endCode = 0;
  const std::vector<ArchiveCursor> members = WalkAll(path, endCode);
  EXPECT_EQ(endCode, kArchiveNoMember);
  ASSERT_EQ(members.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(members[i].name, expected[i].name);
    EXPECT_EQ(members[i].localHeaderOffset, expected[i].offset);
    EXPECT_EQ(members[i].method, expected[i].method);
    EXPECT_EQ(members[i].crc32, expected[i].crc);
    EXPECT_EQ(members[i].compressedSize, expected[i].compressedSize);
    EXPECT_EQ(members[i].size, expected[i].size);
    EXPECT_EQ(FromDosTime(members[i].dateTime), expected[i].modified);
  }
}

std::string WriteArchive(const TempDir& dir, const std::string& name, const std::string& bytes) {
  const std::string path = dir.Join(name);
  test::WriteBytes(path, bytes);
  return path;
}

// Expected values below come from zipinfo -v.
TEST(DirectoryReaderTest, ListsTheGameArchive) {
  ExpectMembers(
      test::TestDataPath("pk3/openarena-sample.pk3"),
      {
          {"levelshots\\", 0, 0, 0, 0, 0, {2026, 12, 7, 4, 42, 14}},
          {"levelshots\\ps37ctf2.jpg", 41, 8, 0xaf954d9a, 4188, 4223, {2009, 11, 6, 4, 30, 50}},
          {"levelshots\\oa_minia.tga", 4282, 8, 0xfbeaa56d, 37627, 49304, {2009, 11, 6, 4, 30, 50}},
          {"levelshots\\ctf_compromise.tga",
           41962,
           8,
           0x5c796584,
           141879,
           196652,
           {2009, 11, 6, 4, 30, 50}},
          {"models\\", 183900, 0, 0, 0, 0, {2026, 12, 7, 4, 42, 14}},
          {"models\\players\\", 183937, 0, 0, 0, 0, {2026, 12, 7, 4, 42, 14}},
          {"models\\players\\angelyss\\", 183982, 0, 0, 0, 0, {2026, 12, 7, 4, 42, 14}},
          {"models\\players\\angelyss\\icon_red.tga",
           184036,
           8,
           0x9603fffb,
           33654,
           66075,
           {2010, 2, 21, 8, 55, 56}},
          {"models\\players\\angelyss\\icon_default.tga",
           217756,
           8,
           0x4178f915,
           33305,
           66075,
           {2008, 8, 3, 4, 28, 16}},
          {"sound\\", 251131, 0, 0, 0, 0, {2026, 12, 7, 4, 42, 16}},
          {"sound\\feedback\\", 251167, 0, 0, 0, 0, {2026, 12, 7, 4, 42, 16}},
          {"sound\\feedback\\1_minute.wav",
           251212,
           8,
           0x5dedc71e,
           124415,
           138360,
           {2008, 8, 8, 2, 12, 22}},
          {"sound\\le\\", 375684, 0, 0, 0, 0, {2026, 12, 7, 4, 42, 14}},
          {"sound\\le\\bullet1.wav", 375723, 8, 0xbd8c8467, 1382, 1422, {2009, 11, 19, 23, 23, 10}},
      });
}

TEST(DirectoryReaderTest, ListsTheWindowsSelfExtractor) {
  const std::string path = test::TestDataPath("zips/sfx/dotnetzip_winzip-sfx.exe");
  ExpectMembers(
      path,
      {
          {"Codepage.cs", 135194, 8, 0x75ab9467, 1370, 3530, {2008, 9, 30, 18, 12, 30}},
          {"Crc32.cs", 136605, 8, 0x1c68b1fc, 685, 1558, {2009, 1, 27, 13, 51, 44}},
          {"CreateDir.cs", 137328, 8, 0xe331d3b6, 359, 687, {2008, 2, 5, 13, 4, 44}},
          {"CreateLargeZip.cs", 137729, 8, 0x72728f36, 1023, 3159, {2008, 11, 15, 19, 12, 38}},
          {"DecryptEncFile.cs", 138799, 8, 0x266ccb76, 3669, 13784, {2009, 1, 27, 13, 43, 38}},
          {"DeflateFile.cs", 142515, 8, 0x458301f4, 2095, 8585, {2009, 1, 27, 16, 10, 18}},
      });
  EXPECT_TRUE(IsArchiveFile(path));
}

TEST(DirectoryReaderTest, ListsOldPkzipArchives) {
  ExpectMembers(test::TestDataPath("zips/legacy/sharpcompress-Zip.implode.zip"),
                {
                    {"EXE\\TEST.EXE", 0, 6, 0xcfb109c8, 19828, 45056, {2022, 8, 1, 19, 23, 4}},
                    {"JPG\\TEST.JPG", 19870, 0, 0x088814e3, 40372, 40372, {2022, 8, 1, 19, 23, 4}},
                    {"\xc3\xa2\xc2\xa5\xc3\xa1\xc3\xa2.txt",
                     60284,
                     6,
                     0x9bd160fa,
                     2942,
                     15498,
                     {2022, 8, 1, 19, 23, 4}},
                });
  ExpectMembers(test::TestDataPath("zips/legacy/defacto2-HWREDUCE.ZIP"),
                {
                    {"TESTDAT1.TXT", 0, 5, 0xc71a6911, 1324, 2009, {2025, 2, 14, 13, 45, 36}},
                    {"TESTDAT2.TXT", 1366, 0, 0xc8ddc359, 469, 469, {2025, 2, 14, 13, 45, 36}},
                    {"TESTDAT3.TXT", 1877, 5, 0xc065e9c4, 27088, 81410, {2025, 2, 14, 13, 45, 36}},
                });
}

TEST(DirectoryReaderTest, UnadjustedSelfExtractorEndsItsWalkCleanly) {
  ArchiveCursor cursor;
  EXPECT_EQ(
      ArchiveOpen(test::TestDataPath("zips/sfx/libarchive_test_read_format_zip_sfx.bin"), cursor),
      kArchiveNoMember);
  EXPECT_EQ(cursor.buffer, nullptr);
  EXPECT_EQ(ArchiveNext(cursor), kArchiveDamaged);
}

TEST(DirectoryReaderTest, TakesMemberFieldsFromTheCentralRecord) {
  TempDir dir;
  ZipMember dos = Member("Demos/Final.dm_48", "abc");
  dos.dosAttributes = 0x21;
  dos.flags = 0x0002;
  ZipMember unix = Member("readme.txt", "text", 8);
  unix.host = 3;
  unix.dosAttributes = 0x20;
  unix.dosTime = 0x12345678;
  const std::string path = WriteArchive(dir, "a.zip", BuildZip({dos, unix}));

  ArchiveCursor cursor;
  ASSERT_EQ(ArchiveOpen(path, cursor), kArchiveMember);
  EXPECT_EQ(cursor.name, "Demos\\Final.dm_48");
  EXPECT_EQ(cursor.attributes, 0x21);
  EXPECT_EQ(cursor.flags, 0x0002);
  EXPECT_EQ(cursor.size, 3u);
  EXPECT_EQ(cursor.crc32, 0x352441C2u);  // CRC-32 of "abc"
  ASSERT_EQ(ArchiveNext(cursor), kArchiveMember);
  EXPECT_EQ(cursor.attributes, 0);  // not made on MS-DOS
  EXPECT_EQ(cursor.method, 8);
  EXPECT_EQ(cursor.dateTime, 0x12345678u);
  EXPECT_EQ(cursor.localHeaderOffset, 50u);  // 30 + 17 + 3
  EXPECT_EQ(ArchiveNext(cursor), kArchiveNoMember);
  EXPECT_EQ(cursor.buffer, nullptr);
  EXPECT_EQ(cursor.name, "readme.txt");  // fields outlive the walk
  EXPECT_EQ(ArchiveNext(cursor), kArchiveDamaged);
  ArchiveClose(cursor);
  ArchiveClose(cursor);
}

TEST(DirectoryReaderTest, StreamsADirectoryLargerThanItsBuffer) {
  TempDir dir;
  std::vector<ZipMember> members;
  for (int i = 0; i < 5000; ++i) {
    ZipMember m;
    m.name = "demos/round" + std::to_string(10000 + i) + "/" + std::string(i % 37, 'x') + ".dm3";
    m.data = std::to_string(i);
    m.extra = std::string(i % 5, 'e');
    m.comment = std::string(i % 3 == 0 ? 9 : 0, 'c');
    members.push_back(m);
  }
  const std::string path = WriteArchive(dir, "big.zip", BuildZip(members));
  const test::ZipLayout layout = test::LastZipLayout();
  const uint32_t buffer = ArchiveCursor::kStreamingBufferSize;
  ASSERT_GT(layout.endRecordOffset - layout.centralDirectoryOffset, 2u * buffer);
  // Some record must straddle each buffer refill; check that one crosses the first.
  bool straddles = false;
  for (size_t i = 0; i + 1 < members.size(); ++i) {
    const uint32_t start = layout.centralRecordOffsets[i] - layout.centralDirectoryOffset;
    const uint32_t end = layout.centralRecordOffsets[i + 1] - layout.centralDirectoryOffset;
    straddles = straddles || (start < buffer && end > buffer);
  }
  ASSERT_TRUE(straddles);

  int endCode = 0;
  const std::vector<ArchiveCursor> listed = WalkAll(path, endCode);
  EXPECT_EQ(endCode, kArchiveNoMember);
  ASSERT_EQ(listed.size(), members.size());
  for (size_t i = 0; i < members.size(); ++i) {
    std::string expectedName = members[i].name;
    for (char& c : expectedName) c = c == '/' ? '\\' : c;
    ASSERT_EQ(listed[i].name, expectedName);
    ASSERT_EQ(listed[i].localHeaderOffset, layout.localHeaderOffsets[i]);
    ASSERT_EQ(listed[i].size, members[i].data.size());
  }
}

TEST(DirectoryReaderTest, StreamingKeepsTheFileOnlyWhileTheWalkRuns) {
  TempDir dir;
  std::vector<ZipMember> members(3000, Member(std::string(40, 'n'), "x"));
  const std::string path = WriteArchive(dir, "big.zip", BuildZip(members));
  ArchiveCursor cursor;
  ASSERT_EQ(ArchiveOpen(path, cursor), kArchiveMember);
  EXPECT_EQ(cursor.bufferSize, ArchiveCursor::kStreamingBufferSize);
  EXPECT_NE(cursor.file, nullptr);
  ArchiveClose(cursor);
  EXPECT_EQ(cursor.file, nullptr);
}

TEST(DirectoryReaderTest, FindsTheEndRecordBehindALongComment) {
  TempDir dir;
  for (const size_t length : {4070u, 4074u, 4075u, 4080u, 8148u, 8170u, 40000u, 65535u}) {
    SCOPED_TRACE(length);
    const std::string path = WriteArchive(
        dir, "c.zip",
        BuildZip({Member("a.dm3", "demo")}, test::WithComment(std::string(length, 'k'))));
    ArchiveCursor cursor;
    EXPECT_EQ(ArchiveOpen(path, cursor), kArchiveMember);
    EXPECT_EQ(cursor.name, "a.dm3");
    ArchiveClose(cursor);
  }
}

TEST(DirectoryReaderTest, ListsRecordsUpToTheLongestPossible) {
  TempDir dir;
  // 46 fixed bytes and a name, an extra field and a comment of 65535 bytes each.
  ZipMember longest = Member(std::string(65531, 'n') + ".dm3", "L");
  longest.extra = std::string(65535, 'e');
  longest.comment = std::string(65535, 'c');
  const ZipMember small = Member("s.dm3", "S");
  for (const std::vector<ZipMember>& members :
       {std::vector<ZipMember>{longest, small},
        std::vector<ZipMember>{small, small, longest, small}, std::vector<ZipMember>(3, longest)}) {
    SCOPED_TRACE(members.size());
    int endCode = 0;
    const std::vector<ArchiveCursor> listed =
        WalkAll(WriteArchive(dir, "l.zip", BuildZip(members)), endCode);
    EXPECT_EQ(endCode, kArchiveNoMember);
    ASSERT_EQ(listed.size(), members.size());
    for (size_t i = 0; i < members.size(); ++i) {
      EXPECT_EQ(listed[i].name, members[i].name.substr(0, 259));
      EXPECT_EQ(listed[i].size, 1u);
    }
  }
}

TEST(DirectoryReaderTest, TakesTheEndRecordNearestTheEnd) {
  TempDir dir;
  const std::string inner = BuildZip({Member("inner.txt", "x")});
  const std::string outer = BuildZip({Member("outer.zip", inner)});
  ArchiveCursor cursor;
  ASSERT_EQ(ArchiveOpen(WriteArchive(dir, "o.zip", outer), cursor), kArchiveMember);
  EXPECT_EQ(cursor.name, "outer.zip");
  ArchiveClose(cursor);
}

TEST(DirectoryReaderTest, ReportsFilesThatAreNoArchives) {
  TempDir dir;
  ArchiveCursor cursor;
  EXPECT_EQ(ArchiveOpen(dir.Join("missing.zip"), cursor), kArchiveUnreadable);
  EXPECT_EQ(ArchiveOpen(WriteArchive(dir, "empty.zip", ""), cursor), kArchiveUnreadable);
  EXPECT_EQ(ArchiveOpen(WriteArchive(dir, "text.zip", std::string(9000, 't')), cursor),
            kArchiveUnreadable);
  EXPECT_EQ(ArchiveOpen(WriteArchive(dir, "tiny.zip", "PK\x05\x06"), cursor), kArchiveUnreadable);
  // An end record this near the start leaves no room for a directory.
  const std::string lone = BuildZip({});
  EXPECT_EQ(ArchiveOpen(WriteArchive(dir, "lone.zip", lone), cursor), kArchiveDamaged);
  EXPECT_EQ(ArchiveOpen(WriteArchive(dir, "lone2.zip", std::string(23, ' ') + lone), cursor),
            kArchiveDamaged);
  EXPECT_EQ(ArchiveOpen(WriteArchive(dir, "lone3.zip", std::string(46, ' ') + lone), cursor),
            kArchiveNoMember);
  EXPECT_EQ(ArchiveOpen(dir.path(), cursor), kArchiveUnreadable);
  EXPECT_EQ(cursor.buffer, nullptr);
}

// A record running past the directory is damage, reported as such after the good records.
TEST(DirectoryReaderTest, DamagedRecordsEndTheWalkAfterTheGoodOnes) {
  TempDir dir;
  ZipMember bad = Member("b.dm3", "2");
  bad.nameLengthOverride = 60000;
  for (const bool streamed : {false, true}) {
    SCOPED_TRACE(streamed);
    std::vector<ZipMember> members;
    if (streamed) members.assign(1500, Member(std::string(90, 'a'), "1"));
    members.push_back(bad);
    members.push_back(Member("c.dm3", "3"));
    int endCode = 0;
    const std::vector<ArchiveCursor> listed =
        WalkAll(WriteArchive(dir, "d.zip", BuildZip(members)), endCode);
    EXPECT_EQ(endCode, kArchiveDamaged);
    EXPECT_EQ(listed.size(), members.size() - 2);
  }
}

TEST(DirectoryReaderTest, DirectoryOffsetsOutsideTheFileEndTheWalk) {
  TempDir dir;
  std::string bytes = BuildZip({Member("a.dm3", "1")});
  const size_t offsetField = test::LastZipLayout().endRecordOffset + 16;
  for (const uint32_t offset : {0xFFFFFFF0u, static_cast<uint32_t>(offsetField + 2), 1u}) {
    SCOPED_TRACE(offset);
    for (int i = 0; i < 4; ++i) bytes[offsetField + i] = static_cast<char>(offset >> (8 * i));
    ArchiveCursor cursor;
    EXPECT_EQ(ArchiveOpen(WriteArchive(dir, "o.zip", bytes), cursor), kArchiveNoMember);
  }
}

TEST(DirectoryReaderTest, CutsLongNamesAt259) {
  TempDir dir;
  const std::string name = std::string(250, 'd') + "/" + std::string(100, 'f');
  ArchiveCursor cursor;
  ASSERT_EQ(ArchiveOpen(WriteArchive(dir, "n.zip", BuildZip({Member(name, "x")})), cursor),
            kArchiveMember);
  EXPECT_EQ(cursor.name, std::string(250, 'd') + "\\" + std::string(8, 'f'));
}

TEST(DirectoryReaderTest, FindIgnoresTheCaseOfPlainLettersOnly) {
  TempDir dir;
  const std::string path = WriteArchive(
      dir, "f.pk3",
      BuildZip({Member("sound/player/sarge/taunt.wav", "wave"),
                Member("demos/\xe9t\xe9.dm3", "accents"), Member("levelshots/q3dm17.jpg", "j")}));
  ArchiveCursor cursor;
  ASSERT_EQ(ArchiveFind(path, "SOUND\\Player\\SARGE\\Taunt.WAV", cursor), kArchiveMember);
  EXPECT_EQ(cursor.name, "sound\\player\\sarge\\taunt.wav");
  EXPECT_EQ(cursor.size, 4u);
  ArchiveClose(cursor);
  ASSERT_EQ(ArchiveFind(path, "levelshots\\Q3DM17.jpg", cursor), kArchiveMember);
  EXPECT_EQ(cursor.localHeaderOffset, test::LastZipLayout().localHeaderOffsets[2]);
  ArchiveClose(cursor);
  // The stored Windows-1252 name is found by its UTF-8 form; only a to z fold.
  EXPECT_EQ(ArchiveFind(path, "DEMOS\\\xc3\xa9T\xc3\xa9.DM3", cursor), kArchiveMember);
  EXPECT_EQ(ArchiveFind(path, "demos\\\xc3\x89t\xc3\x89.dm3", cursor), kArchiveNoMember);
  EXPECT_EQ(ArchiveFind(path, "demos\\\xe9t\xe9.dm3", cursor), kArchiveNoMember);
  EXPECT_EQ(cursor.buffer, nullptr);
  EXPECT_EQ(ArchiveFind(path, "sound/player/sarge/taunt.wav", cursor), kArchiveNoMember);
  EXPECT_EQ(ArchiveFind(path, "taunt.wav", cursor), kArchiveNoMember);
  EXPECT_EQ(ArchiveFind(dir.Join("none.pk3"), "taunt.wav", cursor), kArchiveUnreadable);
}

TEST(DirectoryReaderTest, NamesAreReportedAsUtf8ByTheirUtf8Flag) {
  TempDir dir;
  ZipMember flagged = Member("\xc3\xb1.dm_48", "n");  // U+00F1 with general purpose bit 11
  flagged.flags = 0x0800;
  ZipMember broken = Member("x\xe9.dm3", "b");  // flagged, but no UTF-8: read as Windows-1252
  broken.flags = 0x0800;
  const std::string path = WriteArchive(
      dir, "u.zip",
      BuildZip({Member("d\xe9mo.dm3", "e"), flagged, broken, Member("\x80\x9f.dm3", "w")}));
  ArchiveCursor cursor;
  std::vector<std::string> names;
  for (int code = ArchiveOpen(path, cursor); code == kArchiveMember; code = ArchiveNext(cursor)) {
    names.push_back(cursor.name);
  }
  // U+00E9; U+00F1; U+00E9; the euro sign U+20AC and U+0178 of Windows-1252's 0x80 to 0x9F.
  EXPECT_EQ(names, (std::vector<std::string>{"d\xc3\xa9mo.dm3", "\xc3\xb1.dm_48", "x\xc3\xa9.dm3",
                                             "\xe2\x82\xac\xc5\xb8.dm3"}));
  // What the walk reports is what a lookup takes; case folds as Windows-1252 folds it.
  for (const std::string& name : names) EXPECT_EQ(ArchiveFind(path, name, cursor), kArchiveMember);
  ASSERT_EQ(ArchiveFindFirst(path, "*\\\xc3\x91.DM_48", cursor), kArchiveMember);
  EXPECT_EQ(cursor.name, "\xc3\xb1.dm_48");
  ASSERT_EQ(ArchiveFindFirst(path, "*\\\xe2\x82\xac\xc3\xbf.dm3", cursor), kArchiveMember);
  EXPECT_EQ(cursor.localHeaderOffset, test::LastZipLayout().localHeaderOffsets[3]);
  ArchiveClose(cursor);
}

TEST(DirectoryReaderTest, FindFirstAndNextWalkMatchingMembers) {
  TempDir dir;
  const std::string path =
      WriteArchive(dir, "w.zip",
                   BuildZip({Member("readme.txt", "r"), Member("a.dm3", "a"),
                             Member("sub/b.dm_48", "b"), Member("sub/deep/C.DM3", "c"),
                             Member("x.dm3.bak", "x"), Member("\xC9T\xC9.DM3", "e")}));
  ArchiveCursor cursor;
  std::vector<std::string> found;
  for (int code = ArchiveFindFirst(path, "*\\*.dm3", cursor); code == kArchiveMember;
       code = ArchiveFindNext("*.dm3", cursor)) {
    found.push_back(cursor.name);
  }
  EXPECT_EQ(found,
            (std::vector<std::string>{"a.dm3", "sub\\deep\\C.DM3", "\xc3\x89T\xc3\x89.DM3"}));
  EXPECT_EQ(cursor.buffer, nullptr);

  ASSERT_EQ(ArchiveFindFirst(path, "*.DM_48", cursor), kArchiveMember);
  EXPECT_EQ(cursor.name, "sub\\b.dm_48");
  EXPECT_EQ(ArchiveFindNext("*.dm_48", cursor), kArchiveNoMember);

  // The first match sees a leading "\\", the following ones do not.
  ASSERT_EQ(ArchiveFindFirst(path, "\\?.dm3", cursor), kArchiveMember);
  EXPECT_EQ(cursor.name, "a.dm3");
  EXPECT_EQ(ArchiveFindNext("\\?.dm3", cursor), kArchiveNoMember);
  ASSERT_EQ(ArchiveFindFirst(path, "*\\\xc3\xa9t\xc3\xa9.dm3", cursor), kArchiveMember);
  EXPECT_EQ(ArchiveFindFirst(path, "*.dm", cursor), kArchiveNoMember);
  ASSERT_EQ(ArchiveFindFirst(path, "*", cursor), kArchiveMember);
  EXPECT_EQ(cursor.name, "readme.txt");
  ASSERT_EQ(ArchiveFindNext("sub\\*", cursor), kArchiveMember);
  EXPECT_EQ(cursor.name, "sub\\b.dm_48");
  ArchiveClose(cursor);
}

std::string DosExecutable(uint16_t pages, uint16_t lastPageBytes) {
  std::string header(64, '\0');
  header[0] = 'M';
  header[1] = 'Z';
  header[2] = static_cast<char>(lastPageBytes & 0xFF);
  header[3] = static_cast<char>(lastPageBytes >> 8);
  header[4] = static_cast<char>(pages & 0xFF);
  header[5] = static_cast<char>(pages >> 8);
  return header;
}

TEST(DirectoryReaderTest, SeeksTheEndRecordOnlyWithinTheLongestCommentOfTheEnd) {
  TempDir dir;
  const std::string zip = BuildZip({Member("a.dm3", "demo")});
  std::string stub = DosExecutable(1, 0x90);
  stub.resize(8000, '\x90');
  const std::string program = BuildZip({Member("a.dm3", "demo")}, test::WithPrefix(stub));
  // 22 + 65535 bytes from the end is the furthest an end record can lie.
  for (const size_t junk : {65535u, 65536u, 300000u}) {
    SCOPED_TRACE(junk);
    const int expected = junk == 65535 ? kArchiveMember : kArchiveUnreadable;
    for (const char* name : {"j.zip", "j.pk3", "j.exe"}) {
      ArchiveCursor cursor;
      EXPECT_EQ(ArchiveOpen(WriteArchive(dir, name, zip + std::string(junk, 'j')), cursor),
                expected);
      ArchiveClose(cursor);
    }
    EXPECT_EQ(IsArchiveFile(WriteArchive(dir, "p.exe", program + std::string(junk, 'j'))),
              expected == kArchiveMember);
  }
}

TEST(ArchiveDetectionTest, RecognisesArchivesAndSelfExtractors) {
  TempDir dir;
  const std::string zip = BuildZip({Member("a.dm3", "demo bytes")});
  EXPECT_TRUE(IsArchiveFile(WriteArchive(dir, "a.zip", zip)));
  EXPECT_TRUE(IsArchiveFile(dir.Join("a.zip") + "/"));
  EXPECT_FALSE(IsArchiveFile(WriteArchive(dir, "short.zip", "PK\x03\x04\x14\0\0\0\0")));
  EXPECT_FALSE(IsArchiveFile(WriteArchive(dir, "nodot", zip)));
  EXPECT_FALSE(IsArchiveFile(dir.Join("missing.zip")));
  std::filesystem::create_directories(dir.Join("folder.zip"));
  EXPECT_FALSE(IsArchiveFile(dir.Join("folder.zip")));

  // ZIP data right after the image: 3 pages, 100 bytes in the last one.
  std::string image = DosExecutable(3, 100);
  image.resize(2 * 512 + 100, '\x90');
  EXPECT_TRUE(IsArchiveFile(WriteArchive(dir, "sfx.exe", image + zip)));
  // A full last page is counted as 0.
  std::string full = DosExecutable(2, 0);
  full.resize(1024, '\x90');
  EXPECT_TRUE(IsArchiveFile(WriteArchive(dir, "full.exe", full + zip)));
  EXPECT_TRUE(IsArchiveFile(WriteArchive(dir, "other.exe", full + "\x44\x24\x04\x8B" + "tail")));
  EXPECT_TRUE(
      IsArchiveFile(WriteArchive(dir, "late.exe", full + std::string("\0PK\x03\x04tail", 9))));
  EXPECT_FALSE(IsArchiveFile(WriteArchive(dir, "plain.exe", full + std::string(600, 'c'))));
  EXPECT_FALSE(IsArchiveFile(WriteArchive(dir, "mz.exe", "MZ\x01")));
}

TEST(ArchiveDetectionTest, AcceptsWindowsProgramsOnlyWithUsableZipData) {
  TempDir dir;
  // The MS-DOS stub's image ends long before the appended archive.
  std::string stub = DosExecutable(1, 0x90);
  stub.resize(8000, '\x90');
  const std::vector<ZipMember> members = {Member("a.dm3", "demo"), Member("b.dm3", "x")};
  EXPECT_TRUE(
      IsArchiveFile(WriteArchive(dir, "pe.exe", BuildZip(members, test::WithPrefix(stub)))));
  EXPECT_FALSE(IsArchiveFile(
      WriteArchive(dir, "unadjusted.exe", BuildZip(members, test::WithPrefix(stub, true)))));
  EXPECT_FALSE(IsArchiveFile(WriteArchive(dir, "empty.exe", BuildZip({}, test::WithPrefix(stub)))));
  EXPECT_FALSE(IsArchiveFile(WriteArchive(dir, "bare.exe", stub)));
}

TEST(ArchiveDetectionTest, PipesNamedLikeArchivesAreNeitherOpenedNorWaitedFor) {
  TempDir dir;
  for (const char* name : {"pipe.zip", "pipe.exe"}) {
    ASSERT_EQ(::mkfifo(dir.Join(name).c_str(), 0600), 0);
    EXPECT_FALSE(IsArchiveFile(dir.Join(name)));
    ArchiveCursor cursor;
    EXPECT_EQ(ArchiveOpen(dir.Join(name), cursor), kArchiveUnreadable);
    EXPECT_EQ(ArchiveFind(dir.Join(name), "a.dm3", cursor), kArchiveUnreadable);
  }
}

}  // namespace
}  // namespace rw
