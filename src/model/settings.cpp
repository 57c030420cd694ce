#include "model/settings.h"

#include "model/game_programs.h"
#include "model/program_paths.h"

namespace rw {
namespace {

constexpr std::string_view kGlobal = "Global";
constexpr std::string_view kDemos = "Demos";
constexpr std::string_view kSound = "Sound";
constexpr std::string_view kVirtualFolders = "Virtual Folders";
constexpr std::string_view kDemoList = "Demo List";
constexpr std::string_view kPlayList = "Play List";
constexpr std::string_view kMainWindow = "MainWindow";

constexpr std::string_view kChooserTitle = "Please search your Quake III Arena program path";
constexpr std::string_view kChooserText =
    "Choose the folder of your Quake III Arena installation: it holds quake3.exe, ioquake3 or "
    "quake3e and the baseq3 folder.";
constexpr std::string_view kNotFoundCaption = "Quake III Arena not found";
constexpr std::string_view kFatalCaption = "Fatal Error";
constexpr std::string_view kFatalText =
    "'Quake III Arena (c) 1999-2000 ID Software Inc.' not found!\r\n"
    "You must have a Quake III Arena Full Install\r\n"
    "Program terminates now";
constexpr std::string_view kOpenFailedCaption = "Error creating file";
constexpr std::string_view kOpenFailedText = "Could not create Reelwright.cfg";

// Reads into and writes from the same fields, so the two directions cannot drift apart.
class Reader {
 public:
  Reader(const ProfileFile& file, std::string_view section) : file_(file), section_(section) {}
  void Text(std::string_view key, std::string& value) const {
    value = file_.ReadString(section_, key, value);
  }
  void Integer(std::string_view key, int32_t& value) const {
    value = file_.ReadInteger(section_, key, value);
  }
  void Bool(std::string_view key, bool& value) const {
    value = file_.ReadBool(section_, key, value);
  }

 private:
  const ProfileFile& file_;
  std::string_view section_;
};

class Writer {
 public:
  Writer(ProfileFile& file, std::string_view section) : file_(file), section_(section) {}
  void Text(std::string_view key, const std::string& value) const {
    file_.WriteString(section_, key, value);
  }
  void Integer(std::string_view key, const int32_t& value) const {
    file_.WriteInteger(section_, key, value);
  }
  void Bool(std::string_view key, const bool& value) const {
    file_.WriteBool(section_, key, value);
  }

 private:
  ProfileFile& file_;
  std::string_view section_;
};

// Everything of "Global" but "q3a_dir" and "Selected_Folder", which have rules of their own.
template <typename Io, typename Global>
void GlobalKeys(const Io& io, Global& g) {
  io.Text("q3a_start_param", g.q3a_start_param);
  io.Text("ff_key", g.ff_key);
  io.Text("sm_key", g.sm_key);
  io.Text("inc_key", g.inc_key);
  io.Text("dec_key", g.dec_key);
  io.Text("pause_key", g.pause_key);
  io.Text("next_key", g.next_key);
  io.Bool("no_hints", g.no_hints);
  io.Bool("no_splash", g.no_splash);
  io.Bool("tip_of_day", g.tip_of_day);
  io.Bool("work_readonly", g.work_readonly);
  io.Bool("restore_new_version", g.restore_new_version);
}

template <typename Io, typename Demos>
void DemosKeys(const Io& io, Demos& d) {
  io.Bool("loop_demos", d.loop_demos);
  io.Bool("time_demos", d.time_demos);
  io.Bool("mod_demos", d.mod_demos);
}

template <typename Io, typename Sound>
void SoundKeys(const Io& io, Sound& s) {
  io.Bool("sound_enable", s.sound_enable);
  io.Bool("play_sounds", s.play_sounds);
  io.Bool("play_musics", s.play_musics);
  io.Bool("play_menus", s.play_menus);
  io.Integer("vol_musics", s.vol_musics);
  io.Integer("vol_sounds", s.vol_sounds);
  io.Integer("vol_menus", s.vol_menus);
}

template <typename Io, typename Tree>
void VirtualFolderKeys(const Io& io, Tree& t) {
  io.Integer("width", t.width);
  io.Bool("visible", t.visible);
  io.Bool("ViewStyle", t.ViewStyle);
  io.Bool("AutoScroll", t.AutoScroll);
  io.Integer("Color", t.Color);
  io.Integer("DemoFolderFontColor", t.DemoFolderFontColor);
  io.Integer("NonDemoFolderFontColor", t.NonDemoFolderFontColor);
}

// The column keys are the column model's; these are the list's own.
template <typename Io, typename List>
void ListKeys(const Io& io, List& l, bool playList) {
  io.Integer(playList ? "Width" : "width", l.width);
  if (playList) io.Bool("visible", l.visible);
  io.Integer("Color", l.Color);
  io.Integer("ViewStyle", l.ViewStyle);
  io.Bool("GridStyle", l.GridStyle);
  io.Bool("FullRowSelect", l.FullRowSelect);
  io.Bool("AutoActivateItems", l.AutoActivateItems);
}

template <typename Io, typename Window>
void MainWindowKeys(const Io& io, Window& w) {
  io.Integer("left", w.left);
  io.Integer("top", w.top);
  io.Integer("width", w.width);
  io.Integer("height", w.height);
}

// Every key but "q3a_dir", which is read (and at start validated) first.
void ReadAfterGameFolder(const ProfileFile& file, Settings& settings) {
  const Reader global(file, kGlobal);
  GlobalKeys(global, settings.global);
  settings.global.Selected_Folder = settings.global.q3a_dir;
  global.Text("Selected_Folder", settings.global.Selected_Folder);
  global.Integer("toolbar_dockpos", settings.global.toolbar_dockpos);
  DemosKeys(Reader(file, kDemos), settings.demos);
  SoundKeys(Reader(file, kSound), settings.sound);
  VirtualFolderKeys(Reader(file, kVirtualFolders), settings.virtualFolders);
  ListKeys(Reader(file, kDemoList), settings.demoList, false);
  LoadColumnLayout(file, kDemoList, settings.demoList.columns);
  ListKeys(Reader(file, kPlayList), settings.playList, true);
  LoadColumnLayout(file, kPlayList, settings.playList.columns);
  MainWindowKeys(Reader(file, kMainWindow), settings.mainWindow);
}

}  // namespace

Settings Settings::Defaults(std::string defaultGameFolder) {
  Settings settings;
  settings.global.Selected_Folder = defaultGameFolder;
  settings.global.q3a_dir = std::move(defaultGameFolder);
  return settings;
}

void WriteSettings(const Settings& settings, ProfileFile& file) {
  const Writer global(file, kGlobal);
  global.Text("q3a_dir", settings.global.q3a_dir);
  GlobalKeys(global, settings.global);
  global.Text("Selected_Folder", settings.global.Selected_Folder);
  global.Integer("toolbar_dockpos", settings.global.toolbar_dockpos);
  DemosKeys(Writer(file, kDemos), settings.demos);
  SoundKeys(Writer(file, kSound), settings.sound);
  VirtualFolderKeys(Writer(file, kVirtualFolders), settings.virtualFolders);
  ListKeys(Writer(file, kDemoList), settings.demoList, false);
  SaveColumnLayout(file, kDemoList, settings.demoList.columns);
  ListKeys(Writer(file, kPlayList), settings.playList, true);
  SaveColumnLayout(file, kPlayList, settings.playList.columns);
  MainWindowKeys(Writer(file, kMainWindow), settings.mainWindow);
}

bool ValidateGameFolder(FileSystem& fs, Messages& messages, const EngineSearch& search,
                        std::string& gameFolder) {
  if (!FindGamePrograms(fs, gameFolder, search).empty()) return true;
  const std::vector<FolderOffer> offers = FindInstallations(fs, search);
  std::string root = fs.IsFolder(gameFolder) ? gameFolder : std::string();
  // A wrong folder is explained and the chooser comes again; only Cancel ends the program.
  while (const std::optional<std::string> chosen =
             messages.ChooseFolder(kChooserTitle, kChooserText, offers, root)) {
    if (!FindGamePrograms(fs, *chosen, search).empty()) {
      gameFolder = *chosen;
      return true;
    }
    messages.Show(
        kNotFoundCaption,
        *chosen + " holds no program that plays Quake III Arena demos.\r\n" + LookedForText(search),
        MessageIcon::kError);
    if (fs.IsFolder(*chosen)) root = *chosen;
  }
  messages.Show(kFatalCaption, kFatalText, MessageIcon::kError);
  gameFolder = kGameFolderError;
  return false;
}

ProfileFile OpenSettingsFile(FileSystem& fs, Messages& messages, const std::string& configFile) {
  std::optional<ProfileFile> file = LoadProfileFile(fs, configFile);
  if (file) return std::move(*file);
  messages.Show(kOpenFailedCaption, kOpenFailedText, MessageIcon::kError);
  return {};
}

SettingsLoad LoadSettings(FileSystem& fs, Messages& messages, const ProfileFile& file,
                          Settings& settings, const StartGameFolder& start) {
  Reader(file, kGlobal).Text("q3a_dir", settings.global.q3a_dir);
  if (!start.given.empty()) settings.global.q3a_dir = start.given;
  if (start.validate && !ValidateGameFolder(fs, messages, start.search, settings.global.q3a_dir)) {
    return SettingsLoad::kFatal;
  }
  ReadAfterGameFolder(file, settings);
  return SettingsLoad::kLoaded;
}

bool IsFirstStart(const ProfileFile& file) {
  return !file.Read(kMainWindow, "width") || !file.Read(kMainWindow, "height");
}

bool ReadNoSplash(FileSystem& fs, Messages& messages, const std::string& configFile) {
  return OpenSettingsFile(fs, messages, configFile).ReadBool(kGlobal, "no_splash", false);
}

bool SaveSettings(FileSystem& fs, const std::string& configFile, const Settings& settings) {
  if (settings.global.q3a_dir == kGameFolderError) {
    return fs.DeleteFile(configFile).ok() || !fs.Exists(configFile);
  }
  std::optional<ProfileFile> file = LoadProfileFile(fs, configFile);
  if (!file) return false;
  WriteSettings(settings, *file);
  return SaveProfileFile(fs, configFile, *file);
}

bool SaveFolderFontColor(FileSystem& fs, const std::string& configFile, std::string_view key,
                         int32_t color) {
  std::optional<ProfileFile> file = LoadProfileFile(fs, configFile);
  if (!file) return false;
  file->WriteInteger(kVirtualFolders, key, color);
  return SaveProfileFile(fs, configFile, *file);
}

bool ShowsStartUpPicture(bool noSplash, std::string_view firstArgument) {
  return !noSplash && firstArgument.find("nosplash") == std::string_view::npos;
}

}  // namespace rw
