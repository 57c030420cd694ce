#pragma once

#include <array>
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

  bool HasMore() const { return remaining_ > 0; }
  uint8_t Byte(const char* field) {
    if (count_ < HuffmanCode::kLookupBits) Refill();
    return static_cast<uint8_t>(Symbol(field));
  }
  uint16_t Short(const char* field) {
    if (count_ < 2 * HuffmanCode::kLookupBits) Refill();
    const uint32_t low = Symbol(field);
    return static_cast<uint16_t>(low | (Symbol(field) << 8));
  }
  uint32_t Long(const char* field) {
    if (count_ < 4 * HuffmanCode::kLookupBits) Refill();
    uint32_t value = Symbol(field);
    value |= Symbol(field) << 8;
    value |= Symbol(field) << 16;
    return value | (Symbol(field) << 24);
  }
  void SkipLong(const char* field) { Long(field); }
  std::string_view Text(const char* field);
  // The text of server command number; a command the demo gave before and that is not wanted
  // is passed over by its known length and reads as empty.
  std::string_view CommandText(uint32_t number, bool wanted, const char* field);
  uint32_t ServerTime(const char* field) { return Long(field); }

 private:
  // After a refill the buffer holds at least 56 bits; past the message's end they are zeros,
  // which the count of remaining bits tells apart.
  static constexpr unsigned kRefilled = 56;

  // The next symbol of the buffer, which holds enough bits.
  uint32_t Symbol(const char* field) {
    const HuffmanCode::Step& step = code_.Lookup(buffer_);
    buffer_ >>= step.bits;
    count_ -= step.bits;
    remaining_ -= step.bits;
    if (remaining_ < 0 || step.symbol == HuffmanCode::kNotYetTransmitted) {
      throw ParsingError{field};
    }
    return step.symbol;
  }
  // Bits taken from the message so far.
  size_t Position() const { return size_ * 8 - static_cast<size_t>(remaining_); }
  void Skip(size_t bits, const char* field);
  void Refill() {
    if (std::endian::native == std::endian::little && next_ + 8 <= size_) {
      uint64_t word;
      std::memcpy(&word, data_ + next_, sizeof word);
      buffer_ |= word << count_;
      next_ += (63 - count_) >> 3;
      count_ |= kRefilled;
      return;
    }
    for (; count_ <= kRefilled; count_ += 8) {
      if (next_ < size_) buffer_ |= uint64_t{data_[next_++]} << count_;
    }
  }

  const HuffmanCode& code_;
  const unsigned char* data_;
  size_t size_;
  size_t next_ = 0;
  uint64_t buffer_ = 0;
  unsigned count_ = 0;
  int64_t remaining_;
  std::string& text_;
  std::array<ReadSession::CodedCommand, 64>& commands_;
};

}  // namespace rw
