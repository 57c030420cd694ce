#pragma once

namespace rw {

// Serves pending window messages from inside long loops, so the windows stay responsive.
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  virtual void ServicePending() = 0;
};

// For hosts without windows (the command line).
class NoMessagePump : public MessagePump {
 public:
  void ServicePending() override {}
};

}  // namespace rw
