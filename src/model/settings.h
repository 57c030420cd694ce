#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/file_system.h"
#include "host/messages.h"
#include "model/column_model.h"
#include "model/game_programs.h"
#include "model/profile_file.h"

namespace rw {

// The in-memory game folder after the user gave up finding the game; the exit save then
// removes the configuration so that the next start begins from defaults.
inline constexpr std::string_view kGameFolderError = "ERROR";

// A Windows colour reference, 0x00BBGGRR.
constexpr int32_t ColorReference(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<int32_t>(red | (green << 8) | (blue << 16));
}
constexpr uint8_t RedOf(int32_t color) {
  return static_cast<uint8_t>(color);
}
constexpr uint8_t GreenOf(int32_t color) {
  return static_cast<uint8_t>(color >> 8);
}
constexpr uint8_t BlueOf(int32_t color) {
  return static_cast<uint8_t>(color >> 16);
}

// The main window's designed client area of 828 by 387 pixels inside a classic frame
// (4-pixel borders, a 19-pixel caption and a 19-pixel menu bar).
inline constexpr int32_t kDesignedWindowWidth = 828 + 2 * 4;
inline constexpr int32_t kDesignedWindowHeight = 387 + 2 * 4 + 19 + 19;

// Section "Global".
struct GlobalSettings {
  std::string q3a_dir;
  std::string q3a_start_param;
  std::string ff_key = "kp_enter";
  std::string sm_key = "kp_del";
  std::string inc_key = "kp_plus";
  std::string dec_key = "kp_minus";
  std::string pause_key = "pause";
  std::string next_key = "kp_5";
  bool no_hints = false;
  bool no_splash = true;  // the start-up load's default; the program entry reads false
  bool tip_of_day = true;
  bool work_readonly = true;
  bool restore_new_version = true;
  std::string Selected_Folder;
  int32_t toolbar_dockpos = 0;
};

// Section "Demos".
struct DemosSettings {
  bool loop_demos = false;
  bool time_demos = false;
  bool mod_demos = true;
};

// Section "Sound"; volumes are attenuations in hundredths of a decibel.
struct SoundSettings {
  bool sound_enable = true;
  bool play_sounds = true;
  bool play_musics = true;
  bool play_menus = true;
  int32_t vol_musics = -2500;
  int32_t vol_sounds = -2500;
  int32_t vol_menus = -2500;
};

// Section "Virtual Folders": the folder tree.
struct VirtualFolderSettings {
  int32_t width = 200;
  bool visible = true;
  bool ViewStyle = false;  // big icons when true
  bool AutoScroll = true;
  int32_t Color = ColorReference(253, 255, 164);
  int32_t DemoFolderFontColor = ColorReference(0, 0, 0);
  int32_t NonDemoFolderFontColor = ColorReference(128, 128, 128);
};

// Sections "Demo List" and "Play List".
struct ListSettings {
  int32_t width = 0;
  bool visible = true;  // the play list only
  int32_t Color = 0;
  int32_t ViewStyle = 3;  // 0 big icons, 1 small icons, 2 list, 3 details
  bool GridStyle = false;
  bool FullRowSelect = false;
  bool AutoActivateItems = true;
  ColumnLayout columns = BuiltInColumnLayout();
};

// Section "MainWindow".
struct MainWindowSettings {
  int32_t left = 425;
  int32_t top = 339;
  int32_t width = kDesignedWindowWidth;
  int32_t height = kDesignedWindowHeight;
};

// Every key of the configuration file, held from the start-up load to the exit save.
struct Settings {
  GlobalSettings global;
  DemosSettings demos;
  SoundSettings sound;
  VirtualFolderSettings virtualFolders;
  ListSettings demoList{.width = 404, .Color = ColorReference(230, 253, 255)};
  ListSettings playList{
      .width = 200, .Color = ColorReference(249, 230, 255), .AutoActivateItems = false};
  MainWindowSettings mainWindow;

  // Every default, with the game folder's default from the host.
  static Settings Defaults(std::string defaultGameFolder);
};

// Writes every key, creating the sections in their customary order in a new file.
void WriteSettings(const Settings& settings, ProfileFile& file);

// Keeps a game folder that has a program to play its demos; otherwise offers a folder chooser
// that starts there (root empty, the user's home, when the folder does not exist) with the
// installations found. A chosen folder without a program is explained and the chooser comes
// again. Cancelled, it shows the fatal message, sets the folder to "ERROR" and returns false.
bool ValidateGameFolder(FileSystem& fs, Messages& messages, const EngineSearch& search,
                        std::string& gameFolder);

// Opens the configuration for reading; an unreadable file is reported and reads as empty.
ProfileFile OpenSettingsFile(FileSystem& fs, Messages& messages, const std::string& configFile);

enum class SettingsLoad { kLoaded, kFatal };

// Where the start-up load takes the game folder from: "q3a_dir", or the folder given on the
// command line in its place; validated only when the game is needed.
struct StartGameFolder {
  std::string given;
  bool validate = true;
  EngineSearch search = {};  // where engines outside the game folder are looked for
};

// The start-up load of an opened configuration: the game folder first, then (unless it was
// fatal) every other key, each missing or unreadable value keeping the value settings already
// holds. "Selected_Folder" defaults to the game folder chosen.
SettingsLoad LoadSettings(FileSystem& fs, Messages& messages, const ProfileFile& file,
                          Settings& settings, const StartGameFolder& start = {});

// A first start: no configuration, or one that holds no main window size yet.
bool IsFirstStart(const ProfileFile& file);

// The program entry's read of "no_splash" (false when missing); an unreadable file is
// reported and reads as false.
bool ReadNoSplash(FileSystem& fs, Messages& messages, const std::string& configFile);

// Whether the start-up picture shows: not with "no_splash", nor when the first argument
// holds "nosplash" (exact case, anywhere in it).
bool ShowsStartUpPicture(bool noSplash, std::string_view firstArgument);

// The exit save: keeps what else the file holds and replaces it atomically. An unreadable
// file is left alone. With "q3a_dir" "ERROR" the file is removed instead. False when the
// file could not be written or removed.
bool SaveSettings(FileSystem& fs, const std::string& configFile, const Settings& settings);

// The folder font colour commands write their key at once.
bool SaveFolderFontColor(FileSystem& fs, const std::string& configFile, std::string_view key,
                         int32_t color);

}  // namespace rw
