#pragma once

#include "host/window_system.h"

namespace rw {

// The game's windows on an X display, found by WM_CLASS and WM_NAME. Without X11 or a
// display no window is ever found.
class X11WindowSystem : public WindowSystem {
 public:
  X11WindowSystem();
  ~X11WindowSystem() override;
  X11WindowSystem(const X11WindowSystem&) = delete;
  X11WindowSystem& operator=(const X11WindowSystem&) = delete;

  bool HasDisplay() const { return display_ != nullptr; }

  WindowId FindTopLevel(std::string_view className, std::string_view title) override;
  std::vector<ChildWindow> Children(WindowId window) override;
  bool Exists(WindowId window) override;
  void SendChar(WindowId window, unsigned char code) override;
  void SendClose(WindowId window) override;

 private:
  void* display_ = nullptr;
};

}  // namespace rw
