#pragma once

#include <cstddef>
#include <cstdint>

namespace rw {

// What a member decoder reads from: compressed bytes from the extractor's input blocks.
class DecoderInput {
 public:
  static constexpr int kEndOfInput = -1;  // the input ran out (the filler block's end mark)
  static constexpr int kAborted = -2;     // the user stopped the extraction between blocks

  virtual ~DecoderInput() = default;
  // The next byte (0 to 255), kEndOfInput or kAborted.
  virtual int NextByte() = 0;
};

// Where a member decoder delivers decoded bytes, in pieces of at most 32768 bytes.
class DecoderOutput {
 public:
  virtual ~DecoderOutput() = default;
  // False when the delivery failed (a write error, or a memory destination that is full).
  virtual bool Deliver(const uint8_t* data, size_t size) = 0;
};

// How a decoder ended; the values are the extractor's result codes.
enum class DecodeResult : int {
  kOk = 0,
  kDeliveryFailed = 2,
  kEndOfInput = 3,
  kInvalidData = 4,
  kAborted = 5,
};

}  // namespace rw
