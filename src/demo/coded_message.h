#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "demo/huffman_code.h"
#include "demo/read_session.h"

namespace rw {

// The operations of a bit-packed message (protocol 66 on): bits are taken least significant
// first, every 8, 16 or 32-bit value is one Huffman symbol a byte, least significant byte
// first, and a text is symbols up to a 0. The message opens with the 32-bit number of the last
// command the server knows the client has, which is passed over. Reads stay inside the
// message and throw ParsingError{field} past its end, on the code's empty leaf and on a text
// longer than the game sends.
class CodedMessage {
 public:
  // The engine's longest text, a configuration string in a game state, with its end.
  static constexpr size_t kLongestText = 8192;

  // A message in session.block from start to end; decoded texts go to session.decodedText.
  CodedMessage(ReadSession& session, size_t start, size_t end);

  // Operation 8 ends every message.
  static constexpr bool kEndOperation = true;

  bool HasMore() const { return bit_ < endBit_; }
  uint8_t Byte(const char* field) { return static_cast<uint8_t>(Symbol(field)); }
  uint16_t Short(const char* field) {
    const uint32_t low = Symbol(field);
    return static_cast<uint16_t>(low | (Symbol(field) << 8));
  }
  uint32_t Long(const char* field) {
    uint32_t value = Symbol(field);
    value |= Symbol(field) << 8;
    value |= Symbol(field) << 16;
    return value | (Symbol(field) << 24);
  }
  void SkipLong(const char* field) { Long(field); }
  std::string_view Text(const char* field);
  uint32_t ServerTime(const char* field) { return Long(field); }

 private:
  uint32_t Symbol(const char* field) {
    const HuffmanCode::Step& step = code_.Lookup(Window() >> (bit_ & 7));
    bit_ += step.bits;
    if (bit_ > endBit_ || step.symbol == HuffmanCode::kNotYetTransmitted) {
      throw ParsingError{field};
    }
    return step.symbol;
  }
  // The 8 bytes from the current one on, little-endian; zeros past the message.
  uint64_t Window() const {
    const size_t byte = bit_ >> 3;
    uint64_t window = 0;
    if (std::endian::native == std::endian::little && byte + sizeof window <= size_) {
      std::memcpy(&window, data_ + byte, sizeof window);
      return window;
    }
    const size_t end = std::min(size_, byte + sizeof window);
    for (size_t i = byte; i < end; ++i) window |= uint64_t{data_[i]} << (8 * (i - byte));
    return window;
  }

  const HuffmanCode& code_;
  const unsigned char* data_;
  size_t size_;
  size_t bit_ = 0;
  size_t endBit_;
  std::string& text_;
};

}  // namespace rw
