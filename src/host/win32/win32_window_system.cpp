#include "host/win32/win32_window_system.h"

#ifdef _WIN32
#include <windows.h>

#include <string>

namespace rw {
namespace {

HWND AsWindow(WindowId window) {
  return reinterpret_cast<HWND>(window);
}

BOOL CALLBACK AddChild(HWND child, LPARAM list) {
  char className[256] = {};
  GetClassNameA(child, className, sizeof className);
  reinterpret_cast<std::vector<ChildWindow>*>(list)->push_back(
      {reinterpret_cast<WindowId>(child), className,
       static_cast<uint32_t>(GetWindowLongA(child, GWL_STYLE))});
  return TRUE;
}

}  // namespace

WindowId Win32WindowSystem::FindTopLevel(std::string_view className, std::string_view title) {
  const std::string classText(className);
  const std::string titleText(title);
  return reinterpret_cast<WindowId>(FindWindowA(classText.c_str(), titleText.c_str()));
}

std::vector<ChildWindow> Win32WindowSystem::Children(WindowId window) {
  std::vector<ChildWindow> children;
  if (window != 0)
    EnumChildWindows(AsWindow(window), AddChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

bool Win32WindowSystem::Exists(WindowId window) {
  return window != 0 && IsWindow(AsWindow(window)) != FALSE;
}

void Win32WindowSystem::SendChar(WindowId window, unsigned char code) {
  SendMessageA(AsWindow(window), WM_CHAR, code, 1);
}

void Win32WindowSystem::SendClose(WindowId window) {
  SendMessageA(AsWindow(window), WM_CLOSE, 0, 0);
}

}  // namespace rw
#endif
