#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/extractor.h"
#include "cli/cli_messages.h"
#include "cli/command_registry.h"
#include "cli/program_options.h"
#include "demo/demo_reader.h"
#include "host/icu_locale.h"
#include "host/message_pump.h"
#include "library/scan_demos.h"
#include "library/scan_reader_sources.h"
#include "model/game_install.h"
#include "model/list_rules.h"
#include "playback/control_keys.h"
#include "playback/game_window.h"
#include "playback/generation_switch.h"
#include "playback/launch.h"
#include "playback/play_list_file.h"
#include "text/windows_1252.h"

#include "host/posix/posix_file_system.h"
#include "host/posix/steady_clock.h"

#ifdef _WIN32
#include "host/win32/win32_shell.h"
#include "host/win32/win32_window_system.h"
#else
#include "host/posix/posix_shell.h"
#include "host/posix/x11_window_system.h"
#endif

namespace rw::cli {
namespace {

constexpr const char* kPlayHelp =
    "Plays demos in Quake III Arena. An ITEM is a demo file (.dm3 or .dm_48), an archive\n"
    "member written as ARCHIVE::MEMBER-PATH (its path inside the ZIP, PK3 or self-extracting\n"
    "archive, with / or \\ between folders), or a play list file (.rwt).\n"
    "One demo plays as a single demo; several items, a play list file or --playlist play as\n"
    "a play list, in the order given. Demos the game cannot play where they lie are copied or\n"
    "extracted into baseq3/demos as rwttmpNN.dm3 or rwttmpNN.dm_48 (NN the position), and the\n"
    "script baseq3/rwttmp.rwt chains them. The game switches to the demos' version when the\n"
    "game folder holds both. A running game is handed the script by typing \"exec rwttmp.rwt\"\n"
    "into its console, unless a mod has to be set; otherwise quake3.exe is (re)started in the\n"
    "game folder with the parameters: the global parameters (q3a_start_param), a blank, the\n"
    "mod argument (\"+set fs_game MOD\" for mod demos, else empty) and \" +exec rwttmp.rwt\".\n"
    "Settings not given here come from Reelwright.cfg: loop_demos, time_demos, mod_demos,\n"
    "q3a_start_param and the playback keys.\n"
    "A demo's mod is the first mod folder, by name with case ignored, named like the mod and\n"
    "holding a .pk3, or holding MOD.pk3. Relative lines of a .rwt file name files beside it.\n"
    "Names the console would split or unquote are played from a copy, never where they lie;\n"
    "only rwttmpNN.dm3, rwttmpNN.dm_48 and rwttmp.rwt are ever deleted.\n"
    "--dry-run stages the demos and writes the script, starts nothing and prints three lines:\n"
    "  program: PATH       what would start (after \"wine \" for a Windows program on Linux)\n"
    "  parameters: TEXT    the parameter text exactly, blanks included\n"
    "  folder: PATH        the working folder\n"
    "Exits 1 when an item is no playable demo or the launch stopped (reported on stderr).";

struct PlayRequest {
  ProgramOptions program;
  std::vector<std::string> items;
  bool playList = false;
  bool loop = false;
  bool timeDemo = false;
  bool noModDemos = false;
  bool dryRun = false;
  bool yes = false;
};

// A rehearsal: remembers what would have started, starts nothing.
class RehearsalShell : public Shell {
 public:
  ShellResult StartProgram(const std::string& program, const std::string& parameters,
                           const std::string& workingFolder) override {
    this->program = program;
    this->parameters = parameters;
    this->workingFolder = workingFolder;
    return {true, ""};
  }
  ShellResult Open(const std::string&) override { return {false, "nothing opens in a dry run"}; }

  std::optional<std::string> program;
  std::string parameters;
  std::string workingFolder;
};

// A rehearsal never finds the game, so it never types into it or closes it.
class NoWindows : public WindowSystem {
 public:
  WindowId FindTopLevel(std::string_view, std::string_view) override { return 0; }
  std::vector<ChildWindow> Children(WindowId) override { return {}; }
  bool Exists(WindowId) override { return false; }
  void SendChar(WindowId, unsigned char) override {}
  void SendClose(WindowId) override {}
};

class SilentStatus : public ScanStatus {
 public:
  void ShowParsing(const std::string&) override {}
  void ShowProgress(const ScanProgress&) override {}
  void MarkFolder(bool) override {}
  void ShowSummary(const std::string&) override {}
};

class RowCollector : public RowSink {
 public:
  void Clear() override { rows.clear(); }
  void Append(ListRow row) override { rows.push_back(std::move(row)); }
  size_t RowCount() const override { return rows.size(); }
  void Resort() override {}

  std::vector<ListRow> rows;
};

// What the items are read with.
struct Library {
  FileSystem& files;
  Messages& messages;
  Clock& clock;
  ScanSources& sources;
  std::string userDataFolder;
};

void Fail(const std::string& item, const std::string& what) {
  std::cerr << "reelwright-cli play: " << item << ": " << what << '\n';
}

bool IsPlayListFile(const std::string& item) {
  return AnsiLowerText(item).ends_with(".rwt") && item.find("::") == std::string::npos;
}

std::string Absolute(const std::string& path) {
  return std::filesystem::absolute(path).lexically_normal().string();
}

// The rows an item stands for; nullopt when it names no demo (reported).
std::optional<std::vector<ListRow>> ItemRows(const std::string& item, Library& library) {
  const std::unique_ptr<IcuLocale> userLocale = IcuLocale::FromEnvironment();
  const Locale& locale = *userLocale;
  AppState state;
  SilentStatus status;
  RowCollector unused;
  RowCollector rows;
  ScanContext context{library.files, locale, library.clock,         state, library.sources, status,
                      unused,        rows,   library.userDataFolder};
  if (IsPlayListFile(item)) {
    const PlayListLoad load = LoadPlayList(Absolute(item), context, library.messages);
    if (!load.loaded) return std::nullopt;
    if (rows.rows.empty()) {
      Fail(item, std::string(kPlayListCorrupted));
      return std::nullopt;
    }
    return rows.rows;
  }
  const size_t marker = item.rfind("::");
  if (marker == std::string::npos) {
    const std::string path = Absolute(item);
    if (!library.files.Exists(path) || library.files.IsFolder(path)) {
      Fail(item, "no such demo file");
      return std::nullopt;
    }
    ScanDemos(ScanEntry::DemoFile(path), context);
    if (rows.rows.empty()) {
      Fail(item, "not a demo file (.dm3 or .dm_48)");
      return std::nullopt;
    }
    return rows.rows;
  }
  const std::string archive = Absolute(item.substr(0, marker));
  std::string member = item.substr(marker + 2);
  for (char& c : member) c = c == '/' ? '\\' : c;
  const size_t slash = member.rfind('\\');
  const std::string name = slash == std::string::npos ? member : member.substr(slash + 1);
  const std::string folder = slash == std::string::npos ? "" : member.substr(0, slash);
  if (!library.files.Exists(archive)) {
    Fail(item, "no such archive");
    return std::nullopt;
  }
  ScanDemos(ScanEntry::ArchiveMembers(archive, name), context);
  // The scan finds the name in every folder of the archive; the item names one of them.
  for (const ListRow& row : rows.rows) {
    if (EqualsIgnoringAnsiCase(row[kArchiveLocationColumn], folder))
      return std::vector<ListRow>{row};
  }
  Fail(item, "the archive holds no demo " + member);
  return std::nullopt;
}

std::string ProgramText(const std::string& program) {
#ifdef _WIN32
  return program;
#else
  return IsWindowsProgram(program) ? "wine " + program : program;
#endif
}

int Play(const PlayRequest& request) {
  PosixFileSystem files;
  CliMessages messages(request.yes);
  const std::optional<Program> program = LoadProgram(request.program, files, messages, true);
  if (!program) return kExitFailure;
  const Settings& settings = program->settings;

  SteadyClock clock;
  NoMessagePump pump;
  const std::unique_ptr<IcuLocale> userLocale = IcuLocale::FromEnvironment();
  const Locale& locale = *userLocale;
  AppState state;
  DemoReader reader(messages, locale, files);
  ReaderScanSources sources(reader, files, messages, state);
  Library library{files, messages, clock, sources, program->paths.userDataFolder};
  RowList playList;
  for (const std::string& item : request.items) {
    const std::optional<std::vector<ListRow>> rows = ItemRows(item, library);
    if (!rows) return kExitFailure;
    for (const ListRow& row : *rows) playList.push_back({row, false});
  }
  const bool single = !request.playList && request.items.size() == 1 &&
                      !IsPlayListFile(request.items[0]) && playList.size() == 1;
  if (single && !IsPlayable(playList[0].columns)) {
    Fail(request.items[0], "the demo cannot be played (unreadable, or protocol 46)");
    return kExitFailure;
  }

  const GlobalSettings& global = settings.global;
  const PlaybackControls controls({global.ff_key, global.sm_key, global.inc_key, global.dec_key,
                                   global.pause_key, global.next_key},
                                  global.q3a_start_param);
  LaunchOptions options;
  options.modDemos = settings.demos.mod_demos && !request.noModDemos;
  options.script = {settings.demos.time_demos || request.timeDemo,
                    settings.demos.loop_demos || request.loop, controls.bindBlock()};
  options.globalParameters = controls.globalParameters();
  options.switchVersions = !request.dryRun;

  GameInstall install(files, global.q3a_dir);
  install.ScanMods();
  RehearsalShell rehearsal;
  NoWindows noWindows;
#ifdef _WIN32
  Win32Shell systemShell;
  Win32WindowSystem systemWindows;
#else
  PosixShell systemShell;
  X11WindowSystem systemWindows;
#endif
  Shell& shell = request.dryRun ? static_cast<Shell&>(rehearsal) : systemShell;
  WindowSystem& windows = request.dryRun ? static_cast<WindowSystem&>(noWindows) : systemWindows;
  GameWindow game(windows, pump, clock);
  GenerationSwitch versions(install, {files, game, shell, messages, pump, clock});
  Extractor extractor(clock, pump, files);
  Launch launch(install, {files, messages, game, versions, shell, extractor});

  // As at the program's start: what an earlier launch staged goes first.
  launch.RemoveTemporaryFiles();
  const bool played = single ? launch.PlayOneDemo(playList[0].columns, options)
                             : launch.CreatePlaylist(playList, options);
  if (!played) return kExitFailure;
  if (request.dryRun && rehearsal.program) {
    std::cout << "program: " << ProgramText(*rehearsal.program) << '\n'
              << "parameters: " << rehearsal.parameters << '\n'
              << "folder: " << rehearsal.workingFolder << '\n';
  }
  return kExitOk;
}

[[maybe_unused]] const bool registered = RegisterCommand(40, [](CLI::App& app, int& exitCode) {
  auto request = std::make_shared<PlayRequest>();
  CLI::App* play = app.add_subcommand("play", kPlayHelp);
  AddProgramOptions(*play, request->program);
  play->add_flag("--playlist", request->playList, "Play even one demo as a play list");
  play->add_flag("--loop", request->loop, "Loop the demos (default: loop_demos)");
  play->add_flag("--timedemo", request->timeDemo, "Time demo mode (default: time_demos)");
  play->add_flag("--no-mod-demos", request->noModDemos,
                 "Do not start the game with the demos' mod (default: mod_demos)");
  play->add_flag("--dry-run", request->dryRun,
                 "Stage and write the script, start nothing, print what would start");
  play->add_flag("--yes", request->yes, "Answer Yes to questions (the 30-entry warning)");
  play->add_option("ITEM", request->items, "demo file, ARCHIVE::MEMBER-PATH or .rwt play list")
      ->required();
  play->callback([request, &exitCode] { exitCode = Play(*request); });
  return true;
});

}  // namespace
}  // namespace rw::cli
