#pragma once

#include <QStringList>

namespace rw::app {

// The program from its start to its end, as its entry point runs it: the single-instance
// guard, the start-up picture, the session, the main window, the first listing and the event
// loop. The exit code.
int RunProgram(const QStringList& arguments);

}  // namespace rw::app
