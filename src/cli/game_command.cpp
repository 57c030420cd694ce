#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/cli_front_end.h"
#include "cli/command_registry.h"
#include "cli/program_options.h"
#include "text/name_text.h"

#ifndef _WIN32
#include "host/posix/posix_shell.h"
#endif

namespace rw::cli {
namespace {

struct GameOptions {
  ProgramOptions program;
  bool json = false;
};

std::string OriginName(ProgramOrigin origin) {
  switch (origin) {
    case ProgramOrigin::kSystem:
      return "system";
    case ProgramOrigin::kSearchPath:
      return "PATH";
    case ProgramOrigin::kGameFolder:
      break;
  }
  return "game folder";
}

bool ThroughWine(const GameProgram& program) {
#ifdef _WIN32
  (void)program;
  return false;
#else
  return !program.native() && IsWindowsProgram(program.path);
#endif
}

std::vector<int> Protocols(const GameProgram& program) {
  std::vector<int> protocols;
  for (const DemoGeneration generation : GenerationsOf(program)) {
    for (const int protocol : ProtocolsOf(generation)) protocols.push_back(protocol);
  }
  return protocols;
}

std::string Joined(const std::vector<std::string>& texts, const std::string& between) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : between) + text;
  return joined;
}

void PrintText(const GameInstall& game) {
  std::cout << "game folder: " << NameToUtf8(game.gameFolder()) << '\n';
  for (const GameProgram& program : game.programs()) {
    std::cout << "program: " << EngineName(program) << ' ' << NameToUtf8(program.path) << '\n'
              << "  found in: " << OriginName(program.origin) << '\n';
    if (!program.versions.empty()) {
      std::cout << "  versions: " << Joined(program.versions, " ") << '\n';
    }
    if (ThroughWine(program)) std::cout << "  runs through: wine\n";
    std::string protocols;
    for (const int protocol : Protocols(program)) {
      protocols += (protocols.empty() ? "" : " ") + std::to_string(protocol);
    }
    std::cout << "  plays protocols: " << (protocols.empty() ? "none" : protocols) << '\n'
              << "  base path: " << NameToUtf8(program.basePath) << '\n'
              << "  home path: " << NameToUtf8(program.homePath) << '\n'
              << "  staging folder: " << NameToUtf8(program.StagingFolder()) << '\n'
              << "  command pipe: " << (program.hasCommandPipe() ? "yes" : "no") << '\n';
  }
  for (const ModRecord& mod : game.mods()) {
    std::cout << "mod: " << NameToUtf8(mod.folder) << ' ' << NameToUtf8(mod.root) << '/'
              << NameToUtf8(mod.folder) << '\n';
  }
}

void PrintJson(const GameInstall& game) {
  nlohmann::ordered_json out;
  out["gameFolder"] = NameToUtf8(game.gameFolder());
  out["programs"] = nlohmann::ordered_json::array();
  for (const GameProgram& program : game.programs()) {
    nlohmann::ordered_json object;
    object["engine"] = EngineName(program);
    object["path"] = NameToUtf8(program.path);
    object["foundIn"] = OriginName(program.origin);
    object["versions"] = program.versions;
    object["wine"] = ThroughWine(program);
    object["protocols"] = Protocols(program);
    object["basePath"] = NameToUtf8(program.basePath);
    object["homePath"] = NameToUtf8(program.homePath);
    object["stagingFolder"] = NameToUtf8(program.StagingFolder());
    object["commandPipe"] = program.hasCommandPipe();
    out["programs"].push_back(std::move(object));
  }
  out["mods"] = nlohmann::ordered_json::array();
  for (const ModRecord& mod : game.mods()) {
    nlohmann::ordered_json object;
    object["name"] = NameToUtf8(mod.folder);
    object["folder"] = NameToUtf8(mod.root + "/" + mod.folder);
    nlohmann::ordered_json archives = nlohmann::ordered_json::array();
    for (const std::string& archive : mod.archives) archives.push_back(NameToUtf8(archive));
    object["archives"] = std::move(archives);
    out["mods"].push_back(std::move(object));
  }
  std::cout << out.dump(2) << '\n';
}

int RunGame(const GameOptions& options) {
  CliFrontEnd frontEnd;
  const std::unique_ptr<Session> session = OpenSession(options.program, frontEnd.seams());
  if (!session) return kExitFailure;
  const GameInstall& game = session->game();
  if (options.json) {
    PrintJson(game);
  } else {
    PrintText(game);
  }
  if (!game.programs().empty()) return kExitOk;
  std::cerr << "reelwright-cli game: " << NameToUtf8(game.gameFolder())
            << " holds no program that plays Quake III Arena demos. "
            << LookedForText(EngineSearchFromEnvironment(session->globalParameters())) << '\n';
  return kExitFailure;
}

[[maybe_unused]] const bool registered = RegisterCommand(30, [](CLI::App& app, int& exitCode) {
  auto options = std::make_shared<GameOptions>();
  CLI::App* command = app.add_subcommand(
      "game",
      "Prints what plays the demos of the game folder: each program (quake3.exe, run through\n"
      "wine when it is a Windows program, with its versions; ioquake3 or Quake3e in the game\n"
      "folder, or, for a game folder with a baseq3 folder and no engine of its own, ioquake3\n"
      "where Debian installs it and the engines on PATH), the protocols it plays, its base path\n"
      "(the game folder), its home path (\"+set fs_homepath\" in q3a_start_param, else ~/.q3a;\n"
      "the game folder for quake3.exe), the staging folder where demos and the script go, and\n"
      "whether it takes console lines through a command pipe; then the mods (folders beside\n"
      "baseq3 in the game folder and the home paths). Exits 1, with what was looked for on\n"
      "stderr, when no program is found.");
  command->add_flag("--json", options->json,
                    "Print one UTF-8 JSON object instead: gameFolder, programs (engine, path, "
                    "foundIn, versions, wine, protocols, basePath, homePath, stagingFolder, "
                    "commandPipe) and mods (name, folder, archives)");
  AddProgramOptions(*command, options->program);
  command->callback([options, &exitCode] { exitCode = RunGame(*options); });
  return true;
});

}  // namespace
}  // namespace rw::cli
