// The picture decoders of level shots and icons, which read members of downloaded archives:
// the Targa decoder over the bytes as they are, libjpeg over them behind a JPEG start so that
// more inputs reach its decoder.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "demo/jpeg_decoder.h"
#include "demo/targa_decoder.h"

namespace {

void Check(const std::optional<rw::Image>& image) {
  if (!image) return;
  const uint64_t pixels = uint64_t(image->width) * uint64_t(image->height);
  if (image->width <= 0 || image->height <= 0 || pixels > rw::kMaxImagePixels ||
      image->rgba.size() != pixels * 4) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  Check(rw::DecodeTarga(bytes));
  Check(rw::DecodeJpeg(bytes));
  if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) {
    std::vector<uint8_t> jpeg{0xFF, 0xD8};
    jpeg.insert(jpeg.end(), data, data + size);
    Check(rw::DecodeJpeg(jpeg));
  }
  return 0;
}
