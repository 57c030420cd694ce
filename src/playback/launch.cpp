#include "playback/launch.h"

#include "archive/directory_reader.h"
#include "demo/demo_generation.h"
#include "host/command_line.h"
#include "host/path_separator.h"
#include "model/list_rules.h"
#include "playback/console_text.h"
#include "playback/game_start.h"
#include "text/name_text.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr size_t kTooManyEntries = 30;
constexpr std::string_view kPipeName = "rwtpipe";

std::string Join(std::string_view folder, std::string_view name) {
  return std::string(folder) + kPathSeparator + std::string(name);
}

std::string LastComponent(const std::string& folder) {
  const size_t last = folder.rfind(kPathSeparator);
  return last == std::string::npos ? folder : folder.substr(last + 1);
}

// What the remark block of the script shows for a staged demo.
std::string DisplayPath(const LaunchDemo& demo) {
  if (demo.archiveMember()) return '\x01' + demo.location + "\\" + demo.name;
  return Join(demo.location, demo.name);
}

std::string GenerationMismatchText(const LaunchDemo& first, const LaunchDemo& other) {
  return "Demo \"" + first.name + "\" has protocol version " + first.protocol + "\r\nDemo \"" +
         other.name + "\" has protocol version " + other.protocol +
         "\r\nPlaylist can not be played!";
}

std::string ModMismatchText(const LaunchDemo& first, const std::string& firstMod,
                            const LaunchDemo& other, const std::string& otherMod) {
  return "Demo \"" + first.name + "\" is from MOD '" + LastComponent(firstMod) + "'\r\nDemo \"" +
         other.name + "\" is from MOD '" + LastComponent(otherMod) +
         "'\r\nPlaylist can not be played!\r\n\r\nTry do uncheck \"Options/Play Demos as Mod "
         "Demos\".";
}

// Whether the parameter text already sets the variable, so the user's own value stays.
bool SetsVariable(const std::string& parameters, std::string_view name) {
  const std::vector<std::string> arguments = SplitCommandLine(parameters);
  for (size_t i = 0; i + 1 < arguments.size(); ++i) {
    const bool set = EqualsIgnoringAnsiCase(arguments[i], "+set") ||
                     EqualsIgnoringAnsiCase(arguments[i], "+seta");
    if (set && EqualsIgnoringAnsiCase(arguments[i + 1], name)) return true;
  }
  return false;
}

// A name as one argument of the game's command line. The engine splits its command line at
// "+" and runs ";" as a new command, except inside an argument with a blank, which it quotes
// as a whole; a quote or a control character is never safe.
std::optional<std::string> CommandLineArgument(const std::string& name) {
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f || c == '"') return std::nullopt;
  }
  if (name.empty()) return std::nullopt;
  if (name.find(' ') != std::string::npos) return '"' + name + '"';
  if (name.find_first_of(";+") != std::string::npos || name.find("//") != std::string::npos ||
      name.find("/*") != std::string::npos) {
    return std::nullopt;
  }
  return name;
}

// The folder and the folders above it that are missing.
void CreateFolders(FileSystem& files, const std::string& folder) {
  if (folder.empty() || files.IsFolder(folder)) return;
  const size_t last = folder.rfind(kPathSeparator);
  if (last != std::string::npos && last > 0) CreateFolders(files, folder.substr(0, last));
  files.CreateFolder(folder);
}

}  // namespace

LaunchDemo LaunchDemoFromRow(const ListRow& row) {
  return {row[kDemonameColumn], row[kArchiveLocationColumn], row[kModColumn],
          row[kProtocolColumn], row[kLocationColumn],        RowImage(row)};
}

std::string TemporaryDemoName(size_t position, std::string_view protocol, std::string_view name) {
  std::string digits = std::to_string(position);
  if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
  return "rwttmp" + digits + PlayedExtension(protocol, name);
}

bool IsTemporaryDemoName(std::string_view name) {
  constexpr std::string_view kPrefix = "rwttmp";
  if (!name.starts_with(kPrefix)) return false;
  const size_t digitsEnd = name.find_first_not_of("0123456789", kPrefix.size());
  if (digitsEnd == std::string_view::npos || digitsEnd - kPrefix.size() < 2) return false;
  const std::string_view extension = name.substr(digitsEnd);
  for (const std::string_view staged : {".dm3", ".dm_48", ".dm_66", ".dm_67", ".dm_68"}) {
    if (extension == staged) return true;
  }
  return false;
}

const GameProgram* Launch::ProgramFor(const LaunchDemo& demo) {
  const DemoGeneration generation = GenerationOfListedDemo(demo.protocol, demo.name);
  const GameProgram* program = install_.ProgramFor(generation);
  if (program != nullptr) return program;
  std::string found;
  for (const GameProgram& known : install_.programs()) {
    found += (found.empty() ? "" : ", ") + ProgramLabel(known) + " (" + known.path + ")";
  }
  host_.messages.Show("No Program for this Demo",
                      "Demo \"" + demo.name + "\" has protocol version " + demo.protocol +
                          ": it plays in " + NeededProgramText(generation) +
                          ".\r\nThe game folder " + install_.gameFolder() +
                          " has no such program; it has " + (found.empty() ? "none" : found) + ".",
                      MessageIcon::kInformation);
  return nullptr;
}

bool Launch::RunningGameCanBeReached() {
  const std::optional<FoundGame> found = host_.game.Find();
  if (!found || found->reachable() || found->windows) return true;
  host_.messages.Show(
      "Game is running",
      (found->program != nullptr ? found->program->path : std::string("Quake III Arena")) +
          " is running, and nothing can hand it the demos: its console takes no lines from "
          "Reelwright.\r\nClose the game, then play again.",
      MessageIcon::kInformation);
  return false;
}

Launch::Staging Launch::Stage(const LaunchDemo& demo, const GameProgram& program,
                              const std::string& modFolder, size_t position) {
  const DemoPlace place{demo.archiveMember(), demo.location, demo.name,
                        demo.protocol,        modFolder,     demo.archiveFolder};
  if (std::optional<std::string> playName = install_.PlayNameInPlace(place, program)) {
    // A name the console would split or unquote plays from a copy under a name of our own.
    if (IsConsoleWord(*playName)) return {Staged::kInPlace, std::move(*playName)};
  }
  if (demo.kind < 0 || demo.kind > 3) return {Staged::kLeftOut, {}};

  const std::string temporary = TemporaryDemoName(position, demo.protocol, demo.name);
  // A fresh game has no demos folder until it records one, and an engine's home path may not
  // be there before its first start.
  const std::string demosFolder = Join(program.StagingFolder(), "demos");
  CreateFolders(host_.files, demosFolder);
  const std::string target = Join(demosFolder, temporary);
  if (demo.kind == 0) {
    const bool copied = host_.files.CopyFile(Join(demo.location, demo.name), target).ok();
    return {copied ? Staged::kStaged : Staged::kCopyFailed, temporary};
  }
  const std::string member =
      demo.archiveFolder.empty() ? demo.name : demo.archiveFolder + "\\" + demo.name;
  ArchiveCursor cursor;
  const int found = ArchiveFind(demo.location, member, cursor);
  ArchiveClose(cursor);
  if (found != kArchiveMember) return {Staged::kExtractFailed, temporary};
  const int code = host_.extractor.unzipfiletodisk(demo.location, target, 0, extractionCancel,
                                                   cursor.localHeaderOffset);
  return {code == kExtractOk ? Staged::kStaged : Staged::kExtractFailed, temporary};
}

bool Launch::ReportStagingFailure(const LaunchDemo& demo, Staged outcome) {
  if (outcome == Staged::kCopyFailed) {
    host_.messages.Show("File Copy ERROR", "Could not copy file " + demo.name + "!",
                        MessageIcon::kError);
    return true;
  }
  if (outcome == Staged::kExtractFailed) {
    host_.messages.Show(
        "File Extract/Copy ERROR",
        "Could not extract file " + demo.name + " from archive " + demo.location + "!",
        MessageIcon::kError);
    return true;
  }
  return false;
}

void Launch::SwitchToGenerationOf(const GameProgram& program, const LaunchDemo& demo,
                                  const LaunchOptions& options) {
  if (program.native() || !options.switchVersions || !install_.IsSwitchingAvailable()) return;
  // The switch chooses between 1.17 and 1.27 only.
  const DemoGeneration generation = GenerationOfListedDemo(demo.protocol, demo.name);
  if (generation != DemoGeneration::k117 && generation != DemoGeneration::k127) return;
  const bool wantNew = generation == DemoGeneration::k127;
  if (install_.IsNewGenerationActive() != wantNew) {
    host_.versions.Switch(wantNew, options.globalParameters);
  }
}

std::optional<std::string> Launch::StartParameters(const GameProgram& program,
                                                   const std::string& modFolder,
                                                   const LaunchOptions& options) {
  std::string modArgument;
  if (options.modDemos && !EqualsIgnoringAnsiCase(modFolder, install_.baseFolder())) {
    const std::string mod = LastComponent(modFolder);
    const std::optional<std::string> argument = CommandLineArgument(mod);
    if (!argument) {
      host_.messages.Show("RWT: Game Start Error",
                          "The mod folder " + mod +
                              " cannot be named on the game's command line.\r\nRename it, or "
                              "uncheck \"Options/Play Demos as Mod Demos\".",
                          MessageIcon::kError);
      return std::nullopt;
    }
    modArgument = "+set fs_game " + *argument;
  }
  std::string engine;
  if (program.hasCommandPipe() && !SetsVariable(options.globalParameters, "com_pipefile")) {
    // The engine reads console lines from this pipe in its home path: how a later play
    // reaches it.
    engine += " +set com_pipefile " + std::string(kPipeName);
  }
  if (program.needsBasePath && !SetsVariable(options.globalParameters, "fs_basepath")) {
    const std::optional<std::string> folder = CommandLineArgument(program.basePath);
    if (!folder) {
      host_.messages.Show("RWT: Game Start Error",
                          "The game folder " + program.basePath + " cannot be named on the " +
                              "command line of " + program.path +
                              ".\r\nRename the folder, or put the engine into it.",
                          MessageIcon::kError);
      return std::nullopt;
    }
    engine += " +set fs_basepath " + *folder;
  }
  return options.globalParameters + " " + modArgument + engine + " +exec rwttmp.rwt";
}

bool Launch::StartWithScript(const GameProgram& program, const std::string& modFolder,
                             const LaunchOptions& options) {
  const std::optional<std::string> parameters = StartParameters(program, modFolder, options);
  if (!parameters) return false;
  const bool withMod =
      options.modDemos && !EqualsIgnoringAnsiCase(modFolder, install_.baseFolder());
  // A line that reached no console did not play anything: the game starts afresh.
  if (!withMod && host_.game.HandOver(program, "exec rwttmp.rwt")) return true;
  if (const std::optional<FoundGame> found = host_.game.Find()) {
    if (found->process == 0) {
      // The Windows game's way: asked once through its windows, not waited for.
      host_.game.CloseWindows();
    } else if (!host_.game.CloseWithin(kGameWaitLimitMs)) {
      host_.messages.Show(
          "Game is running",
          (found->program != nullptr ? found->program->path : std::string("Quake III Arena")) +
              " did not quit.\r\nClose the game, then play again.",
          MessageIcon::kInformation);
      return false;
    }
  }
  return StartGame(host_.shell, host_.messages, program.path, program.basePath, *parameters);
}

bool Launch::PlayOneDemo(const ListRow& row, const LaunchOptions& options) {
  const LaunchDemo demo = LaunchDemoFromRow(row);
  const GameProgram* program = ProgramFor(demo);
  if (program == nullptr || !RunningGameCanBeReached()) return false;
  const std::string modFolder = install_.ResolveModFolder(demo.mod);
  currentModFolder_ = modFolder;
  stagingFolder_ = program->StagingFolder();
  const Staging staging = Stage(demo, *program, SearchedModFolder(modFolder, options), 0);
  if (ReportStagingFailure(demo, staging.outcome) || staging.outcome == Staged::kLeftOut) {
    return false;
  }
  // The staged copy has the extension of the demo's generation, whatever its name ends in.
  if (!MakeTmpPlayList(host_.files, host_.messages, stagingFolder_, options.script,
                       NameLowerText(demo.name), staging.playName)) {
    return false;
  }
  SwitchToGenerationOf(*program, demo, options);
  return StartWithScript(*program, modFolder, options);
}

bool Launch::CreatePlaylist(const RowList& playList, const LaunchOptions& options) {
  if (playList.size() >= kTooManyEntries &&
      host_.messages.Show("Q3A Limitation Warning: Cbuf_InsertText overflowed",
                          "Perhaps there are too many items in playlist. Less than 30 items in "
                          "playlist should be save.\r\nTry to play the list nevertheless ?",
                          MessageIcon::kQuestion, MessageButtons::kYesNo) != MessageAnswer::kYes) {
    return false;
  }
  if (playList.empty()) return false;
  const GameProgram* program = ProgramFor(LaunchDemoFromRow(playList.front().columns));
  if (program == nullptr || !RunningGameCanBeReached()) return false;
  stagingFolder_ = program->StagingFolder();
  std::vector<std::string> records;
  std::optional<LaunchDemo> first;
  std::string firstMod;
  for (size_t position = 0; position < playList.size(); ++position) {
    const LaunchDemo demo = LaunchDemoFromRow(playList[position].columns);
    const std::string mod = install_.ResolveModFolder(demo.mod);
    if (!first) {
      first = demo;
      firstMod = mod;
    }
    if (GenerationOfListedDemo(demo.protocol, demo.name) !=
        GenerationOfListedDemo(first->protocol, first->name)) {
      host_.messages.Show("Protocol Version Mismatch in Playlist",
                          GenerationMismatchText(*first, demo), MessageIcon::kError);
      RemoveTemporaryFiles();
      return false;
    }
    if (options.modDemos && mod != firstMod) {
      host_.messages.Show("MOD Mismatch in Playlist", ModMismatchText(*first, firstMod, demo, mod),
                          MessageIcon::kError);
      RemoveTemporaryFiles();
      return false;
    }
    const Staging staging = Stage(demo, *program, SearchedModFolder(mod, options), position);
    if (ReportStagingFailure(demo, staging.outcome) || staging.outcome == Staged::kLeftOut) {
      continue;
    }
    records.push_back(staging.playName + "*" + DisplayPath(demo));
  }
  // The script's chain needs at least one demo.
  if (records.empty()) {
    host_.messages.Show("Playlist Error",
                        "None of the demos in the playlist could be made ready for the game.\r\n"
                        "Playlist can not be played!",
                        MessageIcon::kError);
    return false;
  }
  if (onPlayListStaged) onPlayListStaged();
  if (!WritePlayListScript(host_.files, host_.messages, stagingFolder_, options.script, records)) {
    return false;
  }
  SwitchToGenerationOf(*program, *first, options);
  return StartWithScript(*program, firstMod, options);
}

std::string Launch::SearchedModFolder(const std::string& modFolder,
                                      const LaunchOptions& options) const {
  // Without "+set fs_game" the game searches no mod folder.
  return options.modDemos ? modFolder : install_.baseFolder();
}

void Launch::RemoveTemporaryFiles() {
  if (host_.game.IsRunning()) return;
  for (const std::string& folder : install_.StagingFolders()) {
    const std::string demosFolder = Join(folder, "demos");
    for (const DirectoryEntry& entry : host_.files.List(demosFolder, "rwttmp*.*")) {
      if (!entry.isFolder && IsTemporaryDemoName(entry.name)) {
        host_.files.DeleteFile(Join(demosFolder, entry.name));
      }
    }
    const std::string script = Join(folder, kScriptFileName);
    if (host_.files.Exists(script)) host_.files.DeleteFile(script);
  }
}

}  // namespace rw
