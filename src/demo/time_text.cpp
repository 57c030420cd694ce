#include "demo/time_text.h"

#include <cstdio>

namespace rw {
namespace {

uint32_t TwoDigits(std::string_view text, size_t pos) {
  uint32_t value = 0;
  for (size_t i = pos; i < pos + 2; ++i) {
    const char c = i < text.size() ? text[i] : '0';
    value = value * 10 + ((c >= '0' && c <= '9') ? static_cast<uint32_t>(c - '0') : 0);
  }
  return value;
}

}  // namespace

std::string FormatSeconds(uint32_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2u:%.2u:%.2u", seconds / 3600, (seconds % 3600) / 60,
                seconds % 60);
  return text;
}

uint32_t SecondsFromTime(std::string_view text) {
  return TwoDigits(text, 0) * 3600 + TwoDigits(text, 3) * 60 + TwoDigits(text, 6);
}

int64_t RoundedSeconds(int64_t milliseconds) {
  int64_t whole = milliseconds / 1000;
  int64_t rest = milliseconds % 1000;
  if (rest < 0) {
    rest += 1000;
    --whole;
  }
  if (rest > 500 || (rest == 500 && (whole & 1) != 0)) ++whole;
  return whole;
}

}  // namespace rw
