#pragma once

#include "host/clock.h"

namespace rw {

class SteadyClock : public Clock {
 public:
  uint32_t TickCount() override;
};

}  // namespace rw
