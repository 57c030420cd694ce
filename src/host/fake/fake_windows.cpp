#include "host/fake/fake_windows.h"

#include <algorithm>

namespace rw {

WindowId FakeWindowSystem::AddTopLevel(std::string className, std::string title) {
  const WindowId id = nextId_++;
  windows_[id] = {0, std::move(className), std::move(title), 0};
  return id;
}

WindowId FakeWindowSystem::AddChild(WindowId parent, std::string className, uint32_t style) {
  const WindowId id = nextId_++;
  windows_[id] = {parent, std::move(className), "", style};
  return id;
}

void FakeWindowSystem::Remove(WindowId window) {
  for (const ChildWindow& child : Children(window)) Remove(child.id);
  windows_.erase(window);
}

WindowId FakeWindowSystem::FindTopLevel(std::string_view className, std::string_view title) {
  for (const auto& [id, window] : windows_) {
    if (window.parent == 0 && window.className == className && window.title == title) return id;
  }
  return 0;
}

std::vector<ChildWindow> FakeWindowSystem::Children(WindowId window) {
  std::vector<ChildWindow> children;
  for (const auto& [id, child] : windows_) {
    if (window != 0 && child.parent == window)
      children.push_back({id, child.className, child.style});
  }
  return children;
}

bool FakeWindowSystem::Exists(WindowId window) {
  return windows_.contains(window);
}

void FakeWindowSystem::SendChar(WindowId window, unsigned char code) {
  sent.push_back({window, false, code});
}

void FakeWindowSystem::SendClose(WindowId window) {
  sent.push_back({window, true, 0});
  if (onClose && Exists(window)) onClose(window);
}

std::string FakeWindowSystem::TypedInto(WindowId window) const {
  std::string typed;
  for (const Sent& message : sent) {
    if (message.window == window && !message.close) typed += static_cast<char>(message.code);
  }
  return typed;
}

int FakeWindowSystem::CloseRequests(WindowId window) const {
  return static_cast<int>(std::count_if(sent.begin(), sent.end(), [window](const Sent& message) {
    return message.window == window && message.close;
  }));
}

ShellResult FakeShell::StartProgram(const std::string& program, const std::string& parameters,
                                    const std::string& workingFolder) {
  calls.push_back({program, parameters, workingFolder, false});
  if (result.started && onStart) onStart();
  return result;
}

ShellResult FakeShell::Open(const std::string& target) {
  calls.push_back({target, "", "", true});
  return result;
}

}  // namespace rw
