#include "library/properties.h"

#include <algorithm>
#include <array>

#include "demo/decimal_text.h"
#include "demo/demo_info.h"
#include "demo/display_text.h"
#include "demo/info_text.h"
#include "library/user_data.h"
#include "model/demo_file_commands.h"
#include "model/list_rules.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr size_t kMaxNameLength = 100;

constexpr std::array<std::string_view, 5> kGameTypes = {
    "Free for All", "Tournament", "Singleplayer", "Team Deathmatch", "Capture the Flag"};
constexpr std::array<std::string_view, 3> kMissionPackGameTypes = {"One Flag CTF", "Overload",
                                                                   "Harvester"};

PropItems ItemsOf(const ListRow& row) {
  PropItems items;
  std::copy(row.begin(), row.end(), items.begin());
  items[kListColumnCount] = std::to_string(RowImage(row));
  return items;
}

std::string NameText(const std::string& nameField) {
  const size_t colon = nameField.find(':');
  const std::string name = colon == std::string::npos ? nameField : nameField.substr(colon + 1);
  return name.substr(0, kMaxNameLength);
}

std::string ModText(const DemoReadState& state) {
  const std::string mod = GetInfoValue(state, "fs_game");
  if (mod != "N/A") return mod;
  const std::string gameName = GetInfoValue(state, "gamename");
  return AnsiLowerText(gameName) == "baseq3" ? "Quake III Arena" : gameName;
}

GeneralTab General(const ListRow& row, const DemoReadState& state) {
  GeneralTab tab;
  tab.name = NameText(row[DemoInfo::Name]);
  tab.size = state.SizeText;
  tab.playtime = row[DemoInfo::Playtime];
  tab.recorded = state.RecordedText;
  tab.mapLongName = state.MapMessage;
  tab.mapFile = row[DemoInfo::Map] == "n/a" ? "N/A" : row[DemoInfo::Map] + ".bsp";
  tab.version = GetInfoValue(state, "version");
  tab.gameType = PropertiesGameType(GetInfoValue(state, "g_gametype"), row[DemoInfo::Mod]);
  tab.mod = ModText(state);
  tab.timeLimit = ZeroAsNotSet(GetInfoValue(state, "timelimit"));
  tab.fragLimit = ZeroAsNotSet(GetInfoValue(state, "fraglimit"));
  tab.captureLimit = ZeroAsNotSet(GetInfoValue(state, "capturelimit"));
  tab.finalScore = row[DemoInfo::FinalScore];
  return tab;
}

ServerDetailTab ServerDetail(const DemoReadState& state) {
  const auto value = [&state](std::string_view key) { return GetInfoValue(state, key); };
  ServerDetailTab tab;
  tab.hostName = value("sv_hostname");
  tab.serverId = value("sv_serverid");
  tab.protocol = ServerProtocol(state);
  tab.pureServer = YesNoText(value("sv_pure"));
  tab.cheats = YesNoText(value("sv_cheats"));
  tab.floodProtection = YesNoText(value("sv_floodProtect"));
  tab.passwordNeeded = YesNoText(value("g_needpass"));
  tab.privateClients = YesNoText(value("sv_privateClients"));
  tab.maxGameClients = ZeroAsNotSet(value("g_maxGameClients"));
  tab.maxClients = ZeroAsNotSet(value("sv_maxclients"));
  tab.maxRate = ZeroAsNotSet(value("sv_maxRate"));
  tab.maxPing = ZeroAsNotSet(value("sv_maxPing"));
  tab.minPing = ZeroAsNotSet(value("sv_minPing"));
  return tab;
}

LevelShotFolders FoldersOf(const GameInstall& game, const DemoReadState& state) {
  const std::string mod = GetInfoValue(state, "fs_game");
  return {game.gameFolder(), game.baseFolder(), game.baseArchive(),
          game.ResolveModFolder(mod == "N/A" ? std::string_view() : std::string_view(mod))};
}

}  // namespace

void ReadDemoOfRow(const ListRow& row, DemoReader& reader, bool buildLog) {
  reader.Reset();
  const DemoSource source = DemoSourceOf(row);
  reader.GetFromDemo(source.path, source.archive, buildLog);
}

std::string PropertiesGameType(std::string_view gametype, std::string_view modField) {
  const std::optional<int32_t> number = ParseInt32(gametype);
  if (!number) return "N/A";
  if (*number >= 0 && *number < 5) return std::string(kGameTypes[*number]);
  if (*number >= 5 && *number <= 7) {
    return modField == "missionpack" ? std::string(kMissionPackGameTypes[*number - 5])
                                     : std::to_string(*number);
  }
  return std::string(gametype);
}

std::optional<std::string> MapMusicPath(std::string_view mapMusic) {
  if (mapMusic == "N/A") return std::nullopt;
  std::string path(mapMusic);
  std::replace(path.begin(), path.end(), '/', '\\');
  const size_t space = path.find(' ');
  if (space != std::string::npos) path.erase(0, space + 1);
  return path;
}

PropertiesView SetData(const ListRow& row, SourceList source, PropertiesSources& sources) {
  sources.appState.RaiseBusy();
  PropertiesView view;
  view.items = ItemsOf(row);
  view.caption = "Properties of " + row[DemoInfo::Name];
  view.playlistButton =
      source == SourceList::kDemoList ? PlaylistButton::kAdd : PlaylistButton::kRemove;
  // The lists' playable rule: their mod text of an unread demo is the lower-case "n/a".
  view.playEnabled = IsPlayable(row);

  ReadDemoOfRow(row, sources.reader, true);
  DemoReadState& state = sources.reader.State();
  view.music = MapMusicPath(state.MapMusic);
  view.levelShot = FindLevelShot(sources.files, FoldersOf(sources.game, state), row[DemoInfo::Map],
                                 GetInfoValue(state, "sv_referencedPakNames"), sources.loadPicture);
  if (view.music) {
    const std::string base = sources.game.baseArchive();
    if (!view.levelShot.archive.empty())
      view.musicSources.push_back({view.levelShot.archive, *view.music});
    if (view.levelShot.archive != base) view.musicSources.push_back({base, *view.music});
  }
  view.general = General(row, state);
  view.serverDetail = ServerDetail(state);
  view.players = FillPlayerList(state);
  view.course = state.MatchLog;
  view.user =
      LoadUserTab(sources.files, sources.messages,
                  UserDataPath(sources.userDataFolder, row[DemoInfo::Name]), sources.random);
  return view;
}

}  // namespace rw
