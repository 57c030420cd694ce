#include "demo/picture_from_pak.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "host/fake/fake_host.h"
#include "support/test_files.h"

namespace rw {
namespace {

using Rgba = std::array<uint8_t, 4>;

Rgba Pixel(const Image& image, int x, int y) {
  const size_t at = (static_cast<size_t>(y) * image.width + x) * 4;
  return {image.rgba[at], image.rgba[at + 1], image.rgba[at + 2], image.rgba[at + 3]};
}

class GetPictureFromPakTest : public ::testing::Test {
 protected:
  bool Get(const std::string& archive, std::string_view member) {
    return pictures.GetPictureFromPak(archive, member, picture);
  }

  FakeClock clock;
  CountingPump pump;
  PosixFileSystem files;
  FakeMessages messages;
  Extractor extractor{clock, pump, files};
  PakPictures pictures{extractor, files, messages};
  Image picture;
  const std::string pk3 = test::TestDataPath("pk3/openarena-sample.pk3");
};

// Expected pixels: djpeg's output for the JPEG, the Targa files parsed with python's struct;
// sizes as file(1) gives them.
TEST_F(GetPictureFromPakTest, JpegLevelShot) {
  ASSERT_TRUE(Get(pk3, "levelshots\\ps37ctf2.jpg"));
  EXPECT_EQ(picture.width, 128);
  EXPECT_EQ(picture.height, 128);
  EXPECT_EQ(Pixel(picture, 0, 0), (Rgba{32, 43, 123, 255}));
  EXPECT_EQ(Pixel(picture, 127, 0), (Rgba{70, 35, 65, 255}));
  EXPECT_EQ(Pixel(picture, 0, 127), (Rgba{127, 68, 72, 255}));
  EXPECT_EQ(Pixel(picture, 64, 64), (Rgba{58, 39, 45, 255}));
  EXPECT_EQ(Pixel(picture, 127, 127), (Rgba{80, 54, 63, 255}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GetPictureFromPakTest, RunLengthTargaLevelShot) {
  ASSERT_TRUE(Get(pk3, "levelshots\\oa_minia.tga"));
  EXPECT_EQ(picture.width, 128);
  EXPECT_EQ(picture.height, 128);
  EXPECT_EQ(Pixel(picture, 0, 0), (Rgba{36, 30, 14, 255}));
  EXPECT_EQ(Pixel(picture, 127, 0), (Rgba{94, 106, 108, 255}));
  EXPECT_EQ(Pixel(picture, 0, 127), (Rgba{164, 153, 64, 255}));
  EXPECT_EQ(Pixel(picture, 64, 42), (Rgba{164, 149, 48, 255}));
  EXPECT_EQ(Pixel(picture, 127, 127), (Rgba{192, 171, 89, 255}));
}

TEST_F(GetPictureFromPakTest, UncompressedTargaLevelShotAndIcon) {
  ASSERT_TRUE(Get(pk3, "levelshots\\ctf_compromise.tga"));
  EXPECT_EQ(picture.width, 256);
  EXPECT_EQ(picture.height, 256);
  EXPECT_EQ(Pixel(picture, 0, 0), (Rgba{39, 7, 6, 255}));
  EXPECT_EQ(Pixel(picture, 255, 0), (Rgba{15, 10, 3, 255}));
  EXPECT_EQ(Pixel(picture, 0, 255), (Rgba{120, 79, 34, 255}));
  EXPECT_EQ(Pixel(picture, 128, 85), (Rgba{52, 33, 13, 255}));
  EXPECT_EQ(Pixel(picture, 255, 255), (Rgba{139, 90, 42, 255}));
  // 32 bit without an attribute count in the header, alpha kept.
  ASSERT_TRUE(Get(pk3, "MODELS\\players\\angelyss\\icon_red.tga"));
  EXPECT_EQ(picture.width, 128);
  EXPECT_EQ(Pixel(picture, 0, 0), (Rgba{0, 0, 0, 0}));
  EXPECT_EQ(Pixel(picture, 0, 127), (Rgba{255, 255, 160, 255}));
  EXPECT_EQ(Pixel(picture, 64, 42), (Rgba{131, 51, 44, 255}));
}

TEST_F(GetPictureFromPakTest, CapitalJpgExtensionIsReadAsTargaAndFails) {
  picture.width = 7;
  EXPECT_FALSE(Get(pk3, "LEVELSHOTS\\PS37CTF2.JPG"));
  EXPECT_EQ(picture.width, 7);
  EXPECT_TRUE(messages.shown.empty());
  // The member exists under that name: the lower-case extension decodes.
  EXPECT_TRUE(Get(pk3, "LEVELSHOTS\\PS37CTF2.jpg"));
}

TEST_F(GetPictureFromPakTest, MissingArchiveMemberOrPicture) {
  test::TempDir dir;
  EXPECT_FALSE(Get(dir.Join("pak0.pk3"), "levelshots\\q3dm7.jpg"));
  EXPECT_FALSE(Get(dir.path(), "levelshots\\q3dm7.jpg"));
  EXPECT_FALSE(Get(pk3, "levelshots\\q3dm7.jpg"));
  EXPECT_FALSE(Get(pk3, "sound\\le\\bullet1.wav"));
  EXPECT_FALSE(Get(pk3, "levelshots\\"));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GetPictureFromPakTest, FailedExtractionIsReported) {
  test::TempDir dir;
  std::string bytes = test::ReadBytes(pk3);
  bytes[41] = 'X';  // the JPEG's local header signature (zipinfo: offset 41)
  const std::string damaged = dir.Join("damaged.pk3");
  test::WriteBytes(damaged, bytes);
  EXPECT_FALSE(Get(damaged, "levelshots\\ps37ctf2.jpg"));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "Debug");
  EXPECT_EQ(messages.shown[0].text,
            "Memory Allocation Error in proc GetPictureFromPak (unzipfiletomemory)");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kError);
  EXPECT_FALSE(pictures.RanOutOfMemory());
  EXPECT_TRUE(Get(damaged, "levelshots\\oa_minia.tga"));
}

}  // namespace
}  // namespace rw
