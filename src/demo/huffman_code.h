#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace rw {

// The fixed Huffman code of the bit-packed demo messages (protocol 66 on): every whole byte of
// a message is one symbol of it. The engine builds the code tree at start from a table of
// symbol frequencies by adaptive insertion; this builds the same tree once and turns it into a
// table indexed by the next kLookupBits bits of a message, least significant first.
class HuffmanCode {
 public:
  // The longest code of the tree.
  static constexpr int kLookupBits = 11;
  // The empty leaf of the adaptive tree, which no message uses.
  static constexpr uint16_t kNotYetTransmitted = 256;

  struct Step {
    uint16_t symbol;
    uint8_t bits;
  };

  // Built on first use.
  static const HuffmanCode& Get();

  const Step& Lookup(uint64_t nextBits) const {
    return steps_[nextBits & ((uint64_t{1} << kLookupBits) - 1)];
  }

 private:
  HuffmanCode();

  std::array<Step, size_t{1} << kLookupBits> steps_{};
};

}  // namespace rw
