#include "host/posix/x11_window_system.h"

#ifdef REELWRIGHT_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <string>
#include <utility>

namespace rw {
namespace {

Display* AsDisplay(void* display) {
  return static_cast<Display*>(display);
}

// A window that vanished between the search and the request is not worth dying for.
int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

std::vector<Window> ChildrenOf(Display* display, Window window) {
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  std::vector<Window> result;
  if (XQueryTree(display, window, &root, &parent, &children, &count) != 0 && children != nullptr) {
    result.assign(children, children + count);
    XFree(children);
  }
  return result;
}

// The two parts of WM_CLASS: the instance name and the class name.
std::pair<std::string, std::string> ClassHintOf(Display* display, Window window) {
  XClassHint hint{};
  if (XGetClassHint(display, window, &hint) == 0) return {};
  std::pair<std::string, std::string> names(hint.res_name != nullptr ? hint.res_name : "",
                                            hint.res_class != nullptr ? hint.res_class : "");
  if (hint.res_name != nullptr) XFree(hint.res_name);
  if (hint.res_class != nullptr) XFree(hint.res_class);
  return names;
}

bool HasClass(Display* display, Window window, std::string_view className) {
  const auto [instance, windowClass] = ClassHintOf(display, window);
  return windowClass == className || instance == className;
}

std::string TitleOf(Display* display, Window window) {
  char* title = nullptr;
  if (XFetchName(display, window, &title) == 0 || title == nullptr) return {};
  std::string text = title;
  XFree(title);
  return text;
}

// Window managers put each client window into a frame of their own, so the client may be a
// level or two below the root.
Window FindBelow(Display* display, Window window, std::string_view className,
                 std::string_view title, int depth) {
  for (const Window child : ChildrenOf(display, window)) {
    if (HasClass(display, child, className) && TitleOf(display, child) == title) return child;
    if (depth > 0) {
      if (const Window found = FindBelow(display, child, className, title, depth - 1)) return found;
    }
  }
  return 0;
}

}  // namespace

X11WindowSystem::X11WindowSystem() {
  display_ = XOpenDisplay(nullptr);
  if (display_ != nullptr) XSetErrorHandler(IgnoreErrors);
}

X11WindowSystem::~X11WindowSystem() {
  if (display_ != nullptr) XCloseDisplay(AsDisplay(display_));
}

WindowId X11WindowSystem::FindTopLevel(std::string_view className, std::string_view title) {
  if (display_ == nullptr) return 0;
  Display* display = AsDisplay(display_);
  return FindBelow(display, DefaultRootWindow(display), className, title, 2);
}

std::vector<ChildWindow> X11WindowSystem::Children(WindowId window) {
  std::vector<ChildWindow> children;
  if (display_ == nullptr || window == 0) return children;
  Display* display = AsDisplay(display_);
  for (const Window child : ChildrenOf(display, window)) {
    children.push_back({child, ClassHintOf(display, child).second, 0});
  }
  return children;
}

bool X11WindowSystem::Exists(WindowId window) {
  if (display_ == nullptr || window == 0) return false;
  XWindowAttributes attributes;
  return XGetWindowAttributes(AsDisplay(display_), window, &attributes) != 0;
}

void X11WindowSystem::SendChar(WindowId window, unsigned char code) {
  if (display_ == nullptr) return;
  Display* display = AsDisplay(display_);
  // Latin-1 key symbols carry the character's own code.
  const KeySym symbol = code == 13 ? XK_Return : static_cast<KeySym>(code);
  XKeyEvent event{};
  event.display = display;
  event.window = window;
  event.root = DefaultRootWindow(display);
  event.time = CurrentTime;
  event.same_screen = True;
  event.keycode = XKeysymToKeycode(display, symbol);
  // Characters on the upper level of their key need the shift key.
  event.state = XLookupKeysym(&event, 0) == symbol ? 0 : ShiftMask;
  for (const int type : {KeyPress, KeyRelease}) {
    event.type = type;
    XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask,
               reinterpret_cast<XEvent*>(&event));
  }
  XSync(display, False);
}

void X11WindowSystem::SendClose(WindowId window) {
  if (display_ == nullptr) return;
  Display* display = AsDisplay(display_);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
}

}  // namespace rw

#else

namespace rw {

X11WindowSystem::X11WindowSystem() = default;
X11WindowSystem::~X11WindowSystem() = default;
WindowId X11WindowSystem::FindTopLevel(std::string_view, std::string_view) {
  return 0;
}
std::vector<ChildWindow> X11WindowSystem::Children(WindowId) {
  return {};
}
bool X11WindowSystem::Exists(WindowId) {
  return false;
}
void X11WindowSystem::SendChar(WindowId, unsigned char) {}
void X11WindowSystem::SendClose(WindowId) {}

}  // namespace rw

#endif
