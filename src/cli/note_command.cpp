#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_front_end.h"
#include "cli/command_registry.h"
#include "cli/program_options.h"
#include "library/user_data.h"
#include "text/text_lines.h"

namespace rw::cli {
namespace {

struct NoteOptions {
  ProgramOptions program;
  std::optional<std::string> pov;
  std::optional<std::string> rating;
  std::optional<std::string> web;
  std::optional<std::string> description;
  bool clear = false;
  std::string demoName;
};

bool IsRating(const std::string& text) {
  return !text.empty() && text.size() <= 3 &&
         text.find_first_not_of("0123456789") == std::string::npos;
}

bool IsOneLine(const std::optional<std::string>& text) {
  return !text || text->find_first_of("\r\n") == std::string::npos;
}

void PrintNotes(const UserData& data) {
  std::cout << "POV: " << data.POV << '\n'
            << "Rating: " << data.Rating << '\n'
            << "Web: " << data.Web << '\n'
            << "Description:\n";
  for (const std::string& line : data.Description) std::cout << line << '\n';
}

int RunNote(const NoteOptions& options) {
  const bool changes = options.pov || options.rating || options.web || options.description;
  std::string usageError;
  if (options.clear && changes) usageError = "--clear cannot be combined with new values";
  if (options.rating && !IsRating(*options.rating)) usageError = "--rating takes 0 to 999";
  if (!IsOneLine(options.pov) || !IsOneLine(options.web)) {
    usageError = "--pov and --web take one line";
  }
  // The notes are kept per file name, wherever the demo lies; a name stays as typed (UTF-8).
  const std::string demoName = options.demoName.substr(options.demoName.find_last_of('/') + 1);
  if (demoName.empty()) usageError = "DEMONAME is a demo's file name";
  if (!usageError.empty()) {
    std::cerr << "reelwright-cli note: " << usageError << '\n';
    return kExitUsage;
  }

  CliFrontEnd frontEnd;
  const std::unique_ptr<Session> session = OpenSession(options.program, frontEnd.seams());
  if (!session) return kExitFailure;
  const std::string path = session->NotesPath(demoName);
  if (options.clear) {
    if (!session->ClearNotes(demoName)) {
      std::cerr << "reelwright-cli note: " << path << ": cannot delete the file\n";
      return kExitFailure;
    }
    return kExitOk;
  }

  std::optional<UserData> stored = session->ReadNotes(demoName);
  if (!stored) {
    std::cerr << "reelwright-cli note: " << path << ": cannot read the file\n";
    return kExitFailure;
  }
  UserData data = std::move(*stored);
  if (data.Rating.empty()) data.Rating = "0";
  if (!changes) {
    PrintNotes(data);
    return kExitOk;
  }
  if (options.pov) data.POV = *options.pov;
  if (options.rating) data.Rating = *options.rating;
  if (options.web) data.Web = *options.web;
  if (options.description) data.Description = SplitLines(*options.description);
  return session->SaveNotes(demoName, data) ? kExitOk : kExitFailure;
}

const bool registered = RegisterCommand(40, [](CLI::App& app, int& exitCode) {
  auto options = std::make_shared<NoteOptions>();
  CLI::App* command = app.add_subcommand(
      "note",
      "Shows or changes the user's notes on a demo (point of view, rating, web location,\n"
      "description), kept in \"RWT Data/Demos/DEMONAME.description\" of the program folder.\n"
      "Without options it prints four lines \"POV: \", \"Rating: \", \"Web: \" and\n"
      "\"Description:\", the description's lines following the last one. With options it\n"
      "changes the values given and saves them as the user data editor does; all values\n"
      "empty (rating 0) deletes the file.");
  AddProgramOptions(*command, options->program);
  command->add_option("--pov", options->pov, "Point of view: a player's name as the demo gives it");
  command->add_option("--rating", options->rating, "Rating, 0 (none) to 999");
  command->add_option("--web", options->web, "Web location");
  command->add_option("--description", options->description,
                      "Description; line breaks separate its lines, an empty text removes it");
  command->add_flag("--clear", options->clear, "Delete all notes on the demo");
  command->add_option("DEMONAME", options->demoName, "The demo's file name, such as final.dm_48")
      ->required();
  command->callback([options, &exitCode] { exitCode = RunNote(*options); });
});

}  // namespace
}  // namespace rw::cli
