#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/clock.h"
#include "host/file_system.h"
#include "host/message_pump.h"
#include "host/process_table.h"
#include "model/game_install.h"
#include "playback/game_window.h"

namespace rw {

// A program of the game that runs now.
struct FoundGame {
  const GameProgram* program = nullptr;  // nullptr: windows of a game we do not know
  int process = 0;                       // 0: found by its windows alone
  std::string pipe;                      // the command pipe it reads, if any
  bool pipeInHome = false;               // the pipe lies in its home path as we know it
  bool console = false;                  // the Windows game's console takes typed lines
  bool windows = false;                  // the Windows game's window is there to be closed

  // Whether a console line reaches it at all.
  bool reachable() const { return !pipe.empty() || console; }
};

// The running game as its process shows it: the engine's binary, or wine running quake3.exe;
// the Windows game's windows are the second clue. A native engine reads console lines from
// its command pipe; the Windows game takes them typed into its console.
class RunningGame {
 public:
  struct Host {
    FileSystem& files;
    ProcessTable& processes;
    GameWindow& windows;
    MessagePump& pump;
    Clock& clock;
  };

  RunningGame(const GameInstall& install, Host host) : install_(install), host_(host) {}

  std::optional<FoundGame> Find();
  bool IsRunning() { return Find().has_value(); }
  // Hands the line to the game that reads the staging folder of program: through its command
  // pipe, or typed into the Windows game's console. False when no such game took it.
  bool HandOver(const GameProgram& program, std::string_view line);
  // Asks the running game to quit and waits until it has gone; false when it cannot be asked
  // or outlasts the limit.
  bool CloseWithin(uint32_t limitMs);
  // Asks the Windows game once through its windows, without waiting.
  void CloseWindows();
  // Until the game runs; false when it has not come up within the limit.
  bool WaitUntilRunning(uint32_t limitMs);

 private:
  bool IsProgram(const RunningProcess& process, const GameProgram& program);
  bool WaitUntilGone(int process, uint32_t limitMs);
  void Pause();

  const GameInstall& install_;
  Host host_;
};

}  // namespace rw
