#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_front_end.h"
#include "cli/command_registry.h"
#include "cli/program_options.h"
#include "model/list_rules.h"
#include "playback/play_list_file.h"
#include "text/windows_1252.h"

#ifdef _WIN32
#include "host/win32/win32_shell.h"
#include "host/win32/win32_window_system.h"
#else
#include "host/posix/posix_shell.h"
#include "host/posix/proc_process_table.h"
#include "host/posix/x11_window_system.h"
#endif

namespace rw::cli {
namespace {

constexpr const char* kPlayHelp =
    "Plays demos in Quake III Arena. An ITEM is a demo file (.dm3, .dm_48, .dm_66 to .dm_68),\n"
    "an archive member written as ARCHIVE::MEMBER-PATH (its path inside the ZIP, PK3 or\n"
    "self-extracting archive, with / or \\ between folders), or a play list file (.rwt).\n"
    "One demo plays as a single demo; several items, a play list file or --playlist play as\n"
    "a play list, in the order given. The demos play in the program of their generation (see\n"
    "the game command): 1.17 and 1.27 demos in quake3.exe, 66 to 68 demos in ioquake3 or\n"
    "Quake3e, else in a quake3.exe of 1.32; without one the play is refused. Demos the program\n"
    "cannot play where they lie are copied or extracted into the demos folder of its staging\n"
    "folder (baseq3 of the game folder for quake3.exe, baseq3 of the home path for an engine)\n"
    "as rwttmpNN and the demo's extension (NN the position), and the script rwttmp.rwt there\n"
    "chains them. The game switches to the demos' version when the game folder holds both.\n"
    "A running game is found by its process and handed \"exec rwttmp.rwt\" (ioquake3 through\n"
    "its command pipe, the Windows game typed into its console), unless a mod has to be set;\n"
    "otherwise the program is (re)started in the game folder with the parameters: the global\n"
    "parameters (q3a_start_param), a blank, the mod argument (\"+set fs_game MOD\" for mod\n"
    "demos, else empty), for an engine \" +set com_pipefile rwtpipe\" and, when it lies outside\n"
    "the game folder, \" +set fs_basepath GAME\", and \" +exec rwttmp.rwt\". A running game\n"
    "nothing can reach is left alone and the play stops.\n"
    "Settings not given here come from Reelwright.cfg: loop_demos, time_demos, mod_demos,\n"
    "q3a_start_param and the playback keys.\n"
    "A demo's mod is the first mod folder, by name with case ignored, named like the mod and\n"
    "holding a .pk3, or holding MOD.pk3. Relative lines of a .rwt file name files beside it.\n"
    "Names the console would split or unquote are played from a copy, never where they lie;\n"
    "only rwttmpNN copies and rwttmp.rwt are ever deleted, never while the game runs.\n"
    "--dry-run stages the demos and writes the script, starts nothing and prints four lines:\n"
    "  program: PATH       what would start (after \"wine \" for a Windows program on Linux)\n"
    "  parameters: TEXT    the parameter text exactly, blanks included\n"
    "  folder: PATH        the working folder\n"
    "  staging: PATH       where the script and, in its demos folder, the staged demos went\n"
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

class SilentStatus : public ScanStatus {
 public:
  void ShowParsing(const std::string&) override {}
  void ShowProgress(const ScanProgress&) override {}
  void MarkFolder(bool) override {}
  void ShowSummary(const std::string&) override {}
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
std::optional<std::vector<ListRow>> ItemRows(const std::string& item, Session& session) {
  SilentStatus status;
  if (IsPlayListFile(item)) {
    std::vector<ListRow> rows;
    if (!session.ReadPlayListFile(Absolute(item), status, rows).loaded) return std::nullopt;
    if (rows.empty()) {
      Fail(item, std::string(kPlayListCorrupted));
      return std::nullopt;
    }
    return rows;
  }
  const size_t marker = item.rfind("::");
  if (marker == std::string::npos) {
    const std::string path = Absolute(item);
    if (!session.files().Exists(path) || session.files().IsFolder(path)) {
      Fail(item, "no such demo file");
      return std::nullopt;
    }
    std::vector<ListRow> rows = session.RowsOf(ScanEntry::DemoFile(path), status);
    if (rows.empty()) {
      Fail(item, "not a demo file (.dm3, .dm_48, .dm_66 to .dm_68)");
      return std::nullopt;
    }
    return rows;
  }
  const std::string archive = Absolute(item.substr(0, marker));
  std::string member = item.substr(marker + 2);
  for (char& c : member) c = c == '/' ? '\\' : c;
  if (!session.files().Exists(archive)) {
    Fail(item, "no such archive");
    return std::nullopt;
  }
  std::optional<ListRow> row = session.RowOfMember(archive, member, status);
  if (!row) {
    Fail(item, "the archive holds no demo " + member);
    return std::nullopt;
  }
  return std::vector<ListRow>{std::move(*row)};
}

std::string ProgramText(const std::string& program) {
#ifdef _WIN32
  return program;
#else
  return IsWindowsProgram(program) ? "wine " + program : program;
#endif
}

int Play(const PlayRequest& request) {
  CliFrontEnd frontEnd(request.yes);
  RehearsalShell rehearsal;
  NoGameWindows noGame;
  NoGameProcesses noProcesses;
#ifdef _WIN32
  Win32Shell systemShell;
  Win32WindowSystem systemWindows;
  NoGameProcesses systemProcesses;
#else
  PosixShell systemShell;
  X11WindowSystem systemWindows;
  ProcProcessTable systemProcesses;
#endif
  const FrontEnd seams = request.dryRun
                             ? frontEnd.seams(rehearsal, noGame, noProcesses)
                             : frontEnd.seams(systemShell, systemWindows, systemProcesses);
  const std::unique_ptr<Session> session = OpenSession(request.program, seams, true);
  if (!session) return kExitFailure;

  RowList playList;
  for (const std::string& item : request.items) {
    const std::optional<std::vector<ListRow>> rows = ItemRows(item, *session);
    if (!rows) return kExitFailure;
    for (const ListRow& row : *rows) playList.push_back({row, false});
  }
  const bool single = !request.playList && request.items.size() == 1 &&
                      !IsPlayListFile(request.items[0]) && playList.size() == 1;
  if (single && !IsPlayable(playList[0].columns)) {
    Fail(request.items[0], "the demo cannot be played (unreadable, or protocol 46)");
    return kExitFailure;
  }

  const PlayChoices choices{request.loop, request.timeDemo, request.noModDemos, !request.dryRun};
  // As at the program's start: what an earlier launch staged goes first.
  session->RemoveTemporaryFiles();
  const bool played = single ? session->PlayOneDemo(playList[0].columns, choices)
                             : session->PlayList(playList, choices);
  if (!played) return kExitFailure;
  if (request.dryRun && rehearsal.program) {
    std::cout << "program: " << ProgramText(*rehearsal.program) << '\n'
              << "parameters: " << rehearsal.parameters << '\n'
              << "folder: " << rehearsal.workingFolder << '\n'
              << "staging: " << session->stagingFolder() << '\n';
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
