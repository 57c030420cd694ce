#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "archive/directory_reader.h"
#include "archive/extractor.h"
#include "host/fake/fake_host.h"
#include "support/test_files.h"
#include "zip_builder.h"

namespace rw {
namespace {

// Every member of every real archive: names, offsets, methods, sizes and CRC-32s from
// zipinfo -v; the first and last 16 bytes from unzip -p (which cannot decode reduce, so
// reduced members are checked by their CRC-32 alone).
struct RealMember {
  const char* archive;
  const char* name;
  uint32_t offset;
  uint16_t method;
  uint32_t compressedSize;
  uint32_t size;
  uint32_t crc;
  const char* head;
  const char* tail;
};

const RealMember kMembers[] = {
    {"pk3/openarena-sample.pk3", "levelshots\\", 0, 0, 0, 0, 0x00000000, "", ""},
    {"pk3/openarena-sample.pk3", "levelshots\\ps37ctf2.jpg", 41, 8, 4188, 4223, 0xaf954d9a,
     "ffd8ffe000104a464946000101010048", "3a9ace3c6006dfb81ef8ed4c145fffd9"},
    {"pk3/openarena-sample.pk3", "levelshots\\oa_minia.tga", 4282, 8, 37627, 49304, 0xfbeaa56d,
     "00000a00000000000000000080008000", "5545564953494f4e2d5846494c452e00"},
    {"pk3/openarena-sample.pk3", "levelshots\\ctf_compromise.tga", 41962, 8, 141879, 196652,
     0x5c796584, "00000200000000000000000000010001", "5545564953494f4e2d5846494c452e00"},
    {"pk3/openarena-sample.pk3", "models\\", 183900, 0, 0, 0, 0x00000000, "", ""},
    {"pk3/openarena-sample.pk3", "models\\players\\", 183937, 0, 0, 0, 0x00000000, "", ""},
    {"pk3/openarena-sample.pk3", "models\\players\\angelyss\\", 183982, 0, 0, 0, 0x00000000, "",
     ""},
    {"pk3/openarena-sample.pk3", "models\\players\\angelyss\\icon_red.tga", 184036, 8, 33654, 66075,
     0x9603fffb, "00000200000000000000000080008000", "5545564953494f4e2d5846494c452e00"},
    {"pk3/openarena-sample.pk3", "models\\players\\angelyss\\icon_default.tga", 217756, 8, 33305,
     66075, 0x4178f915, "00000200000000000000000080008000", "5545564953494f4e2d5846494c452e00"},
    {"pk3/openarena-sample.pk3", "sound\\", 251131, 0, 0, 0, 0x00000000, "", ""},
    {"pk3/openarena-sample.pk3", "sound\\feedback\\", 251167, 0, 0, 0, 0x00000000, "", ""},
    {"pk3/openarena-sample.pk3", "sound\\feedback\\1_minute.wav", 251212, 8, 124415, 138360,
     0x5dedc71e, "52494646701c020057415645666d7420", "0b000000323030372d30372d30360002"},
    {"pk3/openarena-sample.pk3", "sound\\le\\", 375684, 0, 0, 0, 0x00000000, "", ""},
    {"pk3/openarena-sample.pk3", "sound\\le\\bullet1.wav", 375723, 8, 1382, 1422, 0xbd8c8467,
     "524946468605000057415645666d7420", "a601d7019801ee00b9014301d3ffd5ff"},
    {"zips/sfx/dotnetzip_winzip-sfx.exe", "Codepage.cs", 135194, 8, 1370, 3530, 0x75ab9467,
     "2f2f20436f6465706167652e63730d0a", "0d0a0d0a0d0a202020207d0d0a7d0d0a"},
    {"zips/sfx/dotnetzip_winzip-sfx.exe", "Crc32.cs", 136605, 8, 685, 1558, 0x1c68b1fc,
     "2f2f2050726f64756365456e6346696c", "097d0d0a0d0a202020207d0d0a7d0d0a"},
    {"zips/sfx/dotnetzip_winzip-sfx.exe", "CreateDir.cs", 137328, 8, 359, 687, 0xe331d3b6,
     "2f2f204372656174654469722e63730d", "2020207d0d0a20207d0d0a7d0d0a0d0a"},
    {"zips/sfx/dotnetzip_winzip-sfx.exe", "CreateLargeZip.cs", 137729, 8, 1023, 3159, 0x72728f36,
     "2f2f204372656174654c617267655a69", "097d0d0a202020207d0d0a0d0a0d0a7d"},
    {"zips/sfx/dotnetzip_winzip-sfx.exe", "DecryptEncFile.cs", 138799, 8, 3669, 13784, 0x266ccb76,
     "2f2f2044656372797074456e6346696c", "0d0a202020207d0d0a0d0a0d0a7d0d0a"},
    {"zips/sfx/dotnetzip_winzip-sfx.exe", "DeflateFile.cs", 142515, 8, 2095, 8585, 0x458301f4,
     "2f2f204465666c61746546696c652e63", "20207d0d0a0d0a0d0a0d0a0d0a7d0d0a"},
    {"zips/legacy/commons-compress-SHRUNK.ZIP", "TEST1.XML", 0, 1, 66, 76, 0x393a497a,
     "3c3f786d6c2076657273696f6e203d20", "0a3c2f636f6e6e656374696f6e733e0a"},
    {"zips/legacy/commons-compress-SHRUNK.ZIP", "TEST2.XML", 105, 1, 76, 81, 0xd19abf92,
     "3c3f786d6c2076657273696f6e203d20", "72202f3e0a3c2f6d65696e786d6c3e0a"},
    {"zips/legacy/commons-compress-imploding-4Kdict-2trees.zip", "HEADER.TXT", 0, 6, 555, 818,
     0x3222d8c7, "2f2a0d0a202a204c6963656e73656420", "204c6963656e73652e0d0a202a2f0d0a"},
    {"zips/legacy/commons-compress-imploding-8Kdict-3trees.zip", "LICENSE.TXT", 0, 6, 4131, 11560,
     0x495fc599, "0d0a2020202020202020202020202020", "7220746865204c6963656e73652e0d0a"},
    {"zips/legacy/commons-compress-lorem-ipsum-implode.zip", "LOREM.TXT", 0, 6, 42809, 144060,
     0xb9034f7e, "0a4c6f72656d20697073756d20646f6c", "6e756e63206372617320616d65742e0a"},
    {"zips/legacy/defacto2-HWIMPODE.ZIP", "TESTDAT1.TXT", 0, 6, 955, 2009, 0xc71a6911,
     "4c6f72656d20697073756d20646f6c6f", "6469742073656d7065722076656c2e0a"},
    {"zips/legacy/defacto2-HWIMPODE.ZIP", "TESTDAT2.TXT", 997, 6, 328, 469, 0xc8ddc359,
     "4c616375732076756c70757461746520", "6c757470617420626c616e6469742e0a"},
    {"zips/legacy/defacto2-HWIMPODE.ZIP", "TESTDAT3.TXT", 1367, 6, 22821, 81410, 0xc065e9c4,
     "50617274757269656e7420657520706f", "206d61737361206c616f726565742e0a"},
    {"zips/legacy/defacto2-HWREDUCE.ZIP", "TESTDAT1.TXT", 0, 5, 1324, 2009, 0xc71a6911, "", ""},
    {"zips/legacy/defacto2-HWREDUCE.ZIP", "TESTDAT2.TXT", 1366, 0, 469, 469, 0xc8ddc359,
     "4c616375732076756c70757461746520", "6c757470617420626c616e6469742e0a"},
    {"zips/legacy/defacto2-HWREDUCE.ZIP", "TESTDAT3.TXT", 1877, 5, 27088, 81410, 0xc065e9c4, "",
     ""},
    {"zips/legacy/defacto2-HWSHRINK.ZIP", "TESTDAT1.TXT", 0, 1, 1178, 2009, 0xc71a6911,
     "4c6f72656d20697073756d20646f6c6f", "6469742073656d7065722076656c2e0a"},
    {"zips/legacy/defacto2-HWSHRINK.ZIP", "TESTDAT2.TXT", 1220, 1, 337, 469, 0xc8ddc359,
     "4c616375732076756c70757461746520", "6c757470617420626c616e6469742e0a"},
    {"zips/legacy/defacto2-HWSHRINK.ZIP", "TESTDAT3.TXT", 1599, 1, 22343, 81410, 0xc065e9c4,
     "50617274757269656e7420657520706f", "206d61737361206c616f726565742e0a"},
    {"zips/legacy/defacto2-example-i.zip", "I.BIN", 0, 6, 89, 2048, 0x8314ddd9,
     "41424341424341424341424341424344", "3132333233343434343441414141410a"},
    {"zips/legacy/defacto2-example-r.zip", "R.BIN", 0, 5, 276, 2048, 0x8314ddd9, "", ""},
    {"zips/legacy/defacto2-example-s.zip", "S.BIN", 0, 1, 459, 2048, 0x8314ddd9,
     "41424341424341424341424341424344", "3132333233343434343441414141410a"},
    {"zips/legacy/libarchive-test_compat_zip_implode.zip", "EDIT.ZIP", 0, 6, 22073, 23303,
     0x79b66e25, "504b03040a0000000600a618511517cf", "0000060006003a010000b75900000000"},
    {"zips/legacy/libarchive-test_compat_zip_implode.zip", "4MAP.DOC", 22111, 6, 6046, 16100,
     0xc5ac76b6, "0d0a0d0a0d0a0d0a0d0a09090909344d", "30783030090920307838340909200d0a"},
    {"zips/legacy/libarchive-test_compat_zip_implode.zip", "4MAP.EXE", 28195, 6, 1437, 2752,
     0x6c29d4a9, "4d5ac0000600050020000000ffff0000", "00000000000000000000ac0000000000"},
    {"zips/legacy/libarchive-test_compat_zip_implode.zip", "PUTMAP.EXE", 29670, 6, 11495, 18551,
     0x3cc85a72, "4d5a31011b00040020002c02ffffdf04", "0000b10e00000d004e42303046130000"},
    {"zips/legacy/libarchive-test_compat_zip_implode.zip", "MAPDEF", 41205, 6, 673, 2028,
     0x5fa4c7ac, "2f2a0d0a0954686520666f6c6c77696e", "0a092a2009093d3e09093b0d0a7d0d0a"},
    {"zips/legacy/libarchive-test_compat_zip_implode_realloc.zip", "VALIDATE.TXT", 0, 6, 1413, 2904,
     0xcc881138, "20202020202020202020202020202020", "34303829203732372d343535390d0a1a"},
    {"zips/legacy/libarchive-test_compat_zip_implode_realloc.zip", "VALIDATE.C", 1455, 6, 2699,
     7513, 0x75f2f92a, "2f2a2a2a2a2a2a2a2a2a2a2a2a2a2a2a", "0d0a09657869742830293b0d0a7d0d0a"},
    {"zips/legacy/libarchive-test_compat_zip_implode_realloc.zip", "MAKEFILE", 4194, 6, 405, 603,
     0x5bd51ac6, "23204d414b4546494c4520746f206372", "2d582076616c69646174652e630d0a1a"},
    {"zips/legacy/sharpcompress-Zip.implode.zip", "EXE\\TEST.EXE", 0, 6, 19828, 45056, 0xcfb109c8,
     "4d5a90000300000004000000ffff0000", "00000000000000000000000000000000"},
    {"zips/legacy/sharpcompress-Zip.implode.zip", "JPG\\TEST.JPG", 19870, 0, 40372, 40372,
     0x088814e3, "ffd8ffe1489345786966000049492a00", "07637e934ca72180e4769997f658ffd9"},
    {"zips/legacy/sharpcompress-Zip.implode.zip", "\xc3\xa2\xc2\xa5\xc3\xa1\xc3\xa2.txt", 60284, 6,
     2942, 15498, 0x9bd160fa, "7573696e672053797374656d3b0d0a75",
     "6e6469660d0a202020207d0d0a7d0d0a"},
    {"zips/legacy/sharpcompress-Zip.reduce1.zip", "TECT.TXT", 0, 1, 5391, 15498, 0x9bd160fa,
     "7573696e672053797374656d3b0d0a75", "6e6469660d0a202020207d0d0a7d0d0a"},
    {"zips/legacy/sharpcompress-Zip.reduce1.zip", "TEST.EXE", 5429, 2, 22064, 45056, 0xcfb109c8, "",
     ""},
    {"zips/legacy/sharpcompress-Zip.reduce1.zip", "TEST.JPG", 27531, 2, 39261, 40372, 0x088814e3,
     "", ""},
    {"zips/legacy/sharpcompress-Zip.reduce2.zip", "TECT.TXT", 0, 1, 5391, 15498, 0x9bd160fa,
     "7573696e672053797374656d3b0d0a75", "6e6469660d0a202020207d0d0a7d0d0a"},
    {"zips/legacy/sharpcompress-Zip.reduce2.zip", "TEST.EXE", 5429, 3, 21563, 45056, 0xcfb109c8, "",
     ""},
    {"zips/legacy/sharpcompress-Zip.reduce2.zip", "TEST.JPG", 27030, 3, 39253, 40372, 0x088814e3,
     "", ""},
    {"zips/legacy/sharpcompress-Zip.reduce3.zip", "TECT.TXT", 0, 1, 5391, 15498, 0x9bd160fa,
     "7573696e672053797374656d3b0d0a75", "6e6469660d0a202020207d0d0a7d0d0a"},
    {"zips/legacy/sharpcompress-Zip.reduce3.zip", "TEST.EXE", 5429, 4, 21423, 45056, 0xcfb109c8, "",
     ""},
    {"zips/legacy/sharpcompress-Zip.reduce3.zip", "TEST.JPG", 26890, 4, 39252, 40372, 0x088814e3,
     "", ""},
    {"zips/legacy/sharpcompress-Zip.reduce4.zip", "TECT.TXT", 0, 1, 5391, 15498, 0x9bd160fa,
     "7573696e672053797374656d3b0d0a75", "6e6469660d0a202020207d0d0a7d0d0a"},
    {"zips/legacy/sharpcompress-Zip.reduce4.zip", "TEST.EXE", 5429, 5, 21271, 45056, 0xcfb109c8, "",
     ""},
    {"zips/legacy/sharpcompress-Zip.reduce4.zip", "TEST.JPG", 26738, 5, 39201, 40372, 0x088814e3,
     "", ""},
    {"zips/legacy/sharpcompress-Zip.shrink.zip", "TECT.TXT", 0, 1, 5391, 15498, 0x9bd160fa,
     "7573696e672053797374656d3b0d0a75", "6e6469660d0a202020207d0d0a7d0d0a"},
    {"zips/legacy/sharpcompress-Zip.shrink.zip", "TEST.EXE", 5429, 1, 25138, 45056, 0xcfb109c8,
     "4d5a90000300000004000000ffff0000", "00000000000000000000000000000000"},
    {"zips/legacy/sharpcompress-Zip.shrink.zip", "TEST.JPG", 30605, 0, 40372, 40372, 0x088814e3,
     "ffd8ffe1489345786966000049492a00", "07637e934ca72180e4769997f658ffd9"},
    {"zips/legacy/zip2-implode.zip", "first.txt", 0, 6, 684, 1092, 0x22957a6e,
     "54686520706c6179206f662048616d6c", "756e6520616e642068617273682e220a"},
    {"zips/legacy/zip2-reduce.zip", "first.txt", 0, 5, 942, 1092, 0x22957a6e, "", ""},
    {"zips/legacy/zip2-shrink.zip", "FIRST.TXT", 0, 1, 709, 1092, 0x22957a6e,
     "54686520706c6179206f662048616d6c", "756e6520616e642068617273682e220a"},
};

std::string Hex(std::string_view bytes) {
  static const char* const kDigits = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    out += kDigits[static_cast<uint8_t>(c) >> 4];
    out += kDigits[static_cast<uint8_t>(c) & 15];
  }
  return out;
}

std::map<std::string, std::vector<const RealMember*>> ByArchive() {
  std::map<std::string, std::vector<const RealMember*>> archives;
  for (const RealMember& m : kMembers) archives[m.archive].push_back(&m);
  return archives;
}

TEST(RealArchivesTest, ListsEveryMember) {
  for (const auto& [archive, members] : ByArchive()) {
    SCOPED_TRACE(archive);
    ArchiveCursor cursor;
    int code = ArchiveOpen(test::TestDataPath(archive), cursor);
    for (const RealMember* m : members) {
      ASSERT_EQ(code, kArchiveMember);
      EXPECT_EQ(cursor.name, m->name);
      EXPECT_EQ(cursor.localHeaderOffset, m->offset);
      EXPECT_EQ(cursor.method, m->method);
      EXPECT_EQ(cursor.compressedSize, m->compressedSize);
      EXPECT_EQ(cursor.size, m->size);
      EXPECT_EQ(cursor.crc32, m->crc);
      code = ArchiveNext(cursor);
    }
    EXPECT_EQ(code, kArchiveNoMember);
  }
}

class RealExtractionTest : public ::testing::Test {
 protected:
  FakeClock clock;
  CountingPump pump;
  FakeFileSystem files;
  Extractor extractor{clock, pump, files};
};

TEST_F(RealExtractionTest, ExtractsEveryMemberToMemory) {
  for (const RealMember& m : kMembers) {
    SCOPED_TRACE(std::string(m.archive) + " " + m.name);
    // One byte of room more than the member, so the CRC-32 check is made.
    std::string data(m.size + 1, '\0');
    uint32_t size = m.size + 1;
    ASSERT_EQ(
        extractor.unzipfiletomemory(test::TestDataPath(m.archive),
                                    reinterpret_cast<uint8_t*>(data.data()), size, {}, m.offset),
        0);
    ASSERT_EQ(size, m.size);
    data.resize(size);
    EXPECT_EQ(test::Crc32(data), m.crc);
    if (*m.head != '\0') {
      EXPECT_EQ(Hex(data.substr(0, 16)), m.head);
      EXPECT_EQ(Hex(data.substr(data.size() - 16)), m.tail);
    }
  }
}

TEST_F(RealExtractionTest, ExtractsEveryMemberToDisk) {
  test::TempDir dir;
  for (const RealMember& m : kMembers) {
    if (m.size == 0) continue;
    SCOPED_TRACE(std::string(m.archive) + " " + m.name);
    const std::string out = dir.Join("out/member");
    ASSERT_EQ(extractor.unzipfiletodisk(test::TestDataPath(m.archive), out, 0, {}, m.offset), 0);
    const std::string data = test::ReadBytes(out);
    EXPECT_EQ(data.size(), m.size);
    EXPECT_EQ(test::Crc32(data), m.crc);
  }
}

TEST_F(RealExtractionTest, CutOldPkzipMembersEndEarly) {
  test::TempDir dir;
  for (const char* name : {"defacto2-example-s.zip", "defacto2-example-r.zip",
                           "defacto2-example-i.zip", "zip2-shrink.zip"}) {
    SCOPED_TRACE(name);
    const std::string whole =
        test::ReadBytes(test::TestDataPath(std::string("zips/legacy/") + name));
    for (const size_t length : {40u, 80u, 100u}) {
      const std::string path = dir.Join("cut.zip");
      test::WriteBytes(path, whole.substr(0, length));
      std::string data(4096, '\0');
      uint32_t size = 4096;
      const int code =
          extractor.unzipfiletomemory(path, reinterpret_cast<uint8_t*>(data.data()), size, {}, 0);
      EXPECT_TRUE(code == 3 || code == 4) << code;
    }
  }
}

}  // namespace
}  // namespace rw
