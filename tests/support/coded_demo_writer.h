#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace rw::test {

// The operations of one bit-packed message (protocol 66 on), each value as Huffman symbols of
// the reader's own code: for inputs the real demos do not hold. The reliable acknowledge
// comes first.
class CodedMessageWriter {
 public:
  CodedMessageWriter();

  CodedMessageWriter& Byte(uint8_t value);
  CodedMessageWriter& Short(uint16_t value);
  CodedMessageWriter& Long(uint32_t value);
  // The symbols of text and, unless unended, the closing 0.
  CodedMessageWriter& Text(std::string_view text, bool unended = false);
  // The code of the tree's empty leaf, which no server writes.
  CodedMessageWriter& EmptyLeaf();

  // The bytes, the last one filled with zero bits.
  std::string bytes() const;

 private:
  void Put(uint32_t code, int bits);
  std::string bytes_;
  int bit_ = 0;
};

// Records of sequence, length and message, and the end marker.
std::string CodedDemo(std::initializer_list<std::string> messages, bool ended = true);

}  // namespace rw::test
