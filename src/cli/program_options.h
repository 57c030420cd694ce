#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "session/session.h"

namespace rw::cli {

// Where a command finds the program's files and the game.
struct ProgramOptions {
  std::string home;  // --home DIR, else REELWRIGHT_HOME, else the usual program folder
  std::string game;  // --game DIR, else "q3a_dir" of the configuration
};

// Adds --home and --game to a subcommand.
void AddProgramOptions(CLI::App& command, ProgramOptions& options);

// A session with the program's paths and its configuration, read as the start-up load reads
// them, and the four program folders created; the configuration is never saved. With needsGame
// the game folder must hold the game program (reported through the messages, nullptr when it
// does not).
std::unique_ptr<Session> OpenSession(const ProgramOptions& options, FrontEnd frontEnd,
                                     bool needsGame = false);

}  // namespace rw::cli
