#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli_front_end.h"
#include "cli/command_registry.h"
#include "cli/program_options.h"
#include "cli/scan_listing.h"
#include "host/posix/posix_file_system.h"

namespace rw::cli {
namespace {

struct ScanOptions {
  ProgramOptions program;
  bool json = false;
  size_t jobs = 0;  // 0: one a processor
  std::string folder;
};

int RunScan(const ScanOptions& options) {
  // The rows' locations are full paths, as the windows show them.
  std::string folder = options.folder.empty()
                           ? options.folder
                           : std::filesystem::absolute(options.folder).lexically_normal().string();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (!PosixFileSystem().IsFolder(folder)) {
    std::cerr << "reelwright-cli scan: " << folder << " is not a folder\n";
    return kExitFailure;
  }
  CliFrontEnd frontEnd;
  const std::unique_ptr<Session> session = OpenSession(options.program, frontEnd.seams());
  if (!session) return kExitFailure;
  if (options.jobs > 0) session->SetScanJobs(options.jobs);
  TerminalScanStatus status;
  session->ListFolder(folder, status);
  if (options.json) {
    PrintRowsAsJson(session->demoList().rows(), status.summary());
  } else {
    PrintRowsAsText(session->demoList().rows(), status.summary());
  }
  return kExitOk;
}

[[maybe_unused]] const bool registered = RegisterCommand(20, [](CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ScanOptions>();
  CLI::App* command = app.add_subcommand(
      "scan",
      "Lists the demos of FOLDER as the demo list does (plain .dm3 and .dm_NN files, NN a\n"
      "protocol number, and demos inside ZIP, PK3 and self-extracting archives; sub-folders\n"
      "are not entered; Quake Live and other foreign demos are rows that could not be read),\n"
      "reading only demos its parse cache \"rwt_scan\" does not hold and rewriting that cache.\n"
      "Prints one row a line, 26 tab-separated columns from \"Demoname\" to \"Description\"\n"
      "in the demo list's sort order (tabs inside a value show as blanks), then the summary\n"
      "line. Progress goes to stderr when stderr is a terminal. Demos are read side by side,\n"
      "as many at once as --jobs says; the output is the same for any number.");
  command->add_flag("--json", options->json,
                    "Print one UTF-8 JSON object instead: \"rows\" (objects keyed by column "
                    "caption, in list order) and \"summary\" (the summary line)");
  command
      ->add_option("--jobs", options->jobs,
                   "How many demos to read at once (default: the number of processors)")
      ->check(CLI::Range(1, 256));
  AddProgramOptions(*command, options->program);
  command->add_option("FOLDER", options->folder, "Folder to list")->required();
  command->callback([options, &exitCode] { exitCode = RunScan(*options); });
});

}  // namespace
}  // namespace rw::cli
