#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "host/file_system.h"
#include "host/messages.h"
#include "model/program_paths.h"
#include "model/settings.h"

namespace rw::cli {

// Where a command finds the program's files and the game.
struct ProgramOptions {
  std::string home;  // --home DIR, else REELWRIGHT_HOME, else the usual program folder
  std::string game;  // --game DIR, else "q3a_dir" of the configuration
};

// Adds --home and --game to a subcommand.
void AddProgramOptions(CLI::App& command, ProgramOptions& options);

// The program's paths and its configuration, read as the start-up load reads them, with the
// four program folders created. The configuration is only read; a command never saves it.
struct Program {
  ProgramPaths paths;
  Settings settings;
};

// With checkGame the game folder must hold the game program (reported through messages,
// nullopt when it does not); without it the folder is taken as given.
std::optional<Program> LoadProgram(const ProgramOptions& options, FileSystem& fs,
                                   Messages& messages, bool checkGame);

}  // namespace rw::cli
