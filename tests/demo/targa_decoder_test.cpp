#include "demo/targa_decoder.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace rw {
namespace {

using Bytes = std::vector<uint8_t>;
using Rgba = std::array<uint8_t, 4>;

Bytes Header(uint8_t type, uint16_t width, uint16_t height, uint8_t depth, uint8_t descriptor,
             uint8_t mapType = 0, uint16_t mapFirst = 0, uint16_t mapLength = 0,
             uint8_t mapDepth = 0, uint8_t idLength = 0) {
  Bytes bytes = {idLength,
                 mapType,
                 type,
                 static_cast<uint8_t>(mapFirst),
                 static_cast<uint8_t>(mapFirst >> 8),
                 static_cast<uint8_t>(mapLength),
                 static_cast<uint8_t>(mapLength >> 8),
                 mapDepth,
                 0,
                 0,
                 0,
                 0,
                 static_cast<uint8_t>(width),
                 static_cast<uint8_t>(width >> 8),
                 static_cast<uint8_t>(height),
                 static_cast<uint8_t>(height >> 8),
                 depth,
                 descriptor};
  bytes.insert(bytes.end(), idLength, 'i');
  return bytes;
}

Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Rgba Pixel(const Image& image, int x, int y) {
  const size_t at = (static_cast<size_t>(y) * image.width + x) * 4;
  return {image.rgba[at], image.rgba[at + 1], image.rgba[at + 2], image.rgba[at + 3]};
}

// Stored order of a 2x2 picture: first pixel blue-green-red 1,2,3, then 4,5,6 ...
const Bytes kFourPixels24 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

TEST(DecodeTarga, BottomOriginIsTurnedToTopDown) {
  const auto image = DecodeTarga(Join(Header(2, 2, 2, 24, 0, 0, 0, 0, 0, 3), kFourPixels24));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 2);
  EXPECT_EQ(image->height, 2);
  EXPECT_EQ(Pixel(*image, 0, 0), (Rgba{9, 8, 7, 255}));  // third stored pixel: top row
  EXPECT_EQ(Pixel(*image, 1, 0), (Rgba{12, 11, 10, 255}));
  EXPECT_EQ(Pixel(*image, 0, 1), (Rgba{3, 2, 1, 255}));
  EXPECT_EQ(Pixel(*image, 1, 1), (Rgba{6, 5, 4, 255}));
}

TEST(DecodeTarga, TopOriginAndRightToLeft) {
  const auto top = DecodeTarga(Join(Header(2, 2, 2, 24, 0x20), kFourPixels24));
  ASSERT_TRUE(top);
  EXPECT_EQ(Pixel(*top, 0, 0), (Rgba{3, 2, 1, 255}));
  EXPECT_EQ(Pixel(*top, 1, 1), (Rgba{12, 11, 10, 255}));
  const auto mirrored = DecodeTarga(Join(Header(2, 2, 2, 24, 0x30), kFourPixels24));
  ASSERT_TRUE(mirrored);
  EXPECT_EQ(Pixel(*mirrored, 0, 0), (Rgba{6, 5, 4, 255}));
  EXPECT_EQ(Pixel(*mirrored, 1, 0), (Rgba{3, 2, 1, 255}));
}

TEST(DecodeTarga, RunLengthPacketsCrossRowsAndKeepAlpha) {
  // 3x2, 32 bit: a run of 4 then 2 raw pixels.
  const Bytes data = {0x83, 10, 20, 30, 40, 0x01, 1, 2, 3, 4, 5, 6, 7, 8};
  const auto image = DecodeTarga(Join(Header(10, 3, 2, 32, 0x28), data));
  ASSERT_TRUE(image);
  EXPECT_EQ(Pixel(*image, 0, 0), (Rgba{30, 20, 10, 40}));
  EXPECT_EQ(Pixel(*image, 2, 0), (Rgba{30, 20, 10, 40}));
  EXPECT_EQ(Pixel(*image, 0, 1), (Rgba{30, 20, 10, 40}));
  EXPECT_EQ(Pixel(*image, 1, 1), (Rgba{3, 2, 1, 4}));
  EXPECT_EQ(Pixel(*image, 2, 1), (Rgba{7, 6, 5, 8}));
}

TEST(DecodeTarga, PacketReachingPastThePictureIsCut) {
  const Bytes data = {0xFF, 1, 2, 3};  // 128 pixels for a 2x1 picture
  const auto image = DecodeTarga(Join(Header(10, 2, 1, 24, 0x20), data));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->rgba.size(), 8u);
  EXPECT_EQ(Pixel(*image, 1, 0), (Rgba{3, 2, 1, 255}));
}

TEST(DecodeTarga, ColourMappedPlainAndRunLength) {
  // Map entries 5 and 6 (first index 5), 24 bit; indexes 5, 6.
  const Bytes map = {0, 0, 255, 255, 0, 0};
  const auto plain =
      DecodeTarga(Join(Join(Header(1, 2, 1, 8, 0x20, 1, 5, 2, 24), map), Bytes{5, 6}));
  ASSERT_TRUE(plain);
  EXPECT_EQ(Pixel(*plain, 0, 0), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(Pixel(*plain, 1, 0), (Rgba{0, 0, 255, 255}));
  const auto runs =
      DecodeTarga(Join(Join(Header(9, 2, 1, 8, 0x20, 1, 5, 2, 24), map), Bytes{0x81, 6}));
  ASSERT_TRUE(runs);
  EXPECT_EQ(Pixel(*runs, 0, 0), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(Pixel(*runs, 1, 0), (Rgba{0, 0, 255, 255}));
  // An index outside the map is refused rather than read.
  EXPECT_FALSE(DecodeTarga(Join(Join(Header(1, 2, 1, 8, 0x20, 1, 5, 2, 24), map), Bytes{5, 7})));
  EXPECT_FALSE(DecodeTarga(Join(Join(Header(1, 2, 1, 8, 0x20, 1, 5, 2, 24), map), Bytes{4, 5})));
}

TEST(DecodeTarga, GreyAndSixteenBitColours) {
  const auto grey = DecodeTarga(Join(Header(3, 2, 1, 8, 0x20), Bytes{7, 200}));
  ASSERT_TRUE(grey);
  EXPECT_EQ(Pixel(*grey, 1, 0), (Rgba{200, 200, 200, 255}));
  const auto greyAlpha = DecodeTarga(Join(Header(11, 2, 1, 16, 0x20), Bytes{0x81, 9, 99}));
  ASSERT_TRUE(greyAlpha);
  EXPECT_EQ(Pixel(*greyAlpha, 1, 0), (Rgba{9, 9, 9, 99}));
  // 0x7C1F: red 31, green 0, blue 31, top bit clear; 0x83E0: green 31, top bit set.
  const Bytes data = {0x1F, 0x7C, 0xE0, 0x83};
  const auto opaque = DecodeTarga(Join(Header(2, 2, 1, 16, 0x20), data));
  ASSERT_TRUE(opaque);
  EXPECT_EQ(Pixel(*opaque, 0, 0), (Rgba{255, 0, 255, 255}));
  EXPECT_EQ(Pixel(*opaque, 1, 0), (Rgba{0, 255, 0, 255}));
  const auto withAlpha = DecodeTarga(Join(Header(2, 2, 1, 16, 0x21), data));
  ASSERT_TRUE(withAlpha);
  EXPECT_EQ(Pixel(*withAlpha, 0, 0), (Rgba{255, 0, 255, 0}));
  EXPECT_EQ(Pixel(*withAlpha, 1, 0), (Rgba{0, 255, 0, 255}));
  // 0x4210: each channel 16, widened to 132.
  const auto fifteen = DecodeTarga(Join(Header(2, 1, 1, 15, 0x20), Bytes{0x10, 0x42}));
  ASSERT_TRUE(fifteen);
  EXPECT_EQ(Pixel(*fifteen, 0, 0), (Rgba{132, 132, 132, 255}));
}

TEST(DecodeTarga, RefusesWhatIsNoSupportedPicture) {
  EXPECT_FALSE(DecodeTarga(Bytes{}));
  EXPECT_FALSE(DecodeTarga(Header(2, 0, 2, 24, 0)));
  EXPECT_FALSE(DecodeTarga(Join(Header(2, 1, 1, 12, 0), Bytes{1, 2})));
  EXPECT_FALSE(DecodeTarga(Join(Header(4, 1, 1, 24, 0), Bytes{1, 2, 3})));
  EXPECT_FALSE(DecodeTarga(Join(Header(3, 1, 1, 24, 0), Bytes{1, 2, 3})));
  // A picture of 65535 x 65535 pixels from a few bytes.
  EXPECT_FALSE(DecodeTarga(Join(Header(10, 65535, 65535, 24, 0), Bytes{0xFF, 1, 2, 3})));
  // A JPEG file's first bytes.
  EXPECT_FALSE(DecodeTarga(Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0,  16, 'J', 'F', 'I', 'F',  0,
                                 1,    1,    1,    0,    72, 0,  72,  0,   0,   0xFF, 0xDB}));
}

TEST(DecodeTarga, EveryTruncationFailsWithoutReadingPastTheEnd) {
  const Bytes map = {0, 0, 255, 255, 0, 0};
  const std::vector<Bytes> pictures = {
      Join(Header(2, 2, 2, 24, 0, 0, 0, 0, 0, 3), kFourPixels24),
      Join(Header(10, 3, 2, 32, 0x28), Bytes{0x83, 10, 20, 30, 40, 0x01, 1, 2, 3, 4, 5, 6, 7, 8}),
      Join(Join(Header(9, 2, 1, 8, 0x20, 1, 5, 2, 24), map), Bytes{0x00, 6, 0x00, 5})};
  for (const Bytes& picture : pictures) {
    ASSERT_TRUE(DecodeTarga(picture));
    for (size_t size = 0; size < picture.size(); ++size) {
      // A copy of exactly that size, so a sanitizer sees any read past it.
      const Bytes prefix(picture.begin(), picture.begin() + size);
      EXPECT_FALSE(DecodeTarga(prefix)) << size;
    }
  }
}

}  // namespace
}  // namespace rw
