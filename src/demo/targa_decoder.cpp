#include "demo/targa_decoder.h"

#include <algorithm>
#include <array>
#include <vector>

namespace rw {
namespace {

constexpr size_t kHeaderSize = 18;

enum ImageKind { kMapped, kTrueColor, kGrey };

uint16_t Word(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

uint8_t Expand5(unsigned value) {
  return static_cast<uint8_t>((value << 3) | (value >> 2));
}

// One stored colour (little-endian, blue first) as RGBA. 16-bit colours carry their alpha in
// the top bit only when the picture says it has one attribute bit; 32-bit colours always
// carry it, since painting programs write it without setting the attribute count.
std::array<uint8_t, 4> Color(const uint8_t* p, int depth, bool alphaBit) {
  switch (depth) {
    case 15:
    case 16: {
      const unsigned v = p[0] | (p[1] << 8);
      const uint8_t alpha = (depth == 16 && alphaBit && !(v & 0x8000)) ? 0 : 255;
      return {Expand5((v >> 10) & 0x1F), Expand5((v >> 5) & 0x1F), Expand5(v & 0x1F), alpha};
    }
    case 24:
      return {p[2], p[1], p[0], 255};
    default:
      return {p[2], p[1], p[0], p[3]};
  }
}

bool IsColorDepth(int depth) {
  return depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

class PixelFormat {
 public:
  PixelFormat(ImageKind kind, int depth, bool alphaBit, std::span<const uint8_t> map, int mapFirst,
              int mapDepth)
      : kind_(kind),
        depth_(depth),
        alphaBit_(alphaBit),
        map_(map),
        mapFirst_(mapFirst),
        mapDepth_(mapDepth) {}

  size_t bytesPerPixel() const { return (depth_ + 7) / 8; }

  // False for an index outside the colour map.
  bool Convert(const uint8_t* p, uint8_t* out) const {
    std::array<uint8_t, 4> rgba;
    if (kind_ == kGrey) {
      rgba = {p[0], p[0], p[0], depth_ == 16 ? p[1] : uint8_t{255}};
    } else if (kind_ == kTrueColor) {
      rgba = Color(p, depth_, alphaBit_);
    } else {
      const int index = (depth_ == 16 ? (p[0] | (p[1] << 8)) : p[0]) - mapFirst_;
      const size_t entrySize = (mapDepth_ + 7) / 8;
      if (index < 0 || (static_cast<size_t>(index) + 1) * entrySize > map_.size()) return false;
      rgba = Color(map_.data() + index * entrySize, mapDepth_, alphaBit_);
    }
    out[0] = rgba[0];
    out[1] = rgba[1];
    out[2] = rgba[2];
    out[3] = rgba[3];
    return true;
  }

 private:
  ImageKind kind_;
  int depth_;
  bool alphaBit_;
  std::span<const uint8_t> map_;
  int mapFirst_;
  int mapDepth_;
};

// Fills pixels (RGBA, in stored order) from run-length packets; packets may cross rows.
bool DecodeRuns(std::span<const uint8_t> data, const PixelFormat& format,
                std::vector<uint8_t>& pixels) {
  const size_t size = format.bytesPerPixel();
  const size_t total = pixels.size() / 4;
  size_t at = 0;
  size_t done = 0;
  while (done < total) {
    if (at >= data.size()) return false;
    const uint8_t header = data[at++];
    const size_t count = std::min<size_t>((header & 0x7F) + 1, total - done);
    if (header & 0x80) {
      if (data.size() - at < size) return false;
      if (!format.Convert(data.data() + at, &pixels[done * 4])) return false;
      for (size_t i = 1; i < count; ++i) {
        std::copy_n(&pixels[done * 4], 4, &pixels[(done + i) * 4]);
      }
      at += size;
    } else {
      if ((data.size() - at) / size < count) return false;
      for (size_t i = 0; i < count; ++i, at += size) {
        if (!format.Convert(data.data() + at, &pixels[(done + i) * 4])) return false;
      }
    }
    done += count;
  }
  return true;
}

bool DecodePlain(std::span<const uint8_t> data, const PixelFormat& format,
                 std::vector<uint8_t>& pixels) {
  const size_t size = format.bytesPerPixel();
  const size_t total = pixels.size() / 4;
  if (data.size() / size < total) return false;
  for (size_t i = 0; i < total; ++i) {
    if (!format.Convert(data.data() + i * size, &pixels[i * 4])) return false;
  }
  return true;
}

}  // namespace

std::optional<Image> DecodeTarga(std::span<const uint8_t> bytes) {
  if (bytes.size() < kHeaderSize) return std::nullopt;
  const uint8_t idLength = bytes[0];
  const uint8_t mapType = bytes[1];
  const uint8_t type = bytes[2];
  const int mapFirst = Word(bytes, 3);
  const size_t mapLength = Word(bytes, 5);
  const int mapDepth = bytes[7];
  const int width = Word(bytes, 12);
  const int height = Word(bytes, 14);
  const int depth = bytes[16];
  const uint8_t descriptor = bytes[17];

  if ((type & ~8) < 1 || (type & ~8) > 3 || mapType > 1) return std::nullopt;
  const bool runLength = type >= 9;
  const ImageKind kind = static_cast<ImageKind>((type & 7) - 1);
  if (kind == kMapped && (mapType != 1 || (depth != 8 && depth != 16) || !IsColorDepth(mapDepth)))
    return std::nullopt;
  if (kind == kTrueColor && !IsColorDepth(depth)) return std::nullopt;
  if (kind == kGrey && depth != 8 && depth != 16) return std::nullopt;
  if (width == 0 || height == 0) return std::nullopt;
  const uint64_t total = static_cast<uint64_t>(width) * height;
  if (total > kMaxImagePixels) return std::nullopt;

  size_t at = kHeaderSize + idLength;
  std::span<const uint8_t> map;
  if (mapType == 1) {
    if (!IsColorDepth(mapDepth)) return std::nullopt;
    const size_t mapSize = mapLength * ((mapDepth + 7) / 8);
    if (at > bytes.size() || bytes.size() - at < mapSize) return std::nullopt;
    map = bytes.subspan(at, mapSize);
    at += mapSize;
  }
  if (at > bytes.size()) return std::nullopt;
  const std::span<const uint8_t> data = bytes.subspan(at);

  const PixelFormat format(kind, depth, (descriptor & 0x0F) == 1, map, mapFirst, mapDepth);
  // Every run packet takes at least two bytes and gives at most 128 pixels.
  const uint64_t reachable =
      runLength ? data.size() * uint64_t{64} : data.size() / format.bytesPerPixel();
  if (total > reachable) return std::nullopt;

  std::vector<uint8_t> stored(total * 4);
  if (!(runLength ? DecodeRuns(data, format, stored) : DecodePlain(data, format, stored))) {
    return std::nullopt;
  }

  const bool fromTop = descriptor & 0x20;
  const bool fromRight = descriptor & 0x10;
  Image image;
  image.width = width;
  image.height = height;
  if (fromTop && !fromRight) {
    image.rgba = std::move(stored);
    return image;
  }
  image.rgba.resize(stored.size());
  for (int row = 0; row < height; ++row) {
    const int targetRow = fromTop ? row : height - 1 - row;
    for (int column = 0; column < width; ++column) {
      const int targetColumn = fromRight ? width - 1 - column : column;
      const size_t from = (static_cast<size_t>(row) * width + column) * 4;
      const size_t to = (static_cast<size_t>(targetRow) * width + targetColumn) * 4;
      std::copy_n(&stored[from], 4, &image.rgba[to]);
    }
  }
  return image;
}

}  // namespace rw
