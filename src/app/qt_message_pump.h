#pragma once

#include <QCoreApplication>

#include "host/message_pump.h"

namespace rw::app {

// Long loops of the core keep the windows responsive (and Escape reachable) through here.
class QtMessagePump : public MessagePump {
 public:
  void ServicePending() override { QCoreApplication::processEvents(); }
};

}  // namespace rw::app
