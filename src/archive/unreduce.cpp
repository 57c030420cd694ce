#include <algorithm>
#include <array>
#include <cstdint>

#include "archive/legacy_bit_reader.h"
#include "archive/legacy_decoders.h"
#include "archive/legacy_window.h"

namespace rw {
namespace {

constexpr uint8_t kRunMark = 144;  // DLE: starts a run, or stands for itself when followed by 0
constexpr int kMinimumRun = 3;

// The bytes that most often follow each byte, written by the encoder for byte 255 down to 0.
class FollowerSets {
 public:
  bool Read(LegacyBitReader& bits) {
    for (int byte = 255; byte >= 0; --byte) {
      uint32_t count = 0;
      if (!bits.Read(6, count)) return false;
      counts_[byte] = static_cast<uint8_t>(count);
      for (uint32_t i = 0; i < count; ++i) {
        uint32_t follower = 0;
        if (!bits.Read(8, follower)) return false;
        sets_[byte][i] = static_cast<uint8_t>(follower);
      }
    }
    return true;
  }

  // Reads the byte after `last`; false with result set when the input ended or the index
  // names no follower.
  bool Next(LegacyBitReader& bits, uint8_t last, uint8_t& byte, DecodeResult& result) const {
    const uint32_t count = counts_[last];
    uint32_t value = 0;
    if (count != 0) {
      if (!bits.Read(1, value)) return Ended(bits, result);
      if (value == 0) {
        if (!bits.Read(IndexBits(count), value)) return Ended(bits, result);
        if (value >= count) {
          result = DecodeResult::kInvalidData;
          return false;
        }
        byte = sets_[last][value];
        return true;
      }
    }
    if (!bits.Read(8, value)) return Ended(bits, result);
    byte = static_cast<uint8_t>(value);
    return true;
  }

 private:
  // The bits an index into a set of count followers takes.
  static int IndexBits(uint32_t count) {
    int bits = 1;
    while ((1u << bits) < count) ++bits;
    return bits;
  }
  static bool Ended(const LegacyBitReader& bits, DecodeResult& result) {
    result = bits.End();
    return false;
  }

  std::array<std::array<uint8_t, 64>, 256> sets_{};
  std::array<uint8_t, 256> counts_{};
};

}  // namespace

DecodeResult Unreduce(DecoderInput& in, DecoderOutput& out, int factor, uint32_t uncompressedSize) {
  if (factor < 1 || factor > 4) return DecodeResult::kInvalidData;
  LegacyBitReader bits(in);
  LegacyWindow window(out);
  FollowerSets followers;
  if (uncompressedSize != 0 && !followers.Read(bits)) return bits.End();

  // A run is DLE, then a byte whose low bits hold the length less 3 and whose high bits the
  // high byte of the distance less 1, an extra length byte when the low bits are all ones,
  // then the low byte of the distance.
  const uint32_t lengthMask = 0xFFu >> factor;
  enum class Step { kByte, kAfterMark, kExtraLength, kDistance };
  Step step = Step::kByte;
  uint32_t runByte = 0;
  uint32_t runLength = 0;
  uint8_t byte = 0;
  uint32_t produced = 0;
  while (produced < uncompressedSize) {
    DecodeResult result = DecodeResult::kOk;
    if (!followers.Next(bits, byte, byte, result)) return result;
    uint32_t put = 0;
    switch (step) {
      case Step::kByte:
        if (byte == kRunMark) {
          step = Step::kAfterMark;
        } else {
          if (!window.Put(byte)) return DecodeResult::kDeliveryFailed;
          put = 1;
        }
        break;
      case Step::kAfterMark:
        if (byte == 0) {
          if (!window.Put(kRunMark)) return DecodeResult::kDeliveryFailed;
          put = 1;
          step = Step::kByte;
        } else {
          runByte = byte;
          runLength = byte & lengthMask;
          step = runLength == lengthMask ? Step::kExtraLength : Step::kDistance;
        }
        break;
      case Step::kExtraLength:
        runLength += byte;
        step = Step::kDistance;
        break;
      case Step::kDistance: {
        const uint32_t distance = ((runByte >> (8 - factor)) << 8) + byte + 1;
        put = std::min(runLength + kMinimumRun, uncompressedSize - produced);
        if (!window.Copy(distance, put)) return DecodeResult::kDeliveryFailed;
        step = Step::kByte;
        break;
      }
    }
    produced += put;
  }
  return window.Flush() ? DecodeResult::kOk : DecodeResult::kDeliveryFailed;
}

}  // namespace rw
