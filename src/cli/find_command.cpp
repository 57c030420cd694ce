#include <iostream>
#include <memory>

#include "cli/cli_front_end.h"
#include "cli/command_registry.h"
#include "cli/program_options.h"
#include "cli/scan_listing.h"
#include "host/posix/posix_file_system.h"

namespace rw::cli {
namespace {

struct FindOptions {
  ProgramOptions program;
  bool json = false;
  std::vector<std::string> folders;
  std::vector<std::string> query;
};

// Whether a term reads the players' names, which demos taken from a parse cache lack.
bool ReadsPlayers(const DemoQuery& query) {
  for (const QueryTerm& term : query.terms) {
    if (term.field == QueryField::kWords || term.field == QueryField::kPlayer) return true;
  }
  return false;
}

int RunFind(const FindOptions& options) {
  std::string text;
  for (const std::string& word : options.query) text += (text.empty() ? "" : " ") + word;
  const ParsedQuery parsed = ParseDemoQuery(text);
  if (parsed.error) {
    std::cerr << "reelwright-cli find: " << QueryErrorText(*parsed.error) << "\n  " << text
              << "\n  " << std::string(parsed.error->column - 1, ' ') << "^\n";
    return kExitUsage;
  }
  std::vector<std::string> folders;
  for (std::string folder : options.folders) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (!PosixFileSystem().IsFolder(folder)) {
      std::cerr << "reelwright-cli find: " << folder << " is not a folder\n";
      return kExitFailure;
    }
    folders.push_back(folder);
  }
  CliFrontEnd frontEnd;
  const std::unique_ptr<Session> session = OpenSession(options.program, frontEnd.seams());
  if (!session) return kExitFailure;
  if (session->index() == nullptr) {
    std::cerr << "reelwright-cli find: there is no library index to search\n";
    return kExitFailure;
  }
  const bool wholeTree = folders.empty();
  if (wholeTree) {
    session->LoadTree();
    folders = session->TreeFolders();
    if (folders.empty()) {
      std::cerr << "reelwright-cli find: the saved folder tree is empty; name folders with --in\n";
      return kExitFailure;
    }
  }
  TerminalScanStatus status;
  session->IndexFolders(folders, !wholeTree, status);
  if (ReadsPlayers(parsed.query)) session->ReadMissingPlayersIn(folders);
  FoundRows found = session->FindDemos(parsed.query, folders);
  RowList rows;
  for (ListRow& row : found.rows) rows.push_back({std::move(row), false});
  const std::string summary = std::to_string(rows.size()) + " item(s) found in " +
                              std::to_string(folders.size()) + " folder(s).";
  if (options.json) {
    PrintRowsAsJson(rows, summary);
  } else {
    PrintRowsAsText(rows, summary);
  }
  return rows.empty() ? kExitFailure : kExitOk;
}

[[maybe_unused]] const bool registered = RegisterCommand(25, [](CLI::App& app, int& exitCode) {
  auto options = std::make_shared<FindOptions>();
  CLI::App* command = app.add_subcommand(
      "find",
      "Finds demos in the library index: every folder of the saved folder tree, or the --in\n"
      "folders (each itself, not its sub-folders). Folders the index does not hold yet are\n"
      "listed first as scan lists them (with --in also those without a parse cache), and\n"
      "demos whose players are not known yet are read when the query needs them. Prints the\n"
      "matching rows as scan does, then \"N item(s) found in F folder(s).\"\n"
      "QUERY: free words and \"phrases\" (name, map, host, players, mod, winner, notes), and\n"
      "map: player: mod: type: host: in: (text; \"=\" for the whole text, type:ctf/duel/ffa/\n"
      "tdm), proto: rating: len: (=, <, <=, >, >=; len:>10m), after: before: (2001-05-01);\n"
      "-TERM leaves out what matches (put \"--\" before a query that starts with \"-\").\n"
      "Case, accents and colour codes do not count.\n"
      "Exit status: 0 with matches, 1 without (or on a failure), 2 on a query that does not\n"
      "parse (stderr says where and why).");
  command->add_flag("--json", options->json,
                    "Print one UTF-8 JSON object instead: \"rows\" (objects keyed by column "
                    "caption) and \"summary\"");
  AddProgramOptions(*command, options->program);
  // One folder a time, so that "--" after it ends the options rather than its folders.
  command->add_option("--in", options->folders, "Search this folder (repeat for more)")
      ->type_name("FOLDER")
      ->allow_extra_args(false);
  command->add_option("QUERY", options->query, "What to find; its words are joined by blanks")
      ->required();
  command->callback([options, &exitCode] { exitCode = RunFind(*options); });
});

}  // namespace
}  // namespace rw::cli
