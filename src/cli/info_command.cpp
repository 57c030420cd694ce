#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/cli_front_end.h"
#include "cli/command_registry.h"
#include "demo/demo_info.h"
#include "host/posix/posix_file_system.h"
#include "text/name_text.h"
#include "text/windows_1252.h"

namespace rw::cli {
namespace {

constexpr const char* kHelp =
    "Reads one demo and prints what the demo reader learnt from it.\n"
    "DEMO is a .dm3, .dm_48 or .dm_66 to .dm_68 file, or with --archive the member's path\n"
    "inside ARCHIVE (either separator, letters a-z in any case).\n"
    "--log adds the time-stamped events (scores, votes, chat, game start and end) to the match\n"
    "log. Texts are Windows-1252 shown as UTF-8; colour codes (^ and one character) are shown\n"
    "as terminal colours when stdout is a terminal, else kept as they are.\n"
    "Output: one \"Key: value\" line for each field below, then the players (one line each),\n"
    "the match log, the messages and the DemoInfo fields, each line indented by two blanks.\n"
    "--json prints one UTF-8 JSON object instead:\n"
    "  Result        \"1\" when the server info and the system info were found, else \"0\"\n"
    "  InfoString, MapMessage, MapMusic, GameType, Score1, Score2, Playtime, SizeText,\n"
    "  RecordedText  texts\n"
    "  Protocol      number\n"
    "  ScoresSeen    boolean: a scoreboard was seen\n"
    "  MatchLog      array of texts\n"
    "  Players       array in table order of objects, one a player the properties window\n"
    "                lists (the slots without a name are left out): Name, Team,\n"
    "                DisplaySlot, Score, Time,\n"
    "                Accuracy, Impressives, Excellents, Gauntlets, Defends, Assists, Perfects,\n"
    "                Captures, Rank, Handicap, Wins, Losses, TeamLeader, Model, HeadModel,\n"
    "                Skill (texts as texts, numbers as numbers)\n"
    "  Messages      array of {\"caption\", \"text\"}, every message box the read raised\n"
    "  DemoInfo      object keyed by the 26 column captions, \"Demoname\" to \"Description\",\n"
    "                values as the demo list shows them; the user's notes (POV to\n"
    "                Description) come from \"RWT Data/Demos\" in the program folder\n"
    "Exits 1 when the demo file or the archive member does not exist; a demo that cannot be\n"
    "read still prints, with Result \"0\".";

struct InfoOptions {
  std::string home;
  std::string archive;
  std::string demo;
  bool log = false;
  bool json = false;
};

std::string Utf8(std::string_view text) {
  return Windows1252ToUtf8(text);
}

// The players the properties window lists: every record of the table that has a name.
std::vector<const TPlayer*> ListedPlayers(const DemoReadState& state) {
  std::vector<const TPlayer*> players;
  for (const TPlayer& player : state.Players) {
    if (!player.Name.empty()) players.push_back(&player);
  }
  return players;
}

// The shortest text that reads back as the same number.
std::string NumberText(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

// Colour codes as ANSI colours; a lone caret is dropped as when the code is stripped.
std::string Colored(std::string_view text) {
  static constexpr int kAnsi[8] = {30, 31, 32, 33, 34, 36, 35, 37};
  std::string out;
  bool colored = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '^') {
      out += text[i];
    } else if (i + 1 < text.size() && text[i + 1] != '^') {
      out += "\x1b[" + std::to_string(kAnsi[static_cast<unsigned char>(text[++i]) % 8]) + "m";
      colored = true;
    }
  }
  if (colored) out += "\x1b[0m";
  return out;
}

nlohmann::ordered_json PlayerJson(const TPlayer& p) {
  return {{"Name", Utf8(p.Name)},
          {"Team", p.Team},
          {"DisplaySlot", p.DisplaySlot},
          {"Score", p.Score},
          {"Time", p.Time},
          {"Accuracy", p.Accuracy},
          {"Impressives", p.Impressives},
          {"Excellents", p.Excellents},
          {"Gauntlets", p.Gauntlets},
          {"Defends", p.Defends},
          {"Assists", p.Assists},
          {"Perfects", p.Perfects},
          {"Captures", p.Captures},
          {"Rank", p.Rank},
          {"Handicap", p.Handicap},
          {"Wins", p.Wins},
          {"Losses", p.Losses},
          {"TeamLeader", Utf8(p.TeamLeader)},
          {"Model", Utf8(p.Model)},
          {"HeadModel", Utf8(p.HeadModel)},
          {"Skill", p.Skill}};
}

nlohmann::ordered_json ReadJson(const std::string& result, const DemoReadState& state,
                                const std::vector<CliMessages::Shown>& shown,
                                const DemoInfo& info) {
  nlohmann::ordered_json out;
  out["Result"] = result;
  out["InfoString"] = Utf8(state.InfoString);
  out["MapMessage"] = Utf8(state.MapMessage);
  out["MapMusic"] = Utf8(state.MapMusic);
  out["GameType"] = Utf8(state.GameType);
  out["Protocol"] = state.Protocol;
  out["Score1"] = Utf8(state.Score1);
  out["Score2"] = Utf8(state.Score2);
  out["Playtime"] = Utf8(state.Playtime);
  out["SizeText"] = Utf8(state.SizeText);
  out["RecordedText"] = Utf8(state.RecordedText);
  out["ScoresSeen"] = state.ScoresSeen;
  out["MatchLog"] = nlohmann::ordered_json::array();
  for (const std::string& line : state.MatchLog) out["MatchLog"].push_back(Utf8(line));
  out["Players"] = nlohmann::ordered_json::array();
  for (const TPlayer* player : ListedPlayers(state)) out["Players"].push_back(PlayerJson(*player));
  out["Messages"] = nlohmann::ordered_json::array();
  for (const CliMessages::Shown& message : shown) {
    // A message may carry a name.
    out["Messages"].push_back(
        {{"caption", NameToUtf8(message.caption)}, {"text", NameToUtf8(message.text)}});
  }
  out["DemoInfo"] = nlohmann::ordered_json::object();
  for (size_t field = 0; field < DemoInfo::kFieldCount; ++field) {
    out["DemoInfo"][std::string(kDemoInfoCaptions[field])] = FieldAsUtf8(field, info.fields[field]);
  }
  return out;
}

void PrintForPerson(std::ostream& out, const std::string& result, const DemoReadState& state,
                    const std::vector<CliMessages::Shown>& shown, const DemoInfo& info,
                    bool terminal) {
  const auto text = [terminal](std::string_view value) {
    return Utf8(terminal ? Colored(value) : std::string(value));
  };
  out << "Result: " << result << '\n'
      << "InfoString: " << text(state.InfoString) << '\n'
      << "MapMessage: " << text(state.MapMessage) << '\n'
      << "MapMusic: " << text(state.MapMusic) << '\n'
      << "GameType: " << text(state.GameType) << '\n'
      << "Protocol: " << state.Protocol << '\n'
      << "Score1: " << text(state.Score1) << '\n'
      << "Score2: " << text(state.Score2) << '\n'
      << "Playtime: " << text(state.Playtime) << '\n'
      << "SizeText: " << text(state.SizeText) << '\n'
      << "RecordedText: " << text(state.RecordedText) << '\n'
      << "ScoresSeen: " << (state.ScoresSeen ? "yes" : "no") << '\n';
  const std::vector<const TPlayer*> players = ListedPlayers(state);
  out << "Players: " << players.size() << '\n';
  for (const TPlayer* player : players) {
    const TPlayer& p = *player;
    out << "  " << text(p.Name) << ": Team " << p.Team << ", DisplaySlot " << p.DisplaySlot
        << ", Score " << p.Score << ", Time " << p.Time << ", Accuracy " << p.Accuracy
        << ", Impressives " << p.Impressives << ", Excellents " << p.Excellents << ", Gauntlets "
        << p.Gauntlets << ", Defends " << p.Defends << ", Assists " << p.Assists << ", Perfects "
        << p.Perfects << ", Captures " << p.Captures << ", Rank " << p.Rank << ", Handicap "
        << p.Handicap << ", Wins " << p.Wins << ", Losses " << p.Losses << ", TeamLeader "
        << text(p.TeamLeader) << ", Model " << text(p.Model) << ", HeadModel " << text(p.HeadModel)
        << ", Skill " << NumberText(p.Skill) << '\n';
  }
  out << "MatchLog: " << state.MatchLog.size() << " lines\n";
  for (const std::string& line : state.MatchLog) out << "  " << text(line) << '\n';
  out << "Messages: " << shown.size() << '\n';
  for (const CliMessages::Shown& message : shown) {
    out << "  " << NameToUtf8(message.caption) << ": " << NameToUtf8(message.text) << '\n';
  }
  out << "DemoInfo:\n";
  for (size_t field = 0; field < DemoInfo::kFieldCount; ++field) {
    out << "  " << kDemoInfoCaptions[field] << ": "
        << (HoldsName(field) || HoldsUserText(field) ? FieldAsUtf8(field, info.fields[field])
                                                     : text(info.fields[field]))
        << '\n';
  }
}

int RunInfo(const InfoOptions& options) {
  const bool inArchive = !options.archive.empty();
  std::string name = options.demo;
  if (inArchive) std::replace(name.begin(), name.end(), '/', '\\');
  PosixFileSystem files;
  const std::optional<ListedDemo> demo =
      inArchive ? FindArchiveMember(options.archive, name) : FindDemoFile(files, name);
  if (!demo) {
    std::cerr << "reelwright-cli info: "
              << (!inArchive                       ? name + ": no such demo file"
                  : !files.Exists(options.archive) ? options.archive + ": no such archive"
                                                   : options.archive + ": no member named " + name)
              << '\n';
    return kExitFailure;
  }

  CliFrontEnd frontEnd(false, true);
  const std::unique_ptr<Session> session =
      Session::Open({options.home, "", false, false}, frontEnd.seams());
  const DemoDescription description = session->DescribeDemo(*demo, options.log);
  const DemoReadState& state = session->reader().State();
  const std::vector<CliMessages::Shown>& shown = frontEnd.messages().shown();
  if (options.json) {
    std::cout << ReadJson(description.result, state, shown, description.row).dump(2) << '\n';
  } else {
    PrintForPerson(std::cout, description.result, state, shown, description.row,
                   ::isatty(STDOUT_FILENO));
  }
  return kExitOk;
}

const bool registered = RegisterCommand(20, [](CLI::App& app, int& exitCode) {
  auto options = std::make_shared<InfoOptions>();
  CLI::App* info = app.add_subcommand("info", "Read one demo and print its summary.");
  info->footer(kHelp);
  info->add_option("--archive", options->archive, "read DEMO from inside this archive")
      ->type_name("ARCHIVE");
  info->add_option("--home", options->home,
                   "Folder holding \"RWT Data\" with the user's notes on demos (default: "
                   "$REELWRIGHT_HOME, else the program's folder when writable, else "
                   "$XDG_DATA_HOME/Reelwright)")
      ->type_name("DIR");
  info->add_flag("--log", options->log, "build the full match log");
  info->add_flag("--json", options->json, "print one JSON object");
  info->add_option("DEMO", options->demo, "the demo file, or the member's path")->required();
  info->callback([options, &exitCode] { exitCode = RunInfo(*options); });
  return true;
});

}  // namespace
}  // namespace rw::cli
