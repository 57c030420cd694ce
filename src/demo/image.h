#pragma once

#include <cstdint>
#include <vector>

namespace rw {

// A decoded picture: 4 bytes per pixel (red, green, blue, alpha), rows from the top.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

// Pictures larger than this are refused rather than allocated; level shots and icons are
// far smaller.
inline constexpr uint64_t kMaxImagePixels = uint64_t{1} << 26;

}  // namespace rw
