#include "archive/legacy_window.h"

namespace rw {

LegacyWindow::LegacyWindow(DecoderOutput& out) : out_(out), data_(new uint8_t[kSize]()) {}

bool LegacyWindow::Copy(uint32_t distance, uint32_t length) {
  for (uint32_t i = 0; i < length; ++i) {
    if (!Put(data_[(pos_ - distance) & (kSize - 1)])) return false;
  }
  return true;
}

bool LegacyWindow::Flush() {
  const uint32_t start = undelivered_;
  undelivered_ = pos_;
  return pos_ == start || out_.Deliver(data_.get() + start, pos_ - start);
}

bool LegacyWindow::DeliverFull() {
  const uint32_t start = undelivered_;
  pos_ = 0;
  undelivered_ = 0;
  return out_.Deliver(data_.get() + start, kSize - start);
}

}  // namespace rw
