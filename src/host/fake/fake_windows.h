#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/shell.h"
#include "host/window_system.h"

namespace rw {

// In-memory desktop windows that record every message sent to them.
class FakeWindowSystem : public WindowSystem {
 public:
  struct Sent {
    WindowId window = 0;
    bool close = false;      // WM_CLOSE, else WM_CHAR
    unsigned char code = 0;  // the character of a WM_CHAR
  };

  WindowId AddTopLevel(std::string className, std::string title);
  WindowId AddChild(WindowId parent, std::string className, uint32_t style = 0);
  // Removes the window and its children.
  void Remove(WindowId window);

  WindowId FindTopLevel(std::string_view className, std::string_view title) override;
  std::vector<ChildWindow> Children(WindowId window) override;
  bool Exists(WindowId window) override;
  void SendChar(WindowId window, unsigned char code) override;
  void SendClose(WindowId window) override;

  // The characters a window received, in order.
  std::string TypedInto(WindowId window) const;
  int CloseRequests(WindowId window) const;

  std::vector<Sent> sent;
  // Runs when a window handles WM_CLOSE; by default the window stays.
  std::function<void(WindowId)> onClose;

 private:
  struct Window {
    WindowId parent = 0;
    std::string className;
    std::string title;
    uint32_t style = 0;
  };
  std::map<WindowId, Window> windows_;  // ids grow, so the map keeps creation order
  WindowId nextId_ = 1;
};

// Records every request; answers with `result`.
class FakeShell : public Shell {
 public:
  struct Call {
    std::string program;  // the target of an Open
    std::string parameters;
    std::string workingFolder;
    bool open = false;
  };

  ShellResult StartProgram(const std::string& program, const std::string& parameters,
                           const std::string& workingFolder) override;
  ShellResult Open(const std::string& target) override;

  std::vector<Call> calls;
  ShellResult result{true, ""};
  // Runs on each started program, for a test that lets the game come up.
  std::function<void()> onStart;
};

}  // namespace rw
