#include "playback/game_window.h"

namespace rw {
namespace {

constexpr uint32_t kPollMs = 100;

}  // namespace

WindowId GameWindow::GameWindowId() {
  return windows_.FindTopLevel("Quake 3: Arena", "Quake 3: Arena");
}

WindowId GameWindow::ConsoleWindowId() {
  return windows_.FindTopLevel("Q3 WinConsole", "Quake 3 Console");
}

void GameWindow::Pause() {
  pump_.ServicePending();
  clock_.Sleep(kPollMs);
}

bool GameWindow::IsRunning() {
  return GameWindowId() != 0;
}

WindowId GameWindow::InputLine() {
  if (GameWindowId() == 0) return 0;
  const WindowId console = ConsoleWindowId();
  if (console == 0) return 0;
  for (const ChildWindow& child : windows_.Children(console)) {
    if (child.className.find("Edit") == std::string::npos) continue;
    if ((child.style & kReadOnlyEditStyle) != 0) continue;
    return child.id;
  }
  return 0;
}

bool GameWindow::CanType() {
  return InputLine() != 0;
}

bool GameWindow::SendConsoleLine(std::string_view text) {
  const WindowId input = InputLine();
  if (input == 0) return false;
  for (const char c : text) windows_.SendChar(input, static_cast<unsigned char>(c));
  windows_.SendChar(input, 13);
  return true;
}

bool GameWindow::Close() {
  const WindowId game = GameWindowId();
  if (game == 0 && ConsoleWindowId() == 0) return true;
  if (game != 0) windows_.SendClose(game);
  return GameWindowId() == 0 && ConsoleWindowId() == 0;
}

bool GameWindow::CloseWithin(uint32_t limitMs) {
  const uint32_t start = clock_.TickCount();
  while (!Close()) {
    if (clock_.TickCount() - start >= limitMs) return false;
    Pause();
  }
  return true;
}

bool GameWindow::WaitUntilRunning(uint32_t limitMs) {
  const uint32_t start = clock_.TickCount();
  while (GameWindowId() == 0 || ConsoleWindowId() == 0) {
    if (clock_.TickCount() - start >= limitMs) return false;
    Pause();
  }
  return true;
}

}  // namespace rw
