#include <algorithm>
#include <array>
#include <cstdint>

#include "archive/legacy_bit_reader.h"
#include "archive/legacy_decoders.h"
#include "archive/legacy_window.h"

namespace rw {
namespace {

constexpr int kMaxCodeBits = 16;
constexpr uint32_t kLengthSymbols = 64;
constexpr uint32_t kDistanceSymbols = 64;
constexpr uint32_t kLiteralSymbols = 256;
constexpr uint32_t kLongLength = 63;  // a length symbol followed by 8 more bits of length

// A Shannon-Fano code as implode writes it: the bit lengths of every symbol, run-length
// coded, from which the codes follow by sorting on length (longest codes get the lowest
// values). Codes of one length form one run of values, so decoding keeps per length the
// highest value and where its symbols start in length order.
class ShannonFanoTree {
 public:
  // Reads the description of a tree of symbolCount symbols; false with result set when the
  // input ends or the lengths do not describe a prefix code of symbolCount symbols.
  bool Read(LegacyBitReader& bits, uint32_t symbolCount, DecodeResult& result) {
    std::array<uint8_t, kLiteralSymbols> lengths{};
    uint32_t entries = 0;
    if (!bits.Read(8, entries)) return Ended(bits, result);
    uint32_t symbols = 0;
    for (uint32_t entry = 0; entry <= entries; ++entry) {
      uint32_t value = 0;
      if (!bits.Read(8, value)) return Ended(bits, result);
      const uint32_t run = (value >> 4) + 1;
      if (symbols + run > symbolCount) return Invalid(result);
      std::fill_n(lengths.begin() + symbols, run, static_cast<uint8_t>((value & 15) + 1));
      symbols += run;
    }
    if (symbols != symbolCount) return Invalid(result);
    return Build(lengths, symbolCount) || Invalid(result);
  }

  // Decodes one symbol; false with result set when the input ends or the bits match no code.
  bool Decode(LegacyBitReader& bits, uint32_t& symbol, DecodeResult& result) const {
    uint32_t code = 0;
    for (int length = 1; length <= kMaxCodeBits; ++length) {
      uint32_t bit = 0;
      if (!bits.Read(1, bit)) return Ended(bits, result);
      code = (code << 1) | bit;
      const uint32_t count = counts_[length];
      if (count != 0 && code <= highest_[length] && highest_[length] - code < count) {
        symbol = sorted_[starts_[length] + highest_[length] - code];
        return true;
      }
    }
    return Invalid(result);
  }

 private:
  bool Build(const std::array<uint8_t, kLiteralSymbols>& lengths, uint32_t symbolCount) {
    uint32_t start = 0;
    for (int length = 1; length <= kMaxCodeBits; ++length) {
      starts_[length] = start;
      for (uint32_t symbol = 0; symbol < symbolCount; ++symbol) {
        if (lengths[symbol] == length) sorted_[start++] = static_cast<uint8_t>(symbol);
      }
      counts_[length] = start - starts_[length];
    }
    // Values are handed out from the longest codes up, each taking its share of 2^16.
    uint32_t next = 0;
    for (int length = kMaxCodeBits; length >= 1; --length) {
      if (counts_[length] == 0) continue;
      next += counts_[length] << (kMaxCodeBits - length);
      if (next > (1u << kMaxCodeBits)) return false;
      highest_[length] = (next >> (kMaxCodeBits - length)) - 1;
    }
    return true;
  }
  static bool Ended(const LegacyBitReader& bits, DecodeResult& result) {
    result = bits.End();
    return false;
  }
  static bool Invalid(DecodeResult& result) {
    result = DecodeResult::kInvalidData;
    return false;
  }

  std::array<uint8_t, kLiteralSymbols> sorted_{};
  std::array<uint32_t, kMaxCodeBits + 1> starts_{};
  std::array<uint32_t, kMaxCodeBits + 1> counts_{};
  std::array<uint32_t, kMaxCodeBits + 1> highest_{};
};

}  // namespace

DecodeResult Explode(DecoderInput& in, DecoderOutput& out, bool bigDictionary, bool literalTree,
                     uint32_t uncompressedSize) {
  LegacyBitReader bits(in);
  LegacyWindow window(out);
  ShannonFanoTree literals;
  ShannonFanoTree lengths;
  ShannonFanoTree distances;
  DecodeResult result = DecodeResult::kOk;
  if (uncompressedSize == 0) return DecodeResult::kOk;
  if ((literalTree && !literals.Read(bits, kLiteralSymbols, result)) ||
      !lengths.Read(bits, kLengthSymbols, result) ||
      !distances.Read(bits, kDistanceSymbols, result)) {
    return result;
  }
  const int lowDistanceBits = bigDictionary ? 7 : 6;
  const uint32_t minimumLength = literalTree ? 3 : 2;
  uint32_t produced = 0;
  while (produced < uncompressedSize) {
    uint32_t isLiteral = 0;
    if (!bits.Read(1, isLiteral)) return bits.End();
    if (isLiteral != 0) {
      uint32_t literal = 0;
      if (literalTree ? !literals.Decode(bits, literal, result) : !bits.Read(8, literal)) {
        return literalTree ? result : bits.End();
      }
      if (!window.Put(static_cast<uint8_t>(literal))) return DecodeResult::kDeliveryFailed;
      ++produced;
      continue;
    }
    uint32_t low = 0;
    uint32_t high = 0;
    uint32_t length = 0;
    if (!bits.Read(lowDistanceBits, low)) return bits.End();
    if (!distances.Decode(bits, high, result) || !lengths.Decode(bits, length, result)) {
      return result;
    }
    if (length == kLongLength) {
      uint32_t extra = 0;
      if (!bits.Read(8, extra)) return bits.End();
      length += extra;
    }
    const uint32_t distance = ((high << lowDistanceBits) | low) + 1;
    const uint32_t count = std::min(length + minimumLength, uncompressedSize - produced);
    if (!window.Copy(distance, count)) return DecodeResult::kDeliveryFailed;
    produced += count;
  }
  return window.Flush() ? DecodeResult::kOk : DecodeResult::kDeliveryFailed;
}

}  // namespace rw
