#pragma once

#include <cstdint>
#include <functional>

#include "host/cancel.h"

namespace rw {

// What happens between units of extraction work: window messages are served, and the user
// may abort whenever the percentage of compressed input read changes.
class ExtractionPacer {
 public:
  ExtractionPacer(std::function<void()> service, CancelRequested cancel, uint32_t compressedSize)
      : service_(std::move(service)), cancel_(std::move(cancel)), compressedSize_(compressedSize) {}

  void Service() { service_(); }
  // Records the compressed bytes read so far; false when the user aborts.
  bool Advance(uint64_t bytesRead);

 private:
  std::function<void()> service_;
  CancelRequested cancel_;
  uint32_t compressedSize_;
  uint32_t percent_ = 0;
};

}  // namespace rw
