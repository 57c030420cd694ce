#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <string>

#include "demo/jpeg_decoder.h"
#include "demo/targa_decoder.h"
#include "support/test_files.h"

namespace rw {
namespace {

using Rgba = std::array<uint8_t, 4>;

// A deflated member of the sample archive, inflated here with zlib alone; the offsets and
// sizes are zipinfo's.
std::vector<uint8_t> Member(size_t localHeader, size_t packedSize, size_t size) {
  const std::string pk3 = test::ReadBytes(test::TestDataPath("pk3/openarena-sample.pk3"));
  const auto* header = reinterpret_cast<const uint8_t*>(pk3.data()) + localHeader;
  const size_t data =
      localHeader + 30 + (header[26] | header[27] << 8) + (header[28] | header[29] << 8);
  std::vector<uint8_t> out(size);
  z_stream stream{};
  inflateInit2(&stream, -15);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(pk3.data() + data));
  stream.avail_in = static_cast<uInt>(packedSize);
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(size);
  EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
  inflateEnd(&stream);
  return out;
}

Rgba Pixel(const Image& image, int x, int y) {
  const size_t at = (static_cast<size_t>(y) * image.width + x) * 4;
  return {image.rgba[at], image.rgba[at + 1], image.rgba[at + 2], image.rgba[at + 3]};
}

// Expected pixels: djpeg's output and the Targa files parsed with python's struct.
TEST(LevelShots, JpegLevelShot) {
  const auto image = DecodeJpeg(Member(41, 4188, 4223));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 128);
  EXPECT_EQ(image->height, 128);
  EXPECT_EQ(Pixel(*image, 0, 0), (Rgba{32, 43, 123, 255}));
  EXPECT_EQ(Pixel(*image, 127, 0), (Rgba{70, 35, 65, 255}));
  EXPECT_EQ(Pixel(*image, 0, 127), (Rgba{127, 68, 72, 255}));
  EXPECT_EQ(Pixel(*image, 64, 64), (Rgba{58, 39, 45, 255}));
  EXPECT_EQ(Pixel(*image, 127, 127), (Rgba{80, 54, 63, 255}));
  EXPECT_FALSE(DecodeTarga(Member(41, 4188, 4223)));
}

TEST(LevelShots, RunLengthTargaLevelShot) {
  const auto image = DecodeTarga(Member(4282, 37627, 49304));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 128);
  EXPECT_EQ(image->height, 128);
  EXPECT_EQ(Pixel(*image, 0, 0), (Rgba{36, 30, 14, 255}));
  EXPECT_EQ(Pixel(*image, 127, 0), (Rgba{94, 106, 108, 255}));
  EXPECT_EQ(Pixel(*image, 0, 127), (Rgba{164, 153, 64, 255}));
  EXPECT_EQ(Pixel(*image, 64, 42), (Rgba{164, 149, 48, 255}));
  EXPECT_EQ(Pixel(*image, 127, 127), (Rgba{192, 171, 89, 255}));
}

TEST(LevelShots, UncompressedTargaLevelShotAndIcon) {
  const auto shot = DecodeTarga(Member(41962, 141879, 196652));
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->width, 256);
  EXPECT_EQ(shot->height, 256);
  EXPECT_EQ(Pixel(*shot, 0, 0), (Rgba{39, 7, 6, 255}));
  EXPECT_EQ(Pixel(*shot, 255, 0), (Rgba{15, 10, 3, 255}));
  EXPECT_EQ(Pixel(*shot, 0, 255), (Rgba{120, 79, 34, 255}));
  EXPECT_EQ(Pixel(*shot, 128, 85), (Rgba{52, 33, 13, 255}));
  EXPECT_EQ(Pixel(*shot, 255, 255), (Rgba{139, 90, 42, 255}));
  const auto icon = DecodeTarga(Member(184036, 33654, 66075));
  ASSERT_TRUE(icon);
  EXPECT_EQ(Pixel(*icon, 0, 0), (Rgba{0, 0, 0, 0}));
  EXPECT_EQ(Pixel(*icon, 0, 127), (Rgba{255, 255, 160, 255}));
  EXPECT_EQ(Pixel(*icon, 64, 42), (Rgba{131, 51, 44, 255}));
}

TEST(LevelShots, TruncatedJpegStillEndsCleanly) {
  std::vector<uint8_t> bytes = Member(41, 4188, 4223);
  for (size_t size : {2u, 20u, 200u, 700u, 2000u, 4000u}) {
    const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + size);
    const auto image = DecodeJpeg(prefix);
    if (image) {
      EXPECT_EQ(image->rgba.size(), 128u * 128u * 4u);
    }
  }
}

}  // namespace
}  // namespace rw
