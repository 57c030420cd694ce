#pragma once

#include <CLI/CLI.hpp>
#include <functional>

namespace rw::cli {

// Exit codes of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Adds one subcommand to the program; the callback it installs stores its exit code.
using CommandSetup = std::function<void(CLI::App& app, int& exitCode)>;

// Each command file registers itself with a static registrar; order sorts the help text.
bool RegisterCommand(int order, CommandSetup setup);
void AddRegisteredCommands(CLI::App& app, int& exitCode);

}  // namespace rw::cli
