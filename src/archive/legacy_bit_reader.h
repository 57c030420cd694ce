#pragma once

#include <cstdint>

#include "archive/decoder_io.h"

namespace rw {

// Reads the low bit of each input byte first, as every PKZIP method packs its codes.
class LegacyBitReader {
 public:
  explicit LegacyBitReader(DecoderInput& in) : in_(in) {}

  // Reads count bits (at most 16), the first one read becoming the lowest. False when the
  // input ended or was aborted; End() then tells which.
  bool Read(int count, uint32_t& value) {
    while (held_ < count) {
      const int byte = in_.NextByte();
      if (byte < 0) {
        end_ = byte == DecoderInput::kAborted ? DecodeResult::kAborted : DecodeResult::kEndOfInput;
        return false;
      }
      bits_ |= static_cast<uint32_t>(byte & 0xFF) << held_;
      held_ += 8;
    }
    value = bits_ & ((1u << count) - 1);
    bits_ >>= count;
    held_ -= count;
    return true;
  }

  DecodeResult End() const { return end_; }

 private:
  DecoderInput& in_;
  uint32_t bits_ = 0;
  int held_ = 0;
  DecodeResult end_ = DecodeResult::kEndOfInput;
};

}  // namespace rw
