#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "archive/decoder_io.h"

namespace rw {

// The decoders' 32768-byte output window: zero-filled at the start, delivered whenever it
// fills and once more at the end.
class LegacyWindow {
 public:
  static constexpr uint32_t kSize = 32768;

  explicit LegacyWindow(DecoderOutput& out);

  // Each returns false when a delivery failed.
  bool Put(uint8_t byte) {
    data_[pos_++] = byte;
    return pos_ < kSize || DeliverFull();
  }
  // Repeats length bytes starting distance (1 to kSize) bytes back; the copy may overlap
  // itself.
  bool Copy(uint32_t distance, uint32_t length);
  // Delivers the bytes put since the last delivery.
  bool Flush();

 private:
  bool DeliverFull();

  DecoderOutput& out_;
  std::unique_ptr<uint8_t[]> data_;
  uint32_t pos_ = 0;
  uint32_t undelivered_ = 0;  // where the bytes not yet delivered start
};

}  // namespace rw
