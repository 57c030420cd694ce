#include "support/coded_demo_writer.h"

#include <array>
#include <utility>

#include "demo/huffman_code.h"

namespace rw::test {
namespace {

// Each symbol's code (bits least significant first) and length, from the decoding table.
const std::array<std::pair<uint32_t, int>, 257>& Codes() {
  static const std::array<std::pair<uint32_t, int>, 257> codes = [] {
    std::array<std::pair<uint32_t, int>, 257> table{};
    const HuffmanCode& code = HuffmanCode::Get();
    for (uint32_t index = 0; index < (1u << HuffmanCode::kLookupBits); ++index) {
      const HuffmanCode::Step& step = code.Lookup(index);
      table[step.symbol] = {index & ((1u << step.bits) - 1), step.bits};
    }
    return table;
  }();
  return codes;
}

void PutInt32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

CodedMessageWriter::CodedMessageWriter() {
  Long(0x11223344);
}

void CodedMessageWriter::Put(uint32_t code, int bits) {
  for (int i = 0; i < bits; ++i, ++bit_) {
    if (bit_ % 8 == 0) bytes_ += '\0';
    if ((code >> i) & 1) bytes_.back() = static_cast<char>(bytes_.back() | (1 << (bit_ % 8)));
  }
}

CodedMessageWriter& CodedMessageWriter::Byte(uint8_t value) {
  const auto [code, bits] = Codes()[value];
  Put(code, bits);
  return *this;
}

CodedMessageWriter& CodedMessageWriter::Short(uint16_t value) {
  return Byte(value & 0xFF).Byte(value >> 8);
}

CodedMessageWriter& CodedMessageWriter::Long(uint32_t value) {
  return Short(value & 0xFFFF).Short(value >> 16);
}

CodedMessageWriter& CodedMessageWriter::Text(std::string_view text, bool unended) {
  for (const char c : text) Byte(static_cast<uint8_t>(c));
  return unended ? *this : Byte(0);
}

CodedMessageWriter& CodedMessageWriter::EmptyLeaf() {
  const auto [code, bits] = Codes()[HuffmanCode::kNotYetTransmitted];
  Put(code, bits);
  return *this;
}

std::string CodedMessageWriter::bytes() const {
  return bytes_;
}

std::string CodedDemo(std::initializer_list<std::string> messages, bool ended) {
  std::string demo;
  uint32_t sequence = 500;
  for (const std::string& message : messages) {
    PutInt32(demo, sequence++);
    PutInt32(demo, static_cast<uint32_t>(message.size()));
    demo += message;
  }
  if (ended) {
    PutInt32(demo, 0xFFFFFFFF);
    PutInt32(demo, 0xFFFFFFFF);
  }
  return demo;
}

}  // namespace rw::test
