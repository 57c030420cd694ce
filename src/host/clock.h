#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

namespace rw {

// The system's millisecond tick counter; it wraps around like the Windows one.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t TickCount() = 0;
  // Gives the time away; a test clock moves on instead.
  virtual void Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

}  // namespace rw
