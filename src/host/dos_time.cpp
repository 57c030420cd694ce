#include "host/dos_time.h"

namespace rw {

LocalDateTime FromDosTime(uint32_t dosTime) {
  LocalDateTime v;
  v.year = 1980 + static_cast<int>(dosTime >> 25);
  v.month = static_cast<int>((dosTime >> 21) & 0x0F);
  v.day = static_cast<int>((dosTime >> 16) & 0x1F);
  v.hour = static_cast<int>((dosTime >> 11) & 0x1F);
  v.minute = static_cast<int>((dosTime >> 5) & 0x3F);
  v.second = static_cast<int>((dosTime & 0x1F) * 2);
  return v;
}

uint32_t ToDosTime(const LocalDateTime& v) {
  const int year = v.year < 1980 ? 0 : v.year - 1980;
  return (static_cast<uint32_t>(year & 0x7F) << 25) |
         (static_cast<uint32_t>(v.month & 0x0F) << 21) |
         (static_cast<uint32_t>(v.day & 0x1F) << 16) |
         (static_cast<uint32_t>(v.hour & 0x1F) << 11) |
         (static_cast<uint32_t>(v.minute & 0x3F) << 5) |
         static_cast<uint32_t>((v.second / 2) & 0x1F);
}

}  // namespace rw
