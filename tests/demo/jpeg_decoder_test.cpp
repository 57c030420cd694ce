#include "demo/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <vector>

namespace rw {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(DecodeJpeg, RefusesWhatIsNoJpegWithoutEndingTheProcess) {
  EXPECT_FALSE(DecodeJpeg(Bytes{}));
  EXPECT_FALSE(DecodeJpeg(Bytes{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 1, 2, 3}));
  EXPECT_FALSE(DecodeJpeg(Bytes{0xFF, 0xD8}));
  EXPECT_FALSE(DecodeJpeg(Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0}));
  Bytes garbage(4096);
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 7919 >> 3);
  garbage[0] = 0xFF;
  garbage[1] = 0xD8;
  EXPECT_FALSE(DecodeJpeg(garbage));
}

}  // namespace
}  // namespace rw
