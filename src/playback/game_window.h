#pragma once

#include <cstdint>
#include <string_view>

#include "host/clock.h"
#include "host/message_pump.h"
#include "host/window_system.h"

namespace rw {

// How long playback waits for the game to close or to come up before it gives up.
inline constexpr uint32_t kGameWaitLimitMs = 15000;

// The running game as seen through its two windows: the game window and the console window
// with its input line.
class GameWindow {
 public:
  GameWindow(WindowSystem& windows, MessagePump& pump, Clock& clock)
      : windows_(windows), pump_(pump), clock_(clock) {}

  bool IsRunning();
  // Whether the console's input line is there to take typed lines.
  bool CanType();
  // Types the text and Enter into the console's input line, as a user would. False when the
  // game, its console or a writable input line is missing, so nothing reached the game.
  bool SendConsoleLine(std::string_view text);
  // Asks the game once to close; true when neither window is left afterwards.
  bool Close();
  // Asks again and again until the windows are gone; false when they outlast the limit.
  bool CloseWithin(uint32_t limitMs);
  // Until both windows exist; false when they have not come up within the limit.
  bool WaitUntilRunning(uint32_t limitMs);

 private:
  WindowId GameWindowId();
  WindowId ConsoleWindowId();
  // The console's first writable input line; 0 when the game, its console or the line is
  // missing.
  WindowId InputLine();
  // Lets the interface work and gives the game a moment.
  void Pause();

  WindowSystem& windows_;
  MessagePump& pump_;
  Clock& clock_;
};

}  // namespace rw
