#pragma once

#include <string>

#include "host/clock.h"
#include "host/message_pump.h"
#include "host/messages.h"
#include "host/shell.h"
#include "model/game_install.h"
#include "playback/running_game.h"

namespace rw {

// The check marks and the enabled state of the main window's version menu items.
struct VersionMenu {
  bool enabled = false;            // both version items; only when switching is available
  bool newChecked = false;         // "Q3A version is now 1.27"
  bool oldChecked = false;         // "Q3A version is now 1.17"
  bool restoreNewChecked = false;  // "Restore version 1.27 on Exit"
  bool restoreOldChecked = false;  // "Restore version 1.17 on Exit"
};

// Switches the game between its 1.17 and 1.27 generations by renaming the spare game program
// and the two data archives that the old game must not see.
class GenerationSwitch {
 public:
  struct Host {
    FileSystem& files;
    RunningGame& game;
    Shell& shell;
    Messages& messages;
    MessagePump& pump;
    Clock& clock;
  };

  GenerationSwitch(const GameInstall& install, Host host) : install_(install), host_(host) {}

  // The menu as the program starts: the active generation and the restore option.
  void ShowStartState(bool restoreNew);
  // Called each time the menu that shows the version items opens: the game's files may have
  // changed meanwhile, so availability and the active generation are read again.
  void RefreshOnMenuOpen();
  void ShowRestoreOption(bool restoreNew);
  const VersionMenu& menu() const { return menu_; }

  // A running game is closed, switched under and started again with the global parameters.
  // True on success; a failure is told to the user.
  bool Switch(bool toNew, const std::string& globalParameters);
  // A version menu item chosen: only the item without a check mark switches, and only while
  // switching is available (both as the files are now).
  bool Choose(bool newItem, const std::string& globalParameters);
  // At program end: put back the generation the restore option asks for.
  void RestoreAtExit(bool restoreNew, const std::string& globalParameters);

 private:
  bool SwitchStopped(bool toNew);
  bool SwitchRunning(bool toNew, const std::string& globalParameters);
  void ShowActive(bool newActive);

  const GameInstall& install_;
  Host host_;
  VersionMenu menu_;
};

}  // namespace rw
