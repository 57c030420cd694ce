#pragma once

#include <memory>

#include "app/gui_messages.h"
#include "app/qt_message_pump.h"
#include "app/qt_sound_timer.h"
#include "host/icu_locale.h"
#include "session/session.h"
#include "sound/openal_driver.h"

#ifdef _WIN32
#include "host/win32/win32_shell.h"
#include "host/win32/win32_window_system.h"
#else
#include "host/posix/posix_shell.h"
#include "host/posix/proc_process_table.h"
#include "host/posix/x11_window_system.h"
#endif

namespace rw::app {

// The windows' side of a session: Qt dialogs, the user's locale, Qt's event loop served from
// long loops, the system's shell, the game's windows and processes, the audio output and the
// sound timer.
class GuiFrontEnd {
 public:
  GuiFrontEnd() : locale_(IcuLocale::FromEnvironment()) {}

  FrontEnd seams() { return {messages_, *locale_, pump_, shell_, windows_, processes_}; }
  GuiMessages& messages() { return messages_; }
  SoundDriver& soundDriver() { return soundDriver_; }
  SoundTimer& soundTimer() { return soundTimer_; }

 private:
  GuiMessages messages_;
  std::unique_ptr<IcuLocale> locale_;
  QtMessagePump pump_;
  OpenAlDriver soundDriver_;
  QtSoundTimer soundTimer_;
#ifdef _WIN32
  Win32Shell shell_;
  Win32WindowSystem windows_;
#else
  PosixShell shell_;
  X11WindowSystem windows_;
  ProcProcessTable processes_;
#endif
};

}  // namespace rw::app
