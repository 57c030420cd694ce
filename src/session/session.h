#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/extractor.h"
#include "demo/demo_reader.h"
#include "host/clock.h"
#include "host/file_system.h"
#include "host/locale.h"
#include "host/message_pump.h"
#include "host/messages.h"
#include "host/process_table.h"
#include "host/shell.h"
#include "host/silent_messages.h"
#include "host/window_system.h"
#include "library/folder_branch_scan.h"
#include "library/library_index.h"
#include "library/list_filter.h"
#include "library/listed_demo.h"
#include "library/player_view.h"
#include "library/properties.h"
#include "library/scan_entry.h"
#include "library/scan_reader_sources.h"
#include "library/scan_status.h"
#include "library/sorted_rows.h"
#include "library/user_data.h"
#include "library/user_data_editor.h"
#include "model/app_state.h"
#include "model/folder_tree.h"
#include "model/folder_tree_commands.h"
#include "model/game_install.h"
#include "model/program_paths.h"
#include "model/settings.h"
#include "playback/control_keys.h"
#include "playback/game_window.h"
#include "playback/generation_switch.h"
#include "playback/launch.h"
#include "playback/play_list_file.h"
#include "playback/running_game.h"
#include "sound/sound_system.h"

namespace rw {

// A folder given relative to where the program runs, made absolute; the game must get full
// paths (its in-place rules compare them, and it runs from its own folder), and the library
// index names every folder so.
std::string AbsoluteFolder(const std::string& folder);

// What only a front end can give the session: how it shows messages and serves its windows
// during long loops, which locale it reads and writes, how it starts programs and finds the
// running game's process and windows.
struct FrontEnd {
  Messages& messages;
  const Locale& locale;
  MessagePump& pump;
  Shell& shell;
  WindowSystem& windows;
  ProcessTable& processes;
};

// Where a session finds the program's files and the game.
struct SessionOptions {
  std::string home;  // else REELWRIGHT_HOME, else the usual program folder
  std::string game;  // else "q3a_dir" of the configuration
  // Without it the configuration is neither read nor are the program's folders created: a
  // look at one demo changes nothing on disk.
  bool loadConfiguration = true;
  // The game folder must have a program to play its demos; when it does not, the user is asked
  // for it and opening fails when none is given.
  bool needsGame = false;
};

// One demo read in full, as the properties window and "info" show it.
struct DemoDescription {
  std::string result;  // "1" when the server info and the system info were found
  DemoInfo row;        // its 26 columns as the demo list shows them
};

// What playing adds to the configuration's choices.
struct PlayChoices {
  bool loop = false;
  bool timeDemo = false;
  bool noModDemos = false;
  bool switchVersions = true;
};

// The program's one entry point for every front end: it owns the configuration, the paths,
// the readers, the game installation, the launcher and both lists, and offers what a front
// end does with them.
class Session {
 public:
  static std::unique_ptr<Session> Open(const SessionOptions& options, FrontEnd frontEnd);
  // After Open failed for want of the game: the exit save of that path, which removes the
  // configuration so that the next start begins from defaults.
  static void ForgetConfiguration(const SessionOptions& options);
  // The program folder a start with this --home uses (a relative one made absolute).
  static std::string ProgramFolder(const std::string& home);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const ProgramPaths& paths() const { return paths_; }
  Settings& settings() { return settings_; }
  AppState& appState() { return appState_; }
  FileSystem& files();
  const Locale& locale() const { return frontEnd_.locale; }
  Messages& messages() { return frontEnd_.messages; }
  DemoReader& reader() { return reader_; }
  SortedRows& demoList() { return demoList_; }
  SortedRows& playList() { return playList_; }
  FolderTree& tree() { return tree_; }
  // Silent until the windows start it with their audio output and timer.
  SoundSystem& sound() { return sound_; }
  FolderColours folderColours() const;
  // No configuration, or one without the main window's size: the window fits the screen it
  // opens on, the demo list shows the columns a collector reads first, and the first listing
  // takes the game's demo folder.
  bool firstStart() const { return firstStart_; }

  // The folder tree of the last run ("Folders" in the data folder); false, with the tree
  // empty, when there is none or it is damaged.
  bool LoadTree();
  // The first listing's folder: the remembered folder's node, else the first node, else a new
  // branch of the game folder (showPath shows each folder looked at), on a first start its
  // baseq3/demos when there is one. nullptr when there is no folder at all.
  FolderNode* FirstFolder(const std::function<void(const std::string&)>& showPath);
  // Selecting a tree node lists its folder unless the program is busy or the folder is shown.
  bool SelectFolder(FolderNode& node, ScanStatus& status);
  // The exit: the sound released, staged files removed unless the game runs, the tree and the
  // settings saved.
  bool SaveOnExit();

  // In-place edits and deletions, with the core's checks, questions and messages; read-only
  // mode refuses them.
  bool CanRenameDemo(size_t row) const;
  // The demo list row's file gets the typed name (UTF-8, as names are); false when refused.
  bool RenameDemo(size_t row, const std::string& newName);
  // "Delete..": the selected demo-list rows' files, after the question.
  bool DeleteSelectedDemos();
  bool CanRenameFolder(const FolderNode& node);
  // The node's folder gets the typed name; the current folder and the rows follow.
  bool RenameFolder(FolderNode& node, const std::string& newText);

  // A folder dropped from the file manager or chosen by the user becomes a new branch, which
  // is selected; showPath shows each folder looked at.
  FolderNode& AddFolderBranch(const std::string& folder,
                              const std::function<void(const std::string&)>& showPath);
  // Whether the demo list's selected rows may be dropped onto target (fromDemoList: the drag
  // comes from the demo list, not the play list).
  bool CanDropDemosOn(const FolderNode* target, bool fromDemoList);
  // Moves the selected demos' files into target's folder, asking before one is replaced.
  void MoveSelectedDemosTo(FolderNode& target);

  // Lists the folder into the demo list as selecting it in the tree does: the parse cache is
  // read and rewritten, and the list is sorted by its sort column.
  void ListFolder(const std::string& folder, ScanStatus& status);
  // How many demos a listing reads side by side: the number of processors unless set.
  size_t scanJobs() const { return scanJobs_; }
  void SetScanJobs(size_t jobs) { scanJobs_ = std::max<size_t>(jobs, 1); }
  // Appends the demos of an entry to the play list; how many rows it added.
  size_t AddToPlayList(const ScanEntry& entry, ScanStatus& status);
  // Replaces the play list by a play list file's demos.
  PlayListLoad LoadPlayList(const std::string& path, ScanStatus& status);

  // The rows an entry stands for, read as the play list reads them; the lists stay as they are.
  std::vector<ListRow> RowsOf(const ScanEntry& entry, ScanStatus& status);
  // The row of the member at memberPath (either separator) of the archive: the scan finds its
  // name in every folder of the archive, and the path names one of them.
  std::optional<ListRow> RowOfMember(const std::string& archive, std::string memberPath,
                                     ScanStatus& status);
  // A play list file's rows; the lists stay as they are.
  PlayListLoad ReadPlayListFile(const std::string& path, ScanStatus& status,
                                std::vector<ListRow>& rows);

  // Reads one demo in full; the reader's state holds the rest until the next read.
  DemoDescription DescribeDemo(const ListedDemo& place, bool buildLog);

  // The properties window's contents for a list row, its demo read again with the match log.
  // The program counts as busy from here on; the window ends that once the map music started.
  PropertiesView Properties(const ListRow& row, SourceList source);
  // The properties window's "User" tab of a demo name, after the notes changed.
  UserTab UserTabOf(const std::string& demoName);
  // Reads a row's demo again (no match log) so that the player table belongs to it.
  void ReadRowDemo(const ListRow& row);
  // The player description window's contents for the n-th named player of the demo read last.
  std::optional<PlayerView> DescribePlayer(size_t n);
  // A picture out of one of the game's archives; nullopt when it is missing or undecodable.
  std::optional<Image> PictureFromArchive(const std::string& archive, const std::string& member);

  // "&Apply" of the user data editor: saves the notes and shows them in the list row they
  // belong to, which the result names.
  UserDataEditor::Saved ApplyNotes(UserDataEditor& editor);

  // The user's notes on every demo of that file name.
  std::string NotesPath(const std::string& demoName) const;
  std::optional<UserData> ReadNotes(const std::string& demoName);
  bool SaveNotes(const std::string& demoName, const UserData& notes);
  bool ClearNotes(const std::string& demoName);

  // "Set the same Web Location for selected demos" and "Clear complete User Data for selected
  // demos" on the demo list's selected rows, with their questions; the rows show the result.
  // Whether any row changed.
  bool SetWebLocationForSelected();
  bool ClearUserDataForSelected();

  // The playback keys the keys window shows; confirming them changes the binds of every later
  // script and the keys saved at exit.
  const ControlKeys& controlKeys() const { return controls_.keys(); }
  void ConfirmControlKeys(const ControlKeys& fields);
  const std::string& globalParameters() const { return settings_.global.q3a_start_param; }
  // The global parameters may move an engine's home path, so the programs are found again.
  void SetGlobalParameters(const std::string& parameters);
  // A new text colour for the folders that hold demos (or not): refused when it equals the
  // other class's; the tree's nodes follow and the key is written at once.
  bool SetFolderFontColour(bool demoFolders, int32_t colour);

  // The game folder's programs, their folders and the mods.
  const GameInstall& game() const { return install_; }
  // Why nothing can be played, for the status bar; nullopt when a program is known.
  std::optional<std::string> PlaybackUnavailable() const;
  // Where the last launch put its script and staged demos.
  const std::string& stagingFolder() const { return launch_.stagingFolder(); }

  // What the configuration and the choices make of a launch.
  LaunchOptions LaunchOptionsFor(const PlayChoices& choices) const;
  // Opens a web location with the desktop's handler.
  bool OpenLink(const std::string& link) { return frontEnd_.shell.Open(link).started; }
  // Removes what an earlier launch staged, as the program's start does.
  void RemoveTemporaryFiles();
  // Plays one row as a single demo, or the rows as a play list.
  bool PlayOneDemo(const ListRow& row, const PlayChoices& choices);
  bool PlayList(const RowList& rows, const PlayChoices& choices);
  // Writes the play list to a play list file.
  bool SavePlayList(const std::string& path);

  // "Refresh List" lists the current folder again; "Reparse List" first deletes the parse
  // cache the listing wrote there.
  void RefreshList(ScanStatus& status);
  void ReparseList(ScanStatus& status);

  // The folder tree's commands, on its selected node.
  TreeMenuState TreeMenu();
  // A new folder below the selected one, selected; nullptr when it could not be made.
  FolderNode* NewFolder();
  // The node leaves the tree; nothing on disk changes.
  void RemoveFolderNode();
  // After the question, the empty folder leaves the disk and its node the tree. The status
  // text; nullopt when the user said No.
  std::optional<std::string> RemoveFolderFromDisk();
  FolderNode* RescanBranch(const std::function<void(const std::string&)>& showPath);
  void CutNonDemoFolders();

  // The library index in the data folder, opened at first use; nullptr for a session that
  // reads no configuration (a look at one demo) or when no index can be made.
  LibraryIndex* index();

  // The demo list's filter box: the rows that do not match the text are put aside (an empty
  // text shows them all). A text that does not parse leaves the filter as it was.
  std::optional<QueryError> FilterDemoList(const std::string& text);
  const std::string& demoListFilter() const { return filter_.text(); }
  // Applies the filter again after the list or what the index knows of it changed; whether the
  // rows shown changed.
  bool RefilterDemoList();

  // Every folder of the tree, parents before children.
  std::vector<std::string> TreeFolders() const;
  // Lists each folder the index does not hold yet, and with uncachedToo each folder without a
  // parse cache, as the demo list would (writing the parse caches), without touching the
  // lists. The status shows the folders done of all and the demo being read. False when
  // Escape stopped it.
  bool IndexFolders(const std::vector<std::string>& folders, bool uncachedToo, ScanStatus& status);
  // The demos of the folders (each itself, not its sub-folders) that match, in the demo
  // list's sort order; at most limit rows.
  FoundRows FindDemos(const DemoQuery& query, const std::vector<std::string>& folders,
                      size_t limit = SIZE_MAX);
  // Reads up to count demos whose players the index lacks (those of the listed folder
  // first), with a reader of its own; how many it read, 0 when none is left.
  size_t ReadMissingPlayers(size_t count);
  // Reads every demo of the folders whose players the index lacks.
  void ReadMissingPlayersIn(const std::vector<std::string>& folders);

  // The version menu: read again each time it opens, and its two kinds of entries.
  const VersionMenu& VersionMenuOnOpen();
  bool ChooseVersion(bool newItem);
  void SetRestoreVersion(bool restoreNew);
  // A close request puts back the version the restore option asks for.
  void RestoreVersionOnClose();

 private:
  Session(FrontEnd frontEnd, ProgramPaths paths, Settings settings, bool firstStart,
          bool withIndex);
  // The programs of the game folder for the global parameters, and the mods beside them.
  void FindGamePrograms();
  ScanContext ContextFor(ScanStatus& status, RowSink& demoList, RowSink& playList);
  // The notes of every demo of that name changed on disk: the index follows.
  void NotesChanged(const std::string& demoName);
  // A demo list row's folder as the index names it.
  std::string IndexFolderOf(const ListRow& row) const;
  // The folder whose demos the demo list holds, as the index names it; empty without rows.
  std::string ListedFolder() const;
  // Reads the demos and stores their players; whether they were stored.
  bool ReadPlayers(const std::vector<DemoLackingPlayers>& demos);

  FrontEnd frontEnd_;
  bool firstStart_;
  ProgramPaths paths_;
  Settings settings_;
  PlaybackControls controls_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<Clock> clock_;
  AppState appState_;
  Extractor extractor_;
  DemoReader reader_;
  ReaderScanSources sources_;
  GameInstall install_;
  GameWindow gameWindow_;
  RunningGame game_;
  GenerationSwitch versions_;
  Launch launch_;
  SortedRows demoList_;
  SortedRows playList_;
  FolderTree tree_;
  SoundSystem sound_;
  size_t scanJobs_;
  bool withIndex_;
  bool indexOpened_ = false;
  std::unique_ptr<LibraryIndex> index_;
  std::unique_ptr<ListingSink> listings_;
  ListFilter filter_;
  uint64_t filterGeneration_ = 0;
  std::string filterFolder_;
  // The players are read out of the user's sight, never into the reader the windows use.
  SilentMessages silent_;
  std::unique_ptr<DemoReader> playerReader_;
};

}  // namespace rw
