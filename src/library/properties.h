#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/demo_reader.h"
#include "host/file_system.h"
#include "host/messages.h"
#include "library/level_shot.h"
#include "library/player_view.h"
#include "library/properties_players.h"
#include "library/properties_user_tab.h"
#include "model/app_state.h"
#include "model/game_install.h"
#include "model/list_row.h"

namespace rw {

// The window's copy of the demo's row: its 26 texts, then the row's icon number in decimal.
inline constexpr size_t kPropItemCount = kListColumnCount + 1;
using PropItems = std::array<std::string, kPropItemCount>;

// The list the properties window was opened from.
enum class SourceList { kDemoList, kPlayList };

// What the "Playlist" button does: append the demo to the play list, or take it off.
enum class PlaylistButton { kAdd, kRemove };

struct GeneralTab {
  std::string name;
  std::string size;
  std::string playtime;
  std::string recorded;
  std::string mapLongName;  // under the level shot
  std::string mapFile;
  std::string version;
  std::string gameType;
  std::string mod;
  std::string timeLimit;
  std::string fragLimit;
  std::string captureLimit;
  std::string finalScore;
};

struct ServerDetailTab {
  std::string hostName;
  std::string serverId;
  std::string protocol;
  std::string pureServer;
  std::string cheats;
  std::string floodProtection;
  std::string passwordNeeded;
  std::string privateClients;
  std::string maxGameClients;
  std::string maxClients;
  std::string maxRate;
  std::string maxPing;
  std::string minPing;
};

// Everything the properties window shows of one demo.
struct PropertiesView {
  PropItems items;
  std::string caption;
  PlaylistButton playlistButton = PlaylistButton::kAdd;
  bool playEnabled = false;  // "Play it" and "Playlist"
  // The map's music below the game's folders ("\\"-separated); none when the demo names none.
  std::optional<std::string> music;
  // Where the music is played from, in order: the level shot's archive, then pak0.pk3.
  std::vector<ArchiveMember> musicSources;
  LevelShot levelShot;
  GeneralTab general;
  ServerDetailTab serverDetail;
  std::vector<PlayerListEntry> players;
  std::vector<std::string> course;  // the match log, coloured
  UserTab user;
};

// What SetData works with.
struct PropertiesSources {
  DemoReader& reader;
  const GameInstall& game;
  FileSystem& files;
  Messages& messages;
  AppState& appState;
  std::string userDataFolder;
  PictureLoader loadPicture;
  RandomBelow random;
};

// Reads the demo of a list row again, with its match log, and derives what the window shows.
// The program counts as busy from here on; the caller ends that once the map music started.
PropertiesView SetData(const ListRow& row, SourceList source, PropertiesSources& sources);

// Reads the demo of a list row again: a member of its archive, or the file in its folder.
void ReadDemoOfRow(const ListRow& row, DemoReader& reader, bool buildLog);

// "Game type" by g_gametype: the mission pack's three types only for its own demos (by the
// row's "Mod"), "N/A" when it is no number, other numbers as the server gave them.
std::string PropertiesGameType(std::string_view gametype, std::string_view modField);

// The music to play from a MapMusic text: "\\"-separated, the second of two paths.
std::optional<std::string> MapMusicPath(std::string_view mapMusic);

}  // namespace rw
