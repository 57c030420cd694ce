#include "library/properties.h"

#include <gtest/gtest.h>

#include <array>

#include "library/user_data.h"
#include "properties_fixture.h"
#include "support/demo_writer.h"

namespace rw {
namespace {

using test::InfoText;
using test::PropertiesFixture;
using Rgba = std::array<uint8_t, 4>;

Rgba Pixel(const Image& image, int x, int y) {
  const size_t at = (static_cast<size_t>(y) * image.width + x) * 4;
  return {image.rgba[at], image.rgba[at + 1], image.rgba[at + 2], image.rgba[at + 3]};
}

std::string ServerInfo(std::string_view map, std::string_view gametype = "0") {
  return InfoText({{"sv_hostname", "^1Frag ^7Arena"},
                   {"mapname", map},
                   {"protocol", "43"},
                   {"version", "Q3 1.17 win-x86"},
                   {"g_gametype", gametype},
                   {"fraglimit", "0"},
                   {"timelimit", "15"},
                   {"sv_maxclients", "16"},
                   {"sv_privateClients", "2"},
                   {"g_redteam", "Stroggs"}});
}

std::string SystemInfo(std::string_view referencedPaks = "baseq3/pak0") {
  return InfoText({{"sv_pure", "1"},
                   {"sv_cheats", "0"},
                   {"sv_serverid", "42"},
                   {"sv_referencedPakNames", referencedPaks}});
}

std::string Demo(std::string_view serverInfo, std::string_view systemInfo) {
  return test::DemoWriter(43).AddGameState(serverInfo, systemInfo).AddSnapshot(1000).End().bytes();
}

// The pictures of the shared sample archive under the names a game's archives use.
struct Pictures {
  std::string jpeg = test::SamplePicture("levelshots\\ps37ctf2.jpg");   // 128 by 128
  std::string targa = test::SamplePicture("levelshots\\oa_minia.tga");  // 128 by 128
};

TEST(Properties, StandardMapLevelShotComesFromPak0OrIsTheUnknownMap) {
  const Pictures pictures;
  PropertiesFixture f;
  const std::string pak0 = f.gameFolder + "/baseq3/pak0.pk3";
  f.WriteArchive("baseq3/pak0.pk3", {{"levelshots/q3dm17.jpg", pictures.jpeg},
                                     {"menu/art/unknownmap.jpg", pictures.jpeg}});
  const ListRow row = f.WriteDemo("final.dm3", Demo(ServerInfo("q3dm17"), SystemInfo()), "q3dm17");
  PropertiesView view = f.Run(row);
  EXPECT_EQ(f.loaded, std::vector<std::string>{pak0 + "|levelshots\\q3dm17.jpg"});
  EXPECT_TRUE(view.levelShot.candidates.empty());
  EXPECT_EQ(view.levelShot.archive, pak0);
  EXPECT_EQ(view.musicSources, (std::vector<ArchiveMember>{{pak0, "music\\sonic5.wav"}}));
  ASSERT_TRUE(view.levelShot.picture);
  EXPECT_EQ(view.levelShot.picture->width, 128);
  EXPECT_EQ(Pixel(*view.levelShot.picture, 0, 0), (Rgba{32, 43, 123, 255}));  // djpeg's value

  f.loaded.clear();
  f.WriteArchive("baseq3/pak0.pk3", {{"menu/art/unknownmap.jpg", pictures.jpeg}});
  view = f.Run(row);
  EXPECT_EQ(f.loaded, std::vector<std::string>{pak0 + "|menu\\art\\unknownmap.jpg"});
  EXPECT_EQ(view.levelShot.archive, pak0);
  EXPECT_TRUE(view.levelShot.picture);
}

TEST(Properties, CustomMapArchiveNamedByTheServerIsTriedFirst) {
  const Pictures pictures;
  PropertiesFixture f;
  f.WriteArchive("baseq3/pak0.pk3", {{"menu/art/unknownmap.jpg", pictures.jpeg}});
  f.WriteArchive("baseq3/aaa.pk3", {{"levelshots/cpm22.jpg", pictures.jpeg}});
  f.WriteArchive("baseq3/mymap.pk3", {{"levelshots/cpm22.tga", pictures.targa}});
  f.WriteArchive("baseq3/zzz.pk3", {});
  const ListRow row =
      f.WriteDemo("cpm.dm3", Demo(ServerInfo("cpm22"), SystemInfo("baseq3/mymap")), "cpm22");
  const PropertiesView view = f.Run(row);
  EXPECT_EQ(view.levelShot.candidates,
            (std::vector<std::string>{"baseq3\\mymap.pk3", "baseq3\\aaa.pk3", "baseq3\\zzz.pk3"}));
  const std::string mymap = f.gameFolder + "/baseq3/mymap.pk3";
  EXPECT_EQ(f.loaded, std::vector<std::string>{mymap + "|levelshots\\cpm22.tga"});
  EXPECT_EQ(view.levelShot.archive, mymap);
  ASSERT_TRUE(view.levelShot.picture);
  EXPECT_EQ(Pixel(*view.levelShot.picture, 0, 0), (Rgba{36, 30, 14, 255}));
  // The map's music is looked for beside its level shot first.
  const std::string pak0 = f.gameFolder + "/baseq3/pak0.pk3";
  EXPECT_EQ(view.musicSources, (std::vector<ArchiveMember>{{mymap, "music\\sonic5.wav"},
                                                           {pak0, "music\\sonic5.wav"}}));
}

TEST(Properties, GameTypeFollowsTheRowsMod) {
  EXPECT_EQ(PropertiesGameType("5", "missionpack"), "One Flag CTF");
  EXPECT_EQ(PropertiesGameType("7", "missionpack"), "Harvester");
  EXPECT_EQ(PropertiesGameType("5", "baseq3"), "5");
  EXPECT_EQ(PropertiesGameType("4", "baseq3"), "Capture the Flag");
  EXPECT_EQ(PropertiesGameType("9", "missionpack"), "9");
  EXPECT_EQ(PropertiesGameType("N/A", "baseq3"), "N/A");
  EXPECT_EQ(PropertiesGameType("x", "missionpack"), "N/A");

  PropertiesFixture f;
  ListRow row = f.WriteDemo("one.dm3", Demo(ServerInfo("q3ctf1", "5"), SystemInfo()), "q3ctf1");
  row[kModColumn] = "missionpack";
  EXPECT_EQ(f.Run(row).general.gameType, "One Flag CTF");
  row[kModColumn] = "baseq3";
  EXPECT_EQ(f.Run(row).general.gameType, "5");
}

TEST(Properties, GeneralAndServerDetailTexts) {
  PropertiesFixture f;
  ListRow row = f.WriteDemo("a:b.dm3", Demo(ServerInfo("q3dm6"), SystemInfo()), "q3dm6");
  const PropertiesView view = f.Run(row);
  EXPECT_EQ(view.caption, "Properties of a:b.dm3");
  EXPECT_EQ(view.general.name, "b.dm3");
  EXPECT_EQ(view.general.mapFile, "q3dm6.bsp");
  EXPECT_EQ(view.general.mapLongName, "Temple of Retribution");
  EXPECT_EQ(view.general.version, "Q3 1.17 win-x86");
  EXPECT_EQ(view.general.gameType, "Free for All");
  EXPECT_EQ(view.general.mod, "N/A");
  EXPECT_EQ(view.general.timeLimit, "15");
  EXPECT_EQ(view.general.fragLimit, "N/S");
  EXPECT_EQ(view.general.captureLimit, "N/A");
  EXPECT_EQ(view.general.finalScore, "12:7");
  EXPECT_EQ(view.serverDetail.hostName, "^1Frag ^7Arena");
  EXPECT_EQ(view.serverDetail.serverId, "42");
  EXPECT_EQ(view.serverDetail.protocol, "43");
  EXPECT_EQ(view.serverDetail.pureServer, "YES");
  EXPECT_EQ(view.serverDetail.cheats, "NO");
  EXPECT_EQ(view.serverDetail.privateClients, "N/A");
  EXPECT_EQ(view.serverDetail.maxClients, "16");
  EXPECT_EQ(view.serverDetail.maxRate, "N/A");
  EXPECT_EQ(view.music, "music\\sonic5.wav");

  row[4] = "n/a";
  EXPECT_EQ(f.Run(row).general.mapFile, "N/A");
  const std::string longName(150, 'x');
  row[kDemonameColumn] = longName;
  EXPECT_EQ(f.Run(row).general.name, std::string(100, 'x'));
}

TEST(Properties, ModTextNamesTheBaseGame) {
  PropertiesFixture f;
  const std::string withGameName =
      InfoText({{"sv_serverid", "1"}, {"gamename", "BaseQ3"}, {"fs_game", "N/A"}});
  ListRow row = f.WriteDemo("m.dm3", Demo(ServerInfo("q3dm1"), withGameName), "q3dm1");
  EXPECT_EQ(f.Run(row).general.mod, "Quake III Arena");
  const std::string withMod = InfoText({{"sv_serverid", "1"}, {"fs_game", "osp"}});
  row = f.WriteDemo("m.dm3", Demo(ServerInfo("q3dm1"), withMod), "q3dm1");
  EXPECT_EQ(f.Run(row).general.mod, "osp");
}

TEST(Properties, MusicIsTheSecondOfTwoPaths) {
  EXPECT_EQ(MapMusicPath("N/A"), std::nullopt);
  EXPECT_EQ(MapMusicPath("music/fla22k03.wav"), "music\\fla22k03.wav");
  EXPECT_EQ(MapMusicPath("music/intro.wav music/loop.wav"), "music\\loop.wav");
}

TEST(Properties, ItemsButtonsAndBusyCount) {
  PropertiesFixture f;
  ListRow row = f.WriteDemo("x.dm3", Demo(ServerInfo("q3dm1"), SystemInfo()), "q3dm1");
  PropertiesView view = f.Run(row, SourceList::kDemoList);
  EXPECT_EQ(f.appState.busyCount(), 1);
  EXPECT_EQ(view.items[0], "x.dm3");
  EXPECT_EQ(view.items[21], f.demoFolder);
  EXPECT_EQ(view.items[26], "0");
  EXPECT_EQ(view.playlistButton, PlaylistButton::kAdd);
  EXPECT_TRUE(view.playEnabled);

  row[kProtocolColumn] = "46";
  view = f.Run(row, SourceList::kPlayList);
  EXPECT_EQ(f.appState.busyCount(), 2);
  EXPECT_EQ(view.playlistButton, PlaylistButton::kRemove);
  EXPECT_FALSE(view.playEnabled);

  row[kProtocolColumn] = "43";
  row[kModColumn] = "n/a";
  row[kLocationColumn] = f.demoFolder + "/pack.zip";
  view = f.Run(row);
  EXPECT_EQ(view.items[26], "6");
  EXPECT_FALSE(view.playEnabled);
}

TEST(Properties, PlayersWithScoresAndIcons) {
  PropertiesFixture f;
  const std::string demo =
      test::DemoWriter(43)
          .AddGameState(ServerInfo("q3dm1", "3"), SystemInfo(),
                        {{0, "n\\^4Blue\\t\\2"},
                         {1, "n\\Red\\t\\1"},
                         {2, "n\\Onlooker\\t\\3"},
                         {3, "n\\Bot\\t\\1\\skill\\4.0"},
                         {5, "n\\Boss\\t\\1\\tl\\1"}})
          .AddCommands(1000, {"scores 5 7 12 0 12 0 0 0 0 1 7 0 0 0 0 2 0 0 0 0 0 3 3 0 0 0 0 "
                              "5 5 0 0 0 0"})
          .End()
          .bytes();
  const PropertiesView view = f.Run(f.WriteDemo("t.dm3", demo, "q3dm1"));
  std::vector<std::string> texts;
  std::vector<int32_t> slots;
  for (const PlayerListEntry& entry : view.players) {
    texts.push_back(entry.text);
    slots.push_back(entry.displaySlot);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"^4Blue ^4(12)", "Red ^1(7)", "Boss ^1(5)",
                                             "Bot ^1(3)", "Onlooker"}));
  EXPECT_EQ(slots, (std::vector<int32_t>{-1, -1, 12, 3, 5}));
  // The placeholder of client 4 is not listed; the entries point into the table.
  const std::vector<TPlayer>& table = f.reader.State().Players;
  EXPECT_EQ(table.size(), 6u);
  EXPECT_EQ(table[view.players[2].playerIndex].Name, "Boss");
  EXPECT_EQ(table[view.players[2].playerIndex].DisplaySlot, 12);
}

TEST(Properties, PlayerTextsAndSlots) {
  TPlayer player;
  player.Name = "^3Visor";
  player.Team = 2;
  player.Score = 12;
  EXPECT_EQ(PlayerListText(player), "^3Visor ^4(12)");
  player.Team = 0;
  EXPECT_EQ(PlayerListText(player), "^3Visor ^2(12)");
  player.Score = -9999;
  EXPECT_EQ(PlayerListText(player), "^3Visor");
  player.Score = -9998;
  EXPECT_EQ(PlayerListText(player), "^3Visor ^2(-9998)");

  player.Skill = kKeyAbsent;
  player.Team = 2;
  player.TeamLeader = "1";
  EXPECT_EQ(DisplaySlotOf(player, "Pagans", "The Fallen"), 15);
  EXPECT_EQ(DisplaySlotOf(player, "Pagans", "Sharks"), kNoPlayerIcon);
  player.Team = 1;
  EXPECT_EQ(DisplaySlotOf(player, "crusaders", "x"), 6);
  player.TeamLeader = "0";
  EXPECT_EQ(DisplaySlotOf(player, "crusaders", "x"), kNoPlayerIcon);
  player.Skill = 1.0;
  EXPECT_EQ(DisplaySlotOf(player, "", ""), 0);
  player.Skill = 3.5;  // rounded to even
  EXPECT_EQ(DisplaySlotOf(player, "", ""), 2);
  player.Skill = 9.0;  // no bot icon for it: the next rule decides
  player.Team = 3;
  EXPECT_EQ(DisplaySlotOf(player, "", ""), 5);
}

TEST(Properties, UserTabShowsTheNotesOrASample) {
  PropertiesFixture f;
  const ListRow row = f.WriteDemo("n.dm3", Demo(ServerInfo("q3dm1"), SystemInfo()), "q3dm1");
  PropertiesView view = f.Run(row);
  EXPECT_TRUE(view.user.sample);
  EXPECT_EQ(view.user.pov, "^1S^2a^3m^4p^5l^6e ^7P^0l^1a^2y^3e^4r");
  EXPECT_EQ(view.user.rating, "666");
  EXPECT_EQ(view.user.description,
            "\r\nThis is a sample description.\r\n\r\nClick the 'Userdata' button to add your "
            "demo comments here.");
  EXPECT_EQ(view.user.link, kSampleMailLink);
  f.nextRandom = 1;
  EXPECT_EQ(f.Run(row).user.link, kSampleWebLink);

  UserData notes;
  notes.POV = "^1Visor";
  notes.Rating = "7";
  notes.Description = {"first", "second"};
  const std::string path = UserDataPath(f.userDataFolder, "n.dm3");
  ASSERT_TRUE(SaveUserData(f.files, f.messages, path, notes));
  view = f.Run(row);
  EXPECT_FALSE(view.user.sample);
  EXPECT_EQ(view.user.pov, "^1Visor");
  EXPECT_EQ(view.user.rating, "7");
  EXPECT_EQ(view.user.link, "");  // the file's EMPTY line
  EXPECT_EQ(view.user.description, "first\n\rsecond\n\r");
  EXPECT_TRUE(f.messages.shown.empty());
}

TEST(Properties, UnreadableUserDataIsReported) {
  PropertiesFixture f;
  const ListRow row = f.WriteDemo("u.dm3", Demo(ServerInfo("q3dm1"), SystemInfo()), "q3dm1");
  const std::string path = UserDataPath(f.userDataFolder, "u.dm3");
  f.files.CreateFolder(path);  // exists, but cannot be read as a file
  const PropertiesView view = f.Run(row);
  ASSERT_EQ(f.messages.shown.size(), 1u);
  EXPECT_EQ(f.messages.shown[0].caption, "RWT Load File Error");
  EXPECT_EQ(f.messages.shown[0].text, "Prop.SetData: " + path);
  EXPECT_EQ(f.messages.shown[0].icon, MessageIcon::kError);
  EXPECT_FALSE(view.user.sample);
  EXPECT_EQ(view.user.rating, "");
}

}  // namespace
}  // namespace rw
