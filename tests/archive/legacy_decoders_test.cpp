#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "archive/legacy_decoders.h"
#include "support/test_files.h"

namespace rw {
namespace {

// Compressed bytes, then the end mark; optionally an abort after a number of bytes.
class BytesInput : public DecoderInput {
 public:
  explicit BytesInput(std::string_view bytes, size_t abortAt = SIZE_MAX)
      : bytes_(bytes), abortAt_(abortAt) {}
  int NextByte() override {
    if (pos_ == abortAt_) return kAborted;
    if (pos_ >= bytes_.size()) return kEndOfInput;
    return static_cast<uint8_t>(bytes_[pos_++]);
  }

 private:
  std::string_view bytes_;
  size_t abortAt_;
  size_t pos_ = 0;
};

// Collects what is delivered; refuses the delivery that would pass failAfter bytes.
class CollectingOutput : public DecoderOutput {
 public:
  explicit CollectingOutput(size_t failAfter = SIZE_MAX) : failAfter_(failAfter) {}
  bool Deliver(const uint8_t* data, size_t size) override {
    if (bytes.size() + size > failAfter_) return false;
    pieces.push_back(size);
    bytes.append(reinterpret_cast<const char*>(data), size);
    return true;
  }
  std::string bytes;
  std::vector<size_t> pieces;

 private:
  size_t failAfter_;
};

// Packs values low bit first, as the PKZIP methods do.
class BitWriter {
 public:
  BitWriter& Put(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
      if (used_ == 0) bytes_.push_back(0);
      if ((value >> i) & 1) bytes_.back() = static_cast<char>(bytes_.back() | (1 << used_));
      used_ = (used_ + 1) % 8;
    }
    return *this;
  }
  // A Shannon-Fano code goes out from its highest bit down.
  BitWriter& PutCode(uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Put((code >> i) & 1, 1);
    return *this;
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
  int used_ = 0;
};

// Members of the legacy archives: offsets, sizes and CRC-32s as zipinfo -v lists them.
struct Member {
  const char* archive;
  const char* name;
  uint32_t localHeader;
  uint32_t compressedSize;
  int method;
  int flags;
  uint32_t size;
  uint32_t crc;
};

constexpr Member kMembers[] = {
    {"commons-compress-SHRUNK.ZIP", "TEST1.XML", 0, 66, 1, 0, 76, 0x393a497au},
    {"commons-compress-SHRUNK.ZIP", "TEST2.XML", 105, 76, 1, 0, 81, 0xd19abf92u},
    {"commons-compress-imploding-4Kdict-2trees.zip", "HEADER.TXT", 0, 555, 6, 0, 818, 0x3222d8c7u},
    {"commons-compress-imploding-8Kdict-3trees.zip", "LICENSE.TXT", 0, 4131, 6, 6, 11560,
     0x495fc599u},
    {"commons-compress-lorem-ipsum-implode.zip", "LOREM.TXT", 0, 42809, 6, 6, 144060, 0xb9034f7eu},
    {"defacto2-HWIMPODE.ZIP", "TESTDAT1.TXT", 0, 955, 6, 6, 2009, 0xc71a6911u},
    {"defacto2-HWIMPODE.ZIP", "TESTDAT2.TXT", 997, 328, 6, 6, 469, 0xc8ddc359u},
    {"defacto2-HWIMPODE.ZIP", "TESTDAT3.TXT", 1367, 22821, 6, 6, 81410, 0xc065e9c4u},
    {"defacto2-HWREDUCE.ZIP", "TESTDAT1.TXT", 0, 1324, 5, 0, 2009, 0xc71a6911u},
    {"defacto2-HWREDUCE.ZIP", "TESTDAT3.TXT", 1877, 27088, 5, 0, 81410, 0xc065e9c4u},
    {"defacto2-HWSHRINK.ZIP", "TESTDAT1.TXT", 0, 1178, 1, 0, 2009, 0xc71a6911u},
    {"defacto2-HWSHRINK.ZIP", "TESTDAT2.TXT", 1220, 337, 1, 0, 469, 0xc8ddc359u},
    {"defacto2-HWSHRINK.ZIP", "TESTDAT3.TXT", 1599, 22343, 1, 0, 81410, 0xc065e9c4u},
    {"defacto2-example-i.zip", "I.BIN", 0, 89, 6, 0, 2048, 0x8314ddd9u},
    {"defacto2-example-r.zip", "R.BIN", 0, 276, 5, 0, 2048, 0x8314ddd9u},
    {"defacto2-example-s.zip", "S.BIN", 0, 459, 1, 0, 2048, 0x8314ddd9u},
    {"libarchive-test_compat_zip_implode.zip", "EDIT.ZIP", 0, 22073, 6, 0, 23303, 0x79b66e25u},
    {"libarchive-test_compat_zip_implode.zip", "4MAP.DOC", 22111, 6046, 6, 6, 16100, 0xc5ac76b6u},
    {"libarchive-test_compat_zip_implode.zip", "4MAP.EXE", 28195, 1437, 6, 0, 2752, 0x6c29d4a9u},
    {"libarchive-test_compat_zip_implode.zip", "PUTMAP.EXE", 29670, 11495, 6, 0, 18551,
     0x3cc85a72u},
    {"libarchive-test_compat_zip_implode.zip", "MAPDEF", 41205, 673, 6, 0, 2028, 0x5fa4c7acu},
    {"libarchive-test_compat_zip_implode_realloc.zip", "VALIDATE.TXT", 0, 1413, 6, 0, 2904,
     0xcc881138u},
    {"libarchive-test_compat_zip_implode_realloc.zip", "VALIDATE.C", 1455, 2699, 6, 6, 7513,
     0x75f2f92au},
    {"libarchive-test_compat_zip_implode_realloc.zip", "MAKEFILE", 4194, 405, 6, 0, 603,
     0x5bd51ac6u},
    {"sharpcompress-Zip.implode.zip", "EXE/TEST.EXE", 0, 19828, 6, 0, 45056, 0xcfb109c8u},
    {"sharpcompress-Zip.implode.zip", "text member with a non-ASCII name", 60284, 2942, 6, 6, 15498,
     0x9bd160fau},
    {"sharpcompress-Zip.reduce1.zip", "TECT.TXT", 0, 5391, 1, 0, 15498, 0x9bd160fau},
    {"sharpcompress-Zip.reduce1.zip", "TEST.EXE", 5429, 22064, 2, 0, 45056, 0xcfb109c8u},
    {"sharpcompress-Zip.reduce1.zip", "TEST.JPG", 27531, 39261, 2, 0, 40372, 0x088814e3u},
    {"sharpcompress-Zip.reduce2.zip", "TECT.TXT", 0, 5391, 1, 0, 15498, 0x9bd160fau},
    {"sharpcompress-Zip.reduce2.zip", "TEST.EXE", 5429, 21563, 3, 0, 45056, 0xcfb109c8u},
    {"sharpcompress-Zip.reduce2.zip", "TEST.JPG", 27030, 39253, 3, 0, 40372, 0x088814e3u},
    {"sharpcompress-Zip.reduce3.zip", "TECT.TXT", 0, 5391, 1, 0, 15498, 0x9bd160fau},
    {"sharpcompress-Zip.reduce3.zip", "TEST.EXE", 5429, 21423, 4, 0, 45056, 0xcfb109c8u},
    {"sharpcompress-Zip.reduce3.zip", "TEST.JPG", 26890, 39252, 4, 0, 40372, 0x088814e3u},
    {"sharpcompress-Zip.reduce4.zip", "TECT.TXT", 0, 5391, 1, 0, 15498, 0x9bd160fau},
    {"sharpcompress-Zip.reduce4.zip", "TEST.EXE", 5429, 21271, 5, 0, 45056, 0xcfb109c8u},
    {"sharpcompress-Zip.reduce4.zip", "TEST.JPG", 26738, 39201, 5, 0, 40372, 0x088814e3u},
    {"sharpcompress-Zip.shrink.zip", "TECT.TXT", 0, 5391, 1, 0, 15498, 0x9bd160fau},
    {"sharpcompress-Zip.shrink.zip", "TEST.EXE", 5429, 25138, 1, 0, 45056, 0xcfb109c8u},
    {"zip2-implode.zip", "first.txt", 0, 684, 6, 6, 1092, 0x22957a6eu},
    {"zip2-reduce.zip", "first.txt", 0, 942, 5, 0, 1092, 0x22957a6eu},
    {"zip2-shrink.zip", "FIRST.TXT", 0, 709, 1, 0, 1092, 0x22957a6eu},
};

constexpr uint32_t kUnknownSize = 2147483547;

uint32_t Crc32(std::string_view bytes) {
  return static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// The member's compressed bytes, found through its local header.
std::string CompressedData(const Member& member) {
  const std::string archive =
      test::ReadBytes(test::TestDataPath(std::string("zips/legacy/") + member.archive));
  const auto at = [&](size_t offset) { return static_cast<uint8_t>(archive.at(offset)); };
  const size_t header = member.localHeader;
  EXPECT_EQ(archive.substr(header, 4), std::string("PK\x03\x04", 4)) << member.name;
  const size_t start = header + 30 + (at(header + 26) | at(header + 27) << 8) +
                       (at(header + 28) | at(header + 29) << 8);
  return archive.substr(start, member.compressedSize);
}

DecodeResult Decode(const Member& member, DecoderInput& in, DecoderOutput& out, uint32_t size) {
  if (member.method == 1) return Unshrink(in, out);
  if (member.method <= 5) return Unreduce(in, out, member.method - 1, size);
  return Explode(in, out, (member.flags & 2) != 0, (member.flags & 4) != 0, size);
}

const Member& FirstMember(int method, uint32_t minimumSize) {
  for (const Member& member : kMembers) {
    if (member.method == method && member.size >= minimumSize) return member;
  }
  throw std::logic_error("no such member");
}

TEST(LegacyDecoders, EveryMemberOfTheLegacyArchivesDecodesToItsSizeAndCrc) {
  for (const Member& member : kMembers) {
    SCOPED_TRACE(std::string(member.archive) + " " + member.name);
    const std::string data = CompressedData(member);
    BytesInput in(data);
    CollectingOutput out;
    EXPECT_EQ(Decode(member, in, out, member.size), DecodeResult::kOk);
    EXPECT_EQ(out.bytes.size(), member.size);
    EXPECT_EQ(Crc32(out.bytes), member.crc);
    // Whole windows, then what is left.
    for (size_t i = 0; i + 1 < out.pieces.size(); ++i) EXPECT_EQ(out.pieces[i], 32768u);
    if (!out.pieces.empty()) {
      EXPECT_LE(out.pieces.back(), 32768u);
    }
  }
}

TEST(LegacyDecoders, InputThatEndsEarlyGivesEndOfInputExceptForShrink) {
  for (const Member& member : kMembers) {
    SCOPED_TRACE(std::string(member.archive) + " " + member.name);
    const std::string data = CompressedData(member);
    BytesInput in(std::string_view(data).substr(0, data.size() / 2));
    CollectingOutput out;
    const DecodeResult result = Decode(member, in, out, member.size);
    if (member.method == 1) {
      // Shrink has no end mark: what came is decoded and the CRC-32 check catches the rest.
      EXPECT_EQ(result, DecodeResult::kOk);
      BytesInput whole(data);
      CollectingOutput full;
      ASSERT_EQ(Unshrink(whole, full), DecodeResult::kOk);
      EXPECT_LT(out.bytes.size(), full.bytes.size());
      EXPECT_EQ(full.bytes.substr(0, out.bytes.size()), out.bytes);
    } else {
      EXPECT_EQ(result, DecodeResult::kEndOfInput);
    }
  }
}

TEST(LegacyDecoders, UnknownSizeDecodesUntilTheInputEndsWithoutAllocatingBySize) {
  for (const int method : {2, 3, 4, 5, 6}) {
    const Member& member = FirstMember(method, 40000);
    SCOPED_TRACE(std::string(member.archive) + " " + member.name);
    const std::string data = CompressedData(member);
    BytesInput whole(data);
    CollectingOutput full;
    ASSERT_EQ(Decode(member, whole, full, member.size), DecodeResult::kOk);
    BytesInput in(data);
    CollectingOutput out;
    const DecodeResult result = Decode(member, in, out, kUnknownSize);
    EXPECT_TRUE(result == DecodeResult::kEndOfInput || result == DecodeResult::kInvalidData);
    ASSERT_GE(out.bytes.size(), 32768u);
    EXPECT_EQ(out.bytes.substr(0, 32768), full.bytes.substr(0, 32768));
  }
}

TEST(LegacyDecoders, RefusedDeliveryAndAbortEndTheDecoder) {
  for (const int method : {1, 2, 3, 4, 5, 6}) {
    for (const uint32_t minimumSize : {0u, 40000u}) {
      const Member& member = FirstMember(method, minimumSize);
      SCOPED_TRACE(std::string(member.archive) + " " + member.name);
      const std::string data = CompressedData(member);
      {
        BytesInput in(data);
        CollectingOutput out(0);
        EXPECT_EQ(Decode(member, in, out, member.size), DecodeResult::kDeliveryFailed);
      }
      {
        BytesInput in(data);
        CollectingOutput out(member.size - 1);
        EXPECT_EQ(Decode(member, in, out, member.size), DecodeResult::kDeliveryFailed);
      }
      {
        BytesInput in(data, data.size() / 2);
        CollectingOutput out;
        EXPECT_EQ(Decode(member, in, out, member.size), DecodeResult::kAborted);
      }
    }
  }
}

TEST(LegacyDecoders, GarbageEndsWithEndOfInputOrInvalidData) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 300; ++round) {
    std::string bytes(random() % 3000, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    for (int method = 1; method <= 6; ++method) {
      BytesInput in(bytes);
      CollectingOutput out;
      const Member member{"", "", 0, 0, method, static_cast<int>(random() % 8), 0, 0};
      const DecodeResult result = Decode(member, in, out, kUnknownSize);
      if (method == 1) {
        EXPECT_TRUE(result == DecodeResult::kOk || result == DecodeResult::kInvalidData);
      } else {
        EXPECT_TRUE(result == DecodeResult::kEndOfInput || result == DecodeResult::kInvalidData)
            << "method " << method << " gave " << static_cast<int>(result);
      }
    }
  }
}

TEST(LegacyDecoders, DamagedMembersNeverOverrunTheirSize) {
  std::mt19937 random(7);
  for (const Member& member : kMembers) {
    SCOPED_TRACE(std::string(member.archive) + " " + member.name);
    const std::string data = CompressedData(member);
    for (int round = 0; round < 4; ++round) {
      std::string damaged = data;
      for (int i = 0; i < 3; ++i)
        damaged[random() % damaged.size()] ^= static_cast<char>(1 + random() % 255);
      BytesInput in(damaged);
      CollectingOutput out;
      const DecodeResult result = Decode(member, in, out, member.size);
      EXPECT_NE(result, DecodeResult::kDeliveryFailed);
      EXPECT_NE(result, DecodeResult::kAborted);
      if (member.method != 1) {
        EXPECT_LE(out.bytes.size(), member.size);
      }
    }
  }
}

TEST(Unshrink, PartialClearFreesOnlyLeavesAndReusesTheLowestCodesFirst) {
  BitWriter bits;
  // a, b, "ab" (adds "ba"), c (adds "abc"); the clear frees "ba" and "abc" but keeps "ab",
  // which they extended. d then takes code 258 for "cd".
  for (const uint32_t code : std::vector<uint32_t>{'a', 'b', 257, 'c', 256, 2, 'd', 257, 258})
    bits.Put(code, 9);
  BytesInput in(bits.bytes());
  CollectingOutput out;
  EXPECT_EQ(Unshrink(in, out), DecodeResult::kOk);
  EXPECT_EQ(out.bytes, "ababcdabcd");
}

TEST(Unshrink, CodeNotYetAddedRepeatsThePreviousStringAndCodeSizeGrowsOnRequest) {
  BitWriter bits;
  bits.Put('a', 9).Put(257, 9).Put(256, 9).Put(1, 9).Put(258, 10).Put('z', 10);
  BytesInput in(bits.bytes());
  CollectingOutput out;
  EXPECT_EQ(Unshrink(in, out), DecodeResult::kOk);
  EXPECT_EQ(out.bytes, "aaaaaaz");
}

TEST(Unshrink, CodesNoEncoderCouldWriteAreInvalid) {
  const std::vector<std::vector<uint32_t>> streams = {
      {300},          // a node before any was added
      {'a', 260},     // a node that is neither defined nor the next one
      {'a', 256, 3},  // an unknown control code
      {'a', 256, 1, 256, 1, 256, 1, 256, 1, 256, 1},  // codes beyond 13 bits
  };
  for (const auto& codes : streams) {
    BitWriter bits;
    int width = 9;
    for (size_t i = 0; i < codes.size(); ++i) {
      bits.Put(codes[i], width);
      if (i > 0 && codes[i - 1] == 256 && codes[i] == 1) ++width;
    }
    BytesInput in(bits.bytes());
    CollectingOutput out;
    EXPECT_EQ(Unshrink(in, out), DecodeResult::kInvalidData) << codes.size();
  }
}

// Follower sets for bytes 255 down to 0; only byte 0 has followers here.
BitWriter ReduceStream(const std::string& followersOfZero) {
  BitWriter bits;
  for (int byte = 255; byte >= 0; --byte) {
    if (byte != 0) {
      bits.Put(0, 6);
      continue;
    }
    bits.Put(static_cast<uint32_t>(followersOfZero.size()), 6);
    for (const char c : followersOfZero) bits.Put(static_cast<uint8_t>(c), 8);
  }
  return bits;
}

TEST(Unreduce, RunsRepeatEarlierBytesAndReadZerosBeforeTheStart) {
  {
    // Factor 1: 'A'; a run of 2+3 from 10 back, before the start; DLE 0 for DLE itself; 'B'
    // and a run of 1+3 from 1 back.
    BitWriter bits = ReduceStream("");
    for (const int b : std::vector<int>{'A', 0x90, 0x02, 0x09, 0x90, 0x00, 'B', 0x90, 0x01, 0x00})
      bits.Put(b, 8);
    BytesInput in(bits.bytes());
    CollectingOutput out;
    EXPECT_EQ(Unreduce(in, out, 1, 12), DecodeResult::kOk);
    EXPECT_EQ(out.bytes, std::string("A\0\0\0\0\0\x90"
                                     "BBBBB",
                                     12));
  }
  {
    // Factor 4: all four length bits set take an extra length byte: 15+2+3 copies of 'x'.
    BitWriter bits = ReduceStream("");
    for (const int b : std::vector<int>{'x', 0x90, 0x0F, 0x02, 0x00}) bits.Put(b, 8);
    BytesInput in(bits.bytes());
    CollectingOutput out;
    EXPECT_EQ(Unreduce(in, out, 4, 21), DecodeResult::kOk);
    EXPECT_EQ(out.bytes, std::string(21, 'x'));
  }
  {
    // Factor 2: the top two bits are the distance's high byte: 256+43+1 = 300 back.
    BitWriter bits = ReduceStream("");
    std::string expected;
    for (int i = 0; i < 300; ++i) {
      bits.Put(static_cast<uint32_t>(i % 100), 8);
      expected += static_cast<char>(i % 100);
    }
    for (const int b : {0x90, 0x40, 43}) bits.Put(b, 8);
    expected += expected.substr(0, 3);
    BytesInput in(bits.bytes());
    CollectingOutput out;
    EXPECT_EQ(Unreduce(in, out, 2, 303), DecodeResult::kOk);
    EXPECT_EQ(out.bytes, expected);
  }
}

TEST(Unreduce, FollowerSetsCodeLikelyBytesByIndex) {
  // After byte 0 (the start) a 0 bit and a 2-bit index pick a follower; R and S have none,
  // so 8 bits follow; after 0 again a 1 bit means 8 bits follow.
  BitWriter bits = ReduceStream("PQR");
  bits.Put(0, 1).Put(2, 2).Put('S', 8).Put(0, 8).Put(1, 1).Put('T', 8);
  BytesInput in(bits.bytes());
  CollectingOutput out;
  EXPECT_EQ(Unreduce(in, out, 1, 4), DecodeResult::kOk);
  EXPECT_EQ(out.bytes, std::string("RS\0T", 4));

  BitWriter bad = ReduceStream("PQR");
  bad.Put(0, 1).Put(3, 2);
  BytesInput badIn(bad.bytes());
  CollectingOutput badOut;
  EXPECT_EQ(Unreduce(badIn, badOut, 1, 4), DecodeResult::kInvalidData);
}

// A tree of 64 symbols, all 6 bits long: symbol s has the code 63 - s.
void PutFlatTree(BitWriter& bits) {
  bits.Put(3, 8);
  for (int i = 0; i < 4; ++i) bits.Put(0xF5, 8);
}

TEST(Explode, MatchesCopyEarlierBytesAndReadZerosBeforeTheStart) {
  BitWriter bits;
  PutFlatTree(bits);  // lengths
  PutFlatTree(bits);  // distances
  bits.Put(1, 1).Put('A', 8);
  // Distance (0 << 6 | 0) + 1, length symbol 3 + 2.
  bits.Put(0, 1).Put(0, 6).PutCode(63 - 0, 6).PutCode(63 - 3, 6);
  // Distance (2 << 6 | 9) + 1 = 138, length symbol 63 with 10 more + 2: 75 zeros.
  bits.Put(0, 1).Put(9, 6).PutCode(63 - 2, 6).PutCode(63 - 63, 6).Put(10, 8);
  BytesInput in(bits.bytes());
  CollectingOutput out;
  EXPECT_EQ(Explode(in, out, false, false, 81), DecodeResult::kOk);
  EXPECT_EQ(out.bytes, "AAAAAA" + std::string(75, '\0'));
}

TEST(Explode, TreesThatAreNoPrefixCodeOrMiscountedAreInvalid) {
  const std::vector<std::vector<uint8_t>> trees = {
      {3, 0xF4, 0xF4, 0xF4, 0xF4},        // 64 codes of 5 bits: more than 5 bits can tell apart
      {2, 0xF5, 0xF5, 0xF5},              // 48 symbols
      {4, 0xF5, 0xF5, 0xF5, 0xF5, 0x05},  // 65 symbols
  };
  for (const auto& tree : trees) {
    BitWriter bits;
    for (const uint8_t b : tree) bits.Put(b, 8);
    PutFlatTree(bits);
    bits.Put(0, 32);
    BytesInput in(bits.bytes());
    CollectingOutput out;
    EXPECT_EQ(Explode(in, out, false, false, 10), DecodeResult::kInvalidData);
  }
}

}  // namespace
}  // namespace rw
