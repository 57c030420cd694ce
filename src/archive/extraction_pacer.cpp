#include "archive/extraction_pacer.h"

#include <algorithm>

namespace rw {

bool ExtractionPacer::Advance(uint64_t bytesRead) {
  const uint32_t percent =
      compressedSize_ == 0
          ? 100
          : static_cast<uint32_t>(std::min<uint64_t>(100, bytesRead * 100 / compressedSize_));
  if (percent == percent_) return true;
  percent_ = percent;
  return !(cancel_ && cancel_());
}

}  // namespace rw
