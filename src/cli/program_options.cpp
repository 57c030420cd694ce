#include "cli/program_options.h"

#include <filesystem>

namespace rw::cli {
namespace {

// A folder given relative to where the command runs; the game must get full paths (its
// in-place rules compare them, and it runs from its own folder).
std::string AbsoluteFolder(const std::string& folder) {
  if (folder.empty()) return folder;
  std::filesystem::path path = std::filesystem::absolute(folder).lexically_normal();
  if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
  return path.string();
}

}  // namespace

void AddProgramOptions(CLI::App& command, ProgramOptions& options) {
  command
      .add_option("--home", options.home,
                  "Folder holding Reelwright.cfg, \"RWT Data\" and \"Playlists\" "
                  "(default: $REELWRIGHT_HOME, else the program's folder when writable, "
                  "else $XDG_DATA_HOME/Reelwright)")
      ->type_name("DIR");
  command
      .add_option("--game", options.game,
                  "Quake III Arena folder, the one holding quake3.exe (default: q3a_dir "
                  "of Reelwright.cfg, else $WINEPREFIX/drive_c/Program Files/Quake III "
                  "Arena)")
      ->type_name("DIR");
}

std::optional<Program> LoadProgram(const ProgramOptions& options, FileSystem& fs,
                                   Messages& messages, bool checkGame) {
  const std::string programFolder =
      ChooseProgramFolder(CurrentProgramFolderSources(AbsoluteFolder(options.home)));
  const std::string configFile = DeriveProgramPaths(programFolder, "").configFile;

  Program program{{}, Settings::Defaults(DefaultGameFolder())};
  ReadSettings(OpenSettingsFile(fs, messages, configFile), program.settings);
  if (!options.game.empty()) program.settings.global.q3a_dir = AbsoluteFolder(options.game);
  if (checkGame && !ValidateGameFolder(fs, messages, program.settings.global.q3a_dir)) {
    return std::nullopt;
  }
  program.paths = DeriveProgramPaths(programFolder, program.settings.global.q3a_dir);
  CreateProgramFolders(fs, program.paths);
  return program;
}

}  // namespace rw::cli
