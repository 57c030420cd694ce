#pragma once

#include "host/window_system.h"

namespace rw {

// The desktop's windows through the Windows API.
class Win32WindowSystem : public WindowSystem {
 public:
  WindowId FindTopLevel(std::string_view className, std::string_view title) override;
  std::vector<ChildWindow> Children(WindowId window) override;
  bool Exists(WindowId window) override;
  void SendChar(WindowId window, unsigned char code) override;
  void SendClose(WindowId window) override;
};

}  // namespace rw
