#pragma once

#include <memory>

#include "cli/cli_messages.h"
#include "host/icu_locale.h"
#include "host/message_pump.h"
#include "host/process_table.h"
#include "session/session.h"

#ifdef _WIN32
#include "host/win32/win32_shell.h"
#else
#include "host/posix/posix_shell.h"
#endif

namespace rw::cli {

// Finds no game: for the commands that never talk to it, and for a rehearsal.
class NoGameWindows : public WindowSystem {
 public:
  WindowId FindTopLevel(std::string_view, std::string_view) override { return 0; }
  std::vector<ChildWindow> Children(WindowId) override { return {}; }
  bool Exists(WindowId) override { return false; }
  void SendChar(WindowId, unsigned char) override {}
  void SendClose(WindowId) override {}
};

// Finds no running game, for a rehearsal.
class NoGameProcesses : public ProcessTable {
 public:
  std::vector<RunningProcess> List() override { return {}; }
  bool IsRunning(int) override { return false; }
  std::vector<std::string> OpenPipes(int) override { return {}; }
  bool WriteToPipe(const std::string&, std::string_view) override { return false; }
};

// The command line's side of a session: message boxes on stderr, the user's locale, no
// windows of its own to serve, and the system's shell; "play" gives the game's windows.
class CliFrontEnd {
 public:
  explicit CliFrontEnd(bool answerYes = false, bool quiet = false)
      : messages_(answerYes, quiet), locale_(IcuLocale::FromEnvironment()) {}

  FrontEnd seams() { return seams(shell_, noGame_, noProcesses_); }
  // With another shell, window system and process table: the game's, or a rehearsal's.
  FrontEnd seams(Shell& shell, WindowSystem& windows, ProcessTable& processes) {
    return {messages_, *locale_, pump_, shell, windows, processes};
  }
  CliMessages& messages() { return messages_; }
  const Locale& locale() const { return *locale_; }

 private:
  CliMessages messages_;
  std::unique_ptr<IcuLocale> locale_;
  NoMessagePump pump_;
#ifdef _WIN32
  Win32Shell shell_;
#else
  PosixShell shell_;
#endif
  NoGameWindows noGame_;
  NoGameProcesses noProcesses_;
};

}  // namespace rw::cli
