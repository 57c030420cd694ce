#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/command_registry.h"

int main(int argc, char** argv) {
  CLI::App app{
      "Reelwright: lists, inspects and plays Quake III Arena demos (.dm3, .dm_48 and .dm_66 to\n"
      ".dm_68), also those inside ZIP, PK3 and self-extracting archives.\n"
      "Exit codes: 0 success, 1 a failure that is reported on stderr, 2 bad usage.",
      "reelwright-cli"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "reelwright-cli 1.32");
  int exitCode = rw::cli::kExitOk;
  rw::cli::AddRegisteredCommands(app, exitCode);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return rw::cli::kExitUsage;
  }
  return exitCode;
}
