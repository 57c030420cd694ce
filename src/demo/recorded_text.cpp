#include "demo/recorded_text.h"

#include "demo/display_text.h"
#include "host/dos_time.h"

namespace rw {

std::string SizeText(uint64_t size, const Locale& locale) {
  if (size < 1048576) return std::to_string(size / 1024) + " KB";
  return FormatSize(size, 2, locale);
}

std::string RecordedText(uint32_t dosTime, const Locale& locale) {
  const LocalDateTime value = FromDosTime(dosTime);
  std::string text = locale.ShortDateText(value);
  if (value.hour != 0 || value.minute != 0 || value.second != 0) {
    text += ' ' + locale.LongTimeText(value);
  }
  return text;
}

}  // namespace rw
