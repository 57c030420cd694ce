#pragma once

namespace rw::app {

// Screen readers announce a window by its role and name: the program's own top-level windows
// that are plain widgets (the user data editor, the player description, the help, ...) are
// windows to them, not filler. Once for the process; later calls do nothing.
void AnnounceWindowsAsWindows();

}  // namespace rw::app
