#include "session/session.h"

#include <filesystem>
#include <random>
#include <thread>

#include "archive/member_path.h"
#include "demo/info_text.h"
#include "demo/picture_from_pak.h"
#include "host/path_text.h"
#include "host/posix/posix_file_system.h"
#include "host/posix/steady_clock.h"
#include "library/scan_demos.h"
#include "model/demo_file_commands.h"
#include "model/folder_move.h"
#include "model/folder_tree_file.h"
#include "model/list_drag.h"
#include "model/list_rules.h"
#include "text/windows_1252.h"

namespace rw {

std::string AbsoluteFolder(const std::string& folder) {
  if (folder.empty()) return folder;
  std::filesystem::path path = std::filesystem::absolute(folder).lexically_normal();
  if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
  return path.string();
}

namespace {

// Rows a scan hands over, in the order found.
class CollectedRows : public RowSink {
 public:
  void Clear() override { rows.clear(); }
  void Append(ListRow row) override { rows.push_back(std::move(row)); }
  size_t RowCount() const override { return rows.size(); }
  void Resort() override {}

  std::vector<ListRow> rows;
};

int EvenChance(int count) {
  std::random_device seed;
  return std::uniform_int_distribution<int>(0, count - 1)(seed);
}

}  // namespace

std::string Session::ProgramFolder(const std::string& home) {
  return ChooseProgramFolder(CurrentProgramFolderSources(AbsoluteFolder(home)));
}

std::unique_ptr<Session> Session::Open(const SessionOptions& options, FrontEnd frontEnd) {
  PosixFileSystem files;
  const std::string programFolder = ProgramFolder(options.home);
  Settings settings = Settings::Defaults(DefaultGameFolder());
  ProfileFile configuration;
  if (options.loadConfiguration) {
    const std::string configFile = DeriveProgramPaths(programFolder, "").configFile;
    configuration = OpenSettingsFile(files, frontEnd.messages, configFile);
  }
  const bool firstStart = options.loadConfiguration && IsFirstStart(configuration);
  // Keys the file holds still win.
  if (firstStart) settings.demoList.columns = FirstStartColumnLayout();
  const StartGameFolder start{options.game.empty() ? "" : AbsoluteFolder(options.game),
                              options.needsGame, EngineSearchFromEnvironment("")};
  if (LoadSettings(files, frontEnd.messages, configuration, settings, start) ==
      SettingsLoad::kFatal) {
    return nullptr;
  }
  ProgramPaths paths = DeriveProgramPaths(programFolder, settings.global.q3a_dir);
  if (options.loadConfiguration) CreateProgramFolders(files, paths);
  std::unique_ptr<Session> session(new Session(frontEnd, std::move(paths), std::move(settings),
                                               firstStart, options.loadConfiguration));
  session->FindGamePrograms();
  session->versions_.ShowStartState(session->settings_.global.restore_new_version);
  return session;
}

Session::Session(FrontEnd frontEnd, ProgramPaths paths, Settings settings, bool firstStart,
                 bool withIndex)
    : frontEnd_(frontEnd),
      firstStart_(firstStart),
      paths_(std::move(paths)),
      settings_(std::move(settings)),
      controls_({settings_.global.ff_key, settings_.global.sm_key, settings_.global.inc_key,
                 settings_.global.dec_key, settings_.global.pause_key, settings_.global.next_key},
                settings_.global.q3a_start_param),
      files_(std::make_unique<PosixFileSystem>()),
      clock_(std::make_unique<SteadyClock>()),
      extractor_(*clock_, frontEnd_.pump, *files_),
      reader_(frontEnd_.messages, frontEnd_.locale, *files_, extractor_),
      sources_(reader_, *files_, frontEnd_.messages, appState_),
      install_(*files_, settings_.global.q3a_dir),
      gameWindow_(frontEnd_.windows, frontEnd_.pump, *clock_),
      game_(install_, {*files_, frontEnd_.processes, gameWindow_, frontEnd_.pump, *clock_}),
      versions_(install_,
                {*files_, game_, frontEnd_.shell, frontEnd_.messages, frontEnd_.pump, *clock_}),
      launch_(install_,
              {*files_, frontEnd_.messages, game_, versions_, frontEnd_.shell, extractor_}),
      demoList_(frontEnd_.locale, settings_.demoList.columns.sortColumn,
                settings_.demoList.columns.sortAscending),
      playList_(frontEnd_.locale, settings_.playList.columns.sortColumn,
                settings_.playList.columns.sortAscending),
      tree_(frontEnd_.locale),
      sound_(settings_.sound, {extractor_, *files_, frontEnd_.messages, appState_},
             paths_.baseArchive),
      scanJobs_(std::max(std::thread::hardware_concurrency(), 1u)),
      withIndex_(withIndex),
      filter_(frontEnd_.locale) {
  launch_.onPlayListStaged = [this] {
    sound_.PlayButtonSound("sound\\misc\\menu1.wav");
    sound_.FadeOutMusic();
  };
}

void Session::ForgetConfiguration(const SessionOptions& options) {
  PosixFileSystem files;
  const std::string programFolder = ProgramFolder(options.home);
  Settings settings = Settings::Defaults(DefaultGameFolder());
  settings.global.q3a_dir = std::string(kGameFolderError);
  SaveSettings(files, DeriveProgramPaths(programFolder, "").configFile, settings);
}

FolderColours Session::folderColours() const {
  return {static_cast<uint32_t>(settings_.virtualFolders.DemoFolderFontColor),
          static_cast<uint32_t>(settings_.virtualFolders.NonDemoFolderFontColor)};
}

bool Session::LoadTree() {
  const std::optional<std::string> bytes = files_->ReadFile(JoinPath(paths_.dataFolder, "Folders"));
  if (bytes && LoadFolderTree(*bytes, tree_)) return true;
  tree_.Clear();
  return false;
}

FolderNode* Session::FirstFolder(const std::function<void(const std::string&)>& showPath) {
  if (tree_.empty()) {
    if (paths_.gameFolder.empty()) return nullptr;
    BranchContext context{*files_, folderColours(), paths_.gameFolder, showPath};
    FolderNode& game = AddBranch(tree_, paths_.gameFolder, context);
    FolderNode* demos = firstStart_ ? tree_.FindNodeByPath(paths_.baseDemoFolder) : nullptr;
    return demos != nullptr ? demos : &game;
  }
  FolderNode* node = tree_.FindNodeByPath(settings_.global.Selected_Folder);
  return node != nullptr ? node : tree_.roots().front().get();
}

bool Session::SelectFolder(FolderNode& node, ScanStatus& status) {
  ScanContext context = ContextFor(status, demoList_, playList_);
  const bool listed = SelectFolderNode(tree_, node, context);
  if (listed) RefilterDemoList();
  return listed;
}

bool Session::CanRenameDemo(size_t row) const {
  const RowList& rows = demoList_.rows();
  return row < rows.size() && CanEditName(rows[row].columns, settings_.global.work_readonly);
}

bool Session::RenameDemo(size_t row, const std::string& newName) {
  if (!CanRenameDemo(row)) return false;
  ListRow& columns = demoList_.rows()[row].columns;
  const std::string name = RenameDemoFile(*files_, frontEnd_.messages, columns, newName);
  if (name == columns[kDemonameColumn]) return false;
  if (LibraryIndex* library = index()) {
    library->DemoRenamed(IndexFolderOf(columns), columns[kDemonameColumn], name);
  }
  columns[kDemonameColumn] = name;
  return true;
}

bool Session::DeleteSelectedDemos() {
  if (!DemoListMenu(demoList_.rows(), settings_.global.work_readonly).deleteFiles) return false;
  std::vector<ListRow> chosen;
  for (const ListItem& item : demoList_.rows()) {
    if (item.selected) chosen.push_back(item.columns);
  }
  if (!rw::DeleteSelectedDemos(*files_, frontEnd_.messages, demoList_.rows(),
                               appState_.currentFolder())) {
    return false;
  }
  if (LibraryIndex* library = index()) {
    for (const ListRow& row : chosen) {
      // A file that could not be deleted is still there, and still found.
      if (files_->Exists(DemoFilePath(row))) continue;
      library->DemoDeleted(IndexFolderOf(row), row[kDemonameColumn]);
    }
  }
  return true;
}

bool Session::CanRenameFolder(const FolderNode& node) {
  return CanEditFolderName(node, settings_.global.work_readonly, *files_);
}

bool Session::RenameFolder(FolderNode& node, const std::string& newText) {
  if (!CanRenameFolder(node)) return false;
  const std::optional<FolderMove> move =
      rw::RenameFolder(tree_, node, newText, paths_.gameFolder, *files_, frontEnd_.messages);
  if (!move) return false;
  FollowFolderMove(*move, appState_, demoList_.rows(), playList_.rows());
  FollowFolderMove(*move, appState_, demoList_.hidden(), playList_.hidden());
  if (LibraryIndex* library = index()) {
    library->FolderMoved(AbsoluteFolder(move->from), AbsoluteFolder(move->to));
  }
  return true;
}

FolderNode& Session::AddFolderBranch(const std::string& folder,
                                     const std::function<void(const std::string&)>& showPath) {
  BranchContext context{*files_, folderColours(), paths_.gameFolder, showPath};
  return AddBranch(tree_, folder, context);
}

bool Session::CanDropDemosOn(const FolderNode* target, bool fromDemoList) {
  return CanDropDemosOnNode(target, tree_, settings_.global.work_readonly, fromDemoList,
                            SelectedImages(demoList_.rows()), *files_);
}

void Session::MoveSelectedDemosTo(FolderNode& target) {
  std::vector<ListRow> chosen;
  for (const ListItem& item : demoList_.rows()) {
    if (item.selected) chosen.push_back(item.columns);
  }
  // Rows a filter hides are demos the folder still holds.
  class Selection : public RowListSelection {
   public:
    Selection(RowList& rows, const RowList& hidden) : RowListSelection(rows), hidden_(hidden) {}
    bool Empty() const override { return RowListSelection::Empty() && hidden_.empty(); }

   private:
    const RowList& hidden_;
  } selection(demoList_.rows(), demoList_.hidden());
  MoveDemosOntoNode(tree_, target, selection, folderColours(), *files_, frontEnd_.messages);
  LibraryIndex* library = index();
  if (library == nullptr) return;
  const std::string targetFolder = AbsoluteFolder(NodePath(target));
  for (const ListRow& row : chosen) {
    const std::string name = row[kDemonameColumn];
    if (files_->Exists(DemoFilePath(row)) || !files_->Exists(JoinPath(targetFolder, name))) {
      continue;
    }
    library->DemoMoved(IndexFolderOf(row), name, targetFolder);
  }
}

bool Session::SaveOnExit() {
  sound_.ShutDown();
  launch_.RemoveTemporaryFiles();
  if (!appState_.currentFolder().empty()) {
    settings_.global.Selected_Folder = appState_.currentFolder();
  }
  files_->WriteFileAtomic(JoinPath(paths_.dataFolder, "Folders"), SaveFolderTree(tree_));
  return SaveSettings(*files_, paths_.configFile, settings_);
}

Session::~Session() = default;

FileSystem& Session::files() {
  return *files_;
}

ScanContext Session::ContextFor(ScanStatus& status, RowSink& demoList, RowSink& playList) {
  ScanContext context{*files_,   frontEnd_.locale, *clock_,
                      appState_, sources_,         status,
                      demoList,  playList,         paths_.userDataFolder};
  context.jobs = scanJobs_;
  if (index() != nullptr) context.listings = listings_.get();
  return context;
}

void Session::ListFolder(const std::string& folder, ScanStatus& status) {
  ScanContext context = ContextFor(status, demoList_, playList_);
  ScanDemos(ScanEntry::Folder(folder), context);
  RefilterDemoList();
}

size_t Session::AddToPlayList(const ScanEntry& entry, ScanStatus& status) {
  const size_t before = playList_.RowCount();
  ScanContext context = ContextFor(status, demoList_, playList_);
  ScanDemos(entry, context);
  return playList_.RowCount() - before;
}

PlayListLoad Session::LoadPlayList(const std::string& path, ScanStatus& status) {
  ScanContext context = ContextFor(status, demoList_, playList_);
  return rw::LoadPlayList(path, context, frontEnd_.messages);
}

std::vector<ListRow> Session::RowsOf(const ScanEntry& entry, ScanStatus& status) {
  CollectedRows unused;
  CollectedRows rows;
  ScanContext context = ContextFor(status, unused, rows);
  ScanDemos(entry, context);
  return std::move(rows.rows);
}

std::optional<ListRow> Session::RowOfMember(const std::string& archive, std::string memberPath,
                                            ScanStatus& status) {
  for (char& c : memberPath) c = c == '/' ? '\\' : c;
  const MemberPath member = SplitMemberPath(memberPath);
  for (ListRow& row : RowsOf(ScanEntry::ArchiveMembers(archive, member.name), status)) {
    if (EqualsIgnoringAnsiCase(row[kArchiveLocationColumn], member.folder)) return row;
  }
  return std::nullopt;
}

PlayListLoad Session::ReadPlayListFile(const std::string& path, ScanStatus& status,
                                       std::vector<ListRow>& rows) {
  CollectedRows unused;
  CollectedRows collected;
  ScanContext context = ContextFor(status, unused, collected);
  const PlayListLoad load = rw::LoadPlayList(path, context, frontEnd_.messages);
  rows = std::move(collected.rows);
  return load;
}

DemoDescription Session::DescribeDemo(const ListedDemo& place, bool buildLog) {
  const bool inArchive = !place.memberPath.empty();
  const std::string result =
      inArchive ? reader_.GetFromDemo(place.memberPath, place.location, buildLog)
                : reader_.GetFromDemo(JoinPath(place.location, place.name), "", buildLog);
  if (reader_.RanOutOfMemory()) appState_.ResetBusy();
  // The user's notes are found by the demo's file name alone.
  const UserInfo notes = GetUserInfo(*files_, NotesPath(place.name), frontEnd_.messages);
  return {result, DemoRowOf(place, reader_.State(), notes, frontEnd_.locale)};
}

PropertiesView Session::Properties(const ListRow& row, SourceList source) {
  PakPictures pictures(extractor_, *files_, frontEnd_.messages);
  PropertiesSources sources{reader_,
                            install_,
                            *files_,
                            frontEnd_.messages,
                            appState_,
                            paths_.userDataFolder,
                            LoaderOf(pictures, appState_),
                            EvenChance};
  PropertiesView view = SetData(row, source, sources);
  if (reader_.RanOutOfMemory()) appState_.ResetBusy();
  return view;
}

UserTab Session::UserTabOf(const std::string& demoName) {
  return LoadUserTab(*files_, frontEnd_.messages, NotesPath(demoName), EvenChance);
}

void Session::ReadRowDemo(const ListRow& row) {
  ReadDemoOfRow(row, reader_, false);
  if (reader_.RanOutOfMemory()) appState_.ResetBusy();
}

std::optional<PlayerView> Session::DescribePlayer(size_t n) {
  appState_.RaiseBusy();
  const DemoReadState& state = reader_.State();
  const std::string mod = GetInfoValue(state, "fs_game");
  const PlayerViewContext context{
      mod, install_.ResolveModFolder(mod == "N/A" ? std::string_view() : std::string_view(mod)),
      install_.gameFolder(), install_.baseFolder(), install_.baseArchive()};
  std::optional<PlayerView> view = SetPlayerData(*files_, frontEnd_.messages, state, context, n);
  appState_.LowerBusy();
  return view;
}

std::optional<Image> Session::PictureFromArchive(const std::string& archive,
                                                 const std::string& member) {
  PakPictures pictures(extractor_, *files_, frontEnd_.messages);
  Image picture;
  if (!pictures.GetPictureFromPak(archive, member, picture)) return std::nullopt;
  return picture;
}

UserDataEditor::Saved Session::ApplyNotes(UserDataEditor& editor) {
  UserDataEditor::Saved saved =
      editor.Apply(appState_.currentFolder(), demoList_.rows(), playList_.rows());
  NotesChanged(editor.demoName());
  if (saved.row) {
    SortedRows& list = saved.row->list == ListKind::kDemoList ? demoList_ : playList_;
    ListRow& row = list.rows()[saved.row->index].columns;
    row[kPovColumn] = saved.columns.POV;
    row[kRatingColumn] = saved.columns.Rating;
    row[kWebColumn] = saved.columns.Web;
    row[kDescriptionColumn] = saved.columns.Description;
  }
  return saved;
}

std::string Session::NotesPath(const std::string& demoName) const {
  return UserDataPath(paths_.userDataFolder, demoName);
}

std::optional<UserData> Session::ReadNotes(const std::string& demoName) {
  const std::string path = NotesPath(demoName);
  if (!files_->Exists(path)) return UserData{};
  return ReadUserData(*files_, path);
}

bool Session::SaveNotes(const std::string& demoName, const UserData& notes) {
  const bool saved = SaveUserData(*files_, frontEnd_.messages, NotesPath(demoName), notes);
  NotesChanged(demoName);
  return saved;
}

bool Session::ClearNotes(const std::string& demoName) {
  const std::string path = NotesPath(demoName);
  const bool cleared = !files_->Exists(path) || files_->DeleteFile(path).ok();
  NotesChanged(demoName);
  return cleared;
}

LaunchOptions Session::LaunchOptionsFor(const PlayChoices& choices) const {
  LaunchOptions options;
  options.modDemos = settings_.demos.mod_demos && !choices.noModDemos;
  options.script = {settings_.demos.time_demos || choices.timeDemo,
                    settings_.demos.loop_demos || choices.loop, controls_.bindBlock()};
  options.globalParameters = settings_.global.q3a_start_param;
  options.switchVersions = choices.switchVersions;
  return options;
}

void Session::ConfirmControlKeys(const ControlKeys& fields) {
  controls_.ConfirmKeys(fields);
  GlobalSettings& global = settings_.global;
  global.ff_key = fields.fastForward;
  global.sm_key = fields.slowMotion;
  global.inc_key = fields.faster;
  global.dec_key = fields.slower;
  global.pause_key = fields.pause;
  global.next_key = fields.nextDemo;
}

void Session::SetGlobalParameters(const std::string& parameters) {
  settings_.global.q3a_start_param = parameters;
  controls_.SetGlobalParameters(parameters);
  FindGamePrograms();
}

void Session::FindGamePrograms() {
  install_.FindPrograms(EngineSearchFromEnvironment(settings_.global.q3a_start_param));
  install_.ScanMods();
}

std::optional<std::string> Session::PlaybackUnavailable() const {
  if (!install_.programs().empty()) return std::nullopt;
  return "Nothing can be played: " + install_.gameFolder() +
         " holds no quake3.exe, ioquake3 or quake3e, and no engine was found for its baseq3 "
         "folder.";
}

bool Session::SetFolderFontColour(bool demoFolders, int32_t colour) {
  FolderColours colours = folderColours();
  if (!ChangeFolderColour(tree_, colours, demoFolders, static_cast<uint32_t>(colour))) {
    return false;
  }
  VirtualFolderSettings& folders = settings_.virtualFolders;
  (demoFolders ? folders.DemoFolderFontColor : folders.NonDemoFolderFontColor) = colour;
  SaveFolderFontColor(*files_, paths_.configFile,
                      demoFolders ? "DemoFolderFontColor" : "NonDemoFolderFontColor", colour);
  return true;
}

void Session::RemoveTemporaryFiles() {
  launch_.RemoveTemporaryFiles();
}

bool Session::PlayOneDemo(const ListRow& row, const PlayChoices& choices) {
  return launch_.PlayOneDemo(row, LaunchOptionsFor(choices));
}

bool Session::PlayList(const RowList& rows, const PlayChoices& choices) {
  return launch_.CreatePlaylist(rows, LaunchOptionsFor(choices));
}

}  // namespace rw
