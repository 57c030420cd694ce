#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>

#include "archive/legacy_bit_reader.h"
#include "archive/legacy_decoders.h"
#include "archive/legacy_window.h"

namespace rw {
namespace {

constexpr uint32_t kCodeCount = 8192;
constexpr uint32_t kControlCode = 256;
constexpr uint32_t kFirstNode = 257;
constexpr uint32_t kIncreaseCodeSize = 1;
constexpr uint32_t kPartialClear = 2;
constexpr int kFirstCodeBits = 9;
constexpr int kLastCodeBits = 13;
constexpr uint32_t kNoCode = kCodeCount;
// No string of a tree of 8192 codes is longer; one byte more is room for the code that
// repeats the previous string.
constexpr uint32_t kLongestString = kCodeCount - 1;
using StringBuffer = std::array<uint8_t, kLongestString + 1>;

// One bit per code.
class CodeSet {
 public:
  void Add(uint32_t code) { words_[code / 64] |= Bit(code); }
  void Remove(uint32_t code) { words_[code / 64] &= ~Bit(code); }
  bool Has(uint32_t code) const { return (words_[code / 64] & Bit(code)) != 0; }
  // The lowest code from `from` on that is in the set, or kNoCode.
  uint32_t First(uint32_t from) const {
    for (uint32_t word = from / 64; word < words_.size(); ++word) {
      uint64_t bits = words_[word];
      if (word == from / 64) bits &= ~uint64_t{0} << (from % 64);
      if (bits != 0) return word * 64 + static_cast<uint32_t>(std::countr_zero(bits));
    }
    return kNoCode;
  }
  // Empties the set, then visits the codes it held in ascending order.
  template <typename Visit>
  void Drain(Visit visit) {
    const auto words = words_;
    words_ = {};
    for (uint32_t word = 0; word < words.size(); ++word) {
      for (uint64_t bits = words[word]; bits != 0; bits &= bits - 1) {
        visit(word * 64 + static_cast<uint32_t>(std::countr_zero(bits)));
      }
    }
  }

 private:
  static uint64_t Bit(uint32_t code) { return uint64_t{1} << (code % 64); }
  std::array<uint64_t, kCodeCount / 64> words_{};
};

// The LZW tree. Codes below 256 are the single bytes; nodes from 257 on are a prefix code
// followed by one byte. Leaves (nodes no other node extends) are tracked as they change so
// that a partial clear costs no more than the leaves it frees. A clear can free the code the
// encoder is about to extend, and the encoder then links the new node to that freed code, so
// strings are spelled by following the links as they stand when the code is used.
class ShrinkTree {
 public:
  ShrinkTree() {
    for (uint32_t code = kFirstNode; code < kCodeCount; ++code) free_.Add(code);
  }

  bool Defined(uint32_t code) const {
    return code < kControlCode || (code >= kFirstNode && !free_.Has(code));
  }
  uint32_t NextFree() const { return nextFree_; }

  // Adds prefix + byte at NextFree().
  void Add(uint32_t prefix, uint8_t byte) {
    const uint32_t code = nextFree_;
    prefix_[code] = static_cast<uint16_t>(prefix);
    suffix_[code] = byte;
    free_.Remove(code);
    if (children_[code] == 0) leaves_.Add(code);
    if (prefix >= kFirstNode && children_[prefix]++ == 0) leaves_.Remove(prefix);
    nextFree_ = free_.First(code + 1);
  }

  // Frees every node that no other node extends; the nodes that become leaves by this wait
  // for the next clear.
  void PartialClear() {
    leaves_.Drain([this](uint32_t code) {
      free_.Add(code);
      const uint32_t prefix = prefix_[code];
      if (prefix >= kFirstNode && --children_[prefix] == 0 && !free_.Has(prefix)) {
        leaves_.Add(prefix);
      }
    });
    nextFree_ = free_.First(kFirstNode);
  }

  // Writes the string of code to text; returns its length, or 0 when the links loop.
  uint32_t Spell(uint32_t code, StringBuffer& text) const {
    uint32_t length = 0;
    while (code >= kControlCode) {
      if (length + 1 == kLongestString) return 0;
      text[length++] = suffix_[code];
      code = prefix_[code];
    }
    text[length++] = static_cast<uint8_t>(code);
    std::reverse(text.begin(), text.begin() + length);
    return length;
  }

 private:
  std::array<uint16_t, kCodeCount> prefix_{};
  std::array<uint16_t, kCodeCount> children_{};
  std::array<uint8_t, kCodeCount> suffix_{};
  CodeSet free_;
  CodeSet leaves_;
  uint32_t nextFree_ = kFirstNode;
};

struct ShrinkState {
  ShrinkTree tree;
  StringBuffer text{};
};

}  // namespace

DecodeResult Unshrink(DecoderInput& in, DecoderOutput& out) {
  LegacyBitReader bits(in);
  LegacyWindow window(out);
  auto state = std::make_unique<ShrinkState>();
  ShrinkTree& tree = state->tree;
  int codeBits = kFirstCodeBits;
  uint32_t previous = kNoCode;
  uint32_t code = 0;
  while (bits.Read(codeBits, code)) {
    if (code == kControlCode) {
      uint32_t control = 0;
      if (!bits.Read(codeBits, control)) break;
      if (control == kIncreaseCodeSize && codeBits < kLastCodeBits) {
        ++codeBits;
      } else if (control == kPartialClear) {
        tree.PartialClear();
      } else {
        return DecodeResult::kInvalidData;
      }
      continue;
    }
    // The encoder added the previous string plus the first byte of this one; when this code
    // is that very node, its first byte is the previous string's.
    const bool extending = previous != kNoCode && tree.NextFree() != kNoCode;
    uint32_t length = 0;
    if (extending && code == tree.NextFree()) {
      length = tree.Spell(previous, state->text);
      if (length != 0) state->text[length++] = state->text[0];
    } else if (tree.Defined(code)) {
      length = tree.Spell(code, state->text);
    }
    if (length == 0) return DecodeResult::kInvalidData;
    if (extending) tree.Add(previous, state->text[0]);
    for (uint32_t i = 0; i < length; ++i) {
      if (!window.Put(state->text[i])) return DecodeResult::kDeliveryFailed;
    }
    previous = code;
  }
  if (bits.End() == DecodeResult::kAborted) return DecodeResult::kAborted;
  return window.Flush() ? DecodeResult::kOk : DecodeResult::kDeliveryFailed;
}

}  // namespace rw
