#include "cli/program_options.h"

namespace rw::cli {

void AddProgramOptions(CLI::App& command, ProgramOptions& options) {
  command
      .add_option("--home", options.home,
                  "Folder holding Reelwright.cfg, \"RWT Data\" and \"Playlists\" "
                  "(default: $REELWRIGHT_HOME, else the program's folder when writable, "
                  "else $XDG_DATA_HOME/Reelwright)")
      ->type_name("DIR");
  command
      .add_option("--game", options.game,
                  "Quake III Arena folder, the one holding quake3.exe, ioquake3 or quake3e, "
                  "or a baseq3 folder for an engine installed elsewhere (default: q3a_dir "
                  "of Reelwright.cfg, else $WINEPREFIX/drive_c/Program Files/Quake III "
                  "Arena)")
      ->type_name("DIR");
}

std::unique_ptr<Session> OpenSession(const ProgramOptions& options, FrontEnd frontEnd,
                                     bool needsGame) {
  return Session::Open({options.home, options.game, true, needsGame}, frontEnd);
}

}  // namespace rw::cli
