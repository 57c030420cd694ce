#pragma once

#include <cstdint>

#include "host/locale.h"

namespace rw {

// MS-DOS packed date and time: date in the high 16 bits, time in the low 16 bits, local time.
LocalDateTime FromDosTime(uint32_t dosTime);
uint32_t ToDosTime(const LocalDateTime& value);

}  // namespace rw
