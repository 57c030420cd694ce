#pragma once

#include <cstdint>

namespace rw {

// The system's millisecond tick counter; it wraps around like the Windows one.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t TickCount() = 0;
};

}  // namespace rw
