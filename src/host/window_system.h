#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

// A window of the desktop; 0 names no window.
using WindowId = std::uintptr_t;

// The edit style that makes an edit window read-only.
inline constexpr uint32_t kReadOnlyEditStyle = 0x0800;

struct ChildWindow {
  WindowId id = 0;
  std::string className;
  uint32_t style = 0;
};

// The desktop's windows as the game's console needs them: found by class and title, typed
// into character by character, asked to close.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // The first top-level window with exactly this class name and title; 0 when there is none.
  virtual WindowId FindTopLevel(std::string_view className, std::string_view title) = 0;
  // The window's child windows in the system's order.
  virtual std::vector<ChildWindow> Children(WindowId window) = 0;
  virtual bool Exists(WindowId window) = 0;
  // One character message with repeat count 1; returns once the window has handled it.
  virtual void SendChar(WindowId window, unsigned char code) = 0;
  // The close request; returns once the window has handled it.
  virtual void SendClose(WindowId window) = 0;
};

}  // namespace rw
