#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/extractor.h"
#include "host/cancel.h"
#include "host/file_system.h"
#include "host/messages.h"
#include "host/shell.h"
#include "model/game_install.h"
#include "model/list_row.h"
#include "playback/generation_switch.h"
#include "playback/playback_script.h"
#include "playback/running_game.h"

namespace rw {

// What a launch reads of one demo's row.
struct LaunchDemo {
  std::string name;
  std::string archiveFolder;
  std::string mod;
  std::string protocol;
  std::string location;
  int kind = 0;  // the row image: 0 a plain file, 1 to 3 an archive member, 4 to 7 the same
                 // for a demo that could not be read

  bool archiveMember() const { return kind % 4 != 0; }
};

LaunchDemo LaunchDemoFromRow(const ListRow& row);

// "rwttmp" and the play list position in at least two digits, with the extension the demo
// is played under.
std::string TemporaryDemoName(size_t position, std::string_view protocol, std::string_view name);
// Whether a file of the base demos folder is one of those copies, as written: a user's
// "RWTTMP.final.dm_48" or "rwttmp_cup.dm3" is not.
bool IsTemporaryDemoName(std::string_view name);

// The settings every launch follows.
struct LaunchOptions {
  bool modDemos = true;  // "Play Demos as Mod Demos"
  ScriptOptions script;
  std::string globalParameters;
  // Off for a rehearsal that must leave the installed game version alone.
  bool switchVersions = true;
};

// Stages demos where the program that plays their generation finds them, writes the playback
// script and hands it to the game: to a running game through its command pipe or typed into its
// console, or on the command line of a fresh start.
class Launch {
 public:
  struct Host {
    FileSystem& files;
    Messages& messages;
    RunningGame& game;
    GenerationSwitch& versions;
    Shell& shell;
    Extractor& extractor;
  };

  Launch(const GameInstall& install, Host host) : install_(install), host_(host) {}

  // Runs after a play list is staged, before its script is written: the GUI plays the click
  // sound "sound\\misc\\menu1.wav" and stops the music there.
  std::function<void()> onPlayListStaged;
  // Asked while a member is extracted; the GUI wires it to the Backspace key (8).
  CancelRequested extractionCancel;

  // Plays one demo. True when the game was started or handed the script. The "Play it"
  // commands play the click sound and stop the music before.
  bool PlayOneDemo(const ListRow& row, const LaunchOptions& options);
  // Plays the play list top to bottom. True when the game was started or handed the script;
  // false when the user, a check or a failure stopped it.
  bool CreatePlaylist(const RowList& playList, const LaunchOptions& options);
  // While the game is not running: the staged demos and the script go.
  void RemoveTemporaryFiles();

  // The mod folder of the last single demo played.
  const std::string& currentModFolder() const { return currentModFolder_; }
  // Where the last launch put its script and, in "demos", its staged demos.
  const std::string& stagingFolder() const { return stagingFolder_; }

 private:
  enum class Staged { kInPlace, kStaged, kCopyFailed, kExtractFailed, kLeftOut };
  struct Staging {
    Staged outcome = Staged::kLeftOut;
    std::string playName;
  };

  // The program that plays the demo's generation; nullptr, told to the user, when the game
  // folder has none.
  const GameProgram* ProgramFor(const LaunchDemo& demo);
  // False, told to the user, when a game runs that nothing can reach: its files must stay.
  bool RunningGameCanBeReached();
  Staging Stage(const LaunchDemo& demo, const GameProgram& program, const std::string& modFolder,
                size_t position);
  // The two staging failure messages; false when the demo was staged or is in place.
  bool ReportStagingFailure(const LaunchDemo& demo, Staged outcome);
  void SwitchToGenerationOf(const GameProgram& program, const LaunchDemo& demo,
                            const LaunchOptions& options);
  // The parameter text of a fresh start; nullopt, told to the user, when a folder's name
  // cannot be carried on the game's command line.
  std::optional<std::string> StartParameters(const GameProgram& program,
                                             const std::string& modFolder,
                                             const LaunchOptions& options);
  bool StartWithScript(const GameProgram& program, const std::string& modFolder,
                       const LaunchOptions& options);
  // The mod folder the game will search for the demo.
  std::string SearchedModFolder(const std::string& modFolder, const LaunchOptions& options) const;

  const GameInstall& install_;
  Host host_;
  std::string currentModFolder_;
  std::string stagingFolder_;
};

}  // namespace rw
