#include "model/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/fake/fake_host.h"
#include "support/test_files.h"

namespace rw {
namespace {

constexpr char kFatalText[] =
    "'Quake III Arena (c) 1999-2000 ID Software Inc.' not found!\r\n"
    "You must have a Quake III Arena Full Install\r\n"
    "Program terminates now";

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() {
    game = dir.Join("Quake III Arena");
    test::WriteBytes(game + "/quake3.exe", "MZ");
    config = dir.Join("Reelwright.cfg");
  }

  Settings LoadFresh() {
    Settings settings = Settings::Defaults(game);
    EXPECT_EQ(LoadSettings(fs, messages, OpenSettingsFile(fs, messages, config), settings),
              SettingsLoad::kLoaded);
    return settings;
  }

  test::TempDir dir;
  FakeFileSystem fs;
  FakeMessages messages;
  std::string game;
  std::string config;
};

TEST_F(SettingsTest, FirstRunGivesEveryDefault) {
  const Settings s = LoadFresh();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(s.global.q3a_dir, game);
  EXPECT_EQ(s.global.Selected_Folder, game);
  EXPECT_EQ(s.global.q3a_start_param, "");
  EXPECT_EQ(s.global.ff_key, "kp_enter");
  EXPECT_EQ(s.global.sm_key, "kp_del");
  EXPECT_EQ(s.global.inc_key, "kp_plus");
  EXPECT_EQ(s.global.dec_key, "kp_minus");
  EXPECT_EQ(s.global.pause_key, "pause");
  EXPECT_EQ(s.global.next_key, "kp_5");
  EXPECT_FALSE(s.global.no_hints);
  EXPECT_TRUE(s.global.no_splash);
  EXPECT_TRUE(s.global.tip_of_day);
  EXPECT_TRUE(s.global.work_readonly);
  EXPECT_TRUE(s.global.restore_new_version);
  EXPECT_EQ(s.global.toolbar_dockpos, 0);
  EXPECT_FALSE(s.demos.loop_demos);
  EXPECT_FALSE(s.demos.time_demos);
  EXPECT_TRUE(s.demos.mod_demos);
  EXPECT_TRUE(s.sound.sound_enable && s.sound.play_sounds && s.sound.play_musics &&
              s.sound.play_menus);
  EXPECT_EQ(s.sound.vol_musics, -2500);
  EXPECT_EQ(s.sound.vol_sounds, -2500);
  EXPECT_EQ(s.sound.vol_menus, -2500);
  EXPECT_EQ(s.virtualFolders.width, 200);
  EXPECT_TRUE(s.virtualFolders.visible);
  EXPECT_FALSE(s.virtualFolders.ViewStyle);
  EXPECT_TRUE(s.virtualFolders.AutoScroll);
  EXPECT_EQ(s.virtualFolders.Color, 10813437);
  EXPECT_EQ(s.virtualFolders.DemoFolderFontColor, 0);
  EXPECT_EQ(s.virtualFolders.NonDemoFolderFontColor, 8421504);
  EXPECT_EQ(s.demoList.width, 404);
  EXPECT_EQ(s.demoList.Color, 16776678);
  EXPECT_EQ(s.demoList.ViewStyle, 3);
  EXPECT_FALSE(s.demoList.GridStyle);
  EXPECT_FALSE(s.demoList.FullRowSelect);
  EXPECT_TRUE(s.demoList.AutoActivateItems);
  EXPECT_EQ(s.playList.width, 200);
  EXPECT_TRUE(s.playList.visible);
  EXPECT_EQ(s.playList.Color, 16770809);
  EXPECT_FALSE(s.playList.AutoActivateItems);
  for (const ListSettings* list : {&s.demoList, &s.playList}) {
    EXPECT_EQ(list->columns.sortColumn, 0);
    EXPECT_FALSE(list->columns.sortAscending);
    EXPECT_EQ(list->columns.widths[0], -2);
    EXPECT_EQ(list->columns.widths[3], 0);
    EXPECT_EQ(list->columns.order[0], 3);
    EXPECT_EQ(list->columns.order[25], 2);
  }
  EXPECT_EQ(s.mainWindow.left, 425);
  EXPECT_EQ(s.mainWindow.top, 339);
}

TEST_F(SettingsTest, FirstExitWritesEveryKeyInTheSectionOrder) {
  const Settings s = LoadFresh();
  ASSERT_TRUE(SaveSettings(fs, config, s));
  const std::string text = test::ReadBytes(config);
  size_t last = 0;
  for (const char* section : {"[Global]", "[Demos]", "[Sound]", "[Virtual Folders]", "[Demo List]",
                              "[Play List]", "[MainWindow]"}) {
    const size_t at = text.find(std::string(section) + "\r\n");
    ASSERT_NE(at, std::string::npos) << section;
    EXPECT_GE(at, last) << section;
    last = at;
  }
  size_t keys = 0;
  for (size_t at = text.find('='); at != std::string::npos; at = text.find('=', at + 1)) ++keys;
  // Global 15, Demos 3, Sound 7, Virtual Folders 7, Demo List 8 + 52, Play List 9 + 52,
  // MainWindow 4.
  EXPECT_EQ(keys, 157u);
  EXPECT_NE(text.find("no_splash=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("Color=10813437\r\n"), std::string::npos);
  EXPECT_NE(text.find("[Play List]\r\nWidth=200\r\n"), std::string::npos);
  EXPECT_NE(text.find("Column25_Order=2\r\n"), std::string::npos);
}

TEST_F(SettingsTest, ValuesRoundTripAndUnknownKeysSurvive) {
  test::WriteBytes(config, "[Global]\r\nq3a_dir=" + game +
                               "\r\nlanguage=de\r\n[Extra Tools]\r\npath=C:\\tools\r\n");
  Settings s = LoadFresh();
  s.global.q3a_start_param = std::string(3000, 'w');
  s.virtualFolders.DemoFolderFontColor = ColorReference(12, 34, 56);
  s.playList.width = 321;
  s.playList.visible = false;
  s.demoList.columns.sortColumn = 4;
  s.demoList.columns.sortAscending = true;
  s.sound.vol_musics = -10000;
  ASSERT_TRUE(SaveSettings(fs, config, s));

  const Settings back = LoadFresh();
  EXPECT_EQ(back.global.q3a_start_param, std::string(2047, 'w'));
  EXPECT_EQ(back.virtualFolders.DemoFolderFontColor, 12 + (34 << 8) + (56 << 16));
  EXPECT_EQ(back.playList.width, 321);
  EXPECT_FALSE(back.playList.visible);
  EXPECT_EQ(back.demoList.columns.sortColumn, 4);
  EXPECT_TRUE(back.demoList.columns.sortAscending);
  EXPECT_EQ(back.sound.vol_musics, -10000);
  const std::string text = test::ReadBytes(config);
  EXPECT_NE(text.find("language=de\r\n"), std::string::npos);
  EXPECT_NE(text.find("[Extra Tools]\r\npath=C:\\tools\r\n"), std::string::npos);
}

TEST_F(SettingsTest, ColourHelpersFollowTheColourReferenceLayout) {
  EXPECT_EQ(ColorReference(253, 255, 164), 0xA4FFFD);
  EXPECT_EQ(RedOf(16776678), 230);
  EXPECT_EQ(GreenOf(16776678), 253);
  EXPECT_EQ(BlueOf(16776678), 255);
}

TEST_F(SettingsTest, ColumnOrderMissingKeepsTheBuiltInColumn) {
  test::WriteBytes(config, "[Demo List]\r\nColumn12_Width=77\r\nColumn3_Order=$0\r\n");
  const Settings s = LoadFresh();
  EXPECT_EQ(s.demoList.columns.widths[12], 77);
  EXPECT_EQ(s.demoList.columns.order[12], 15);
  EXPECT_EQ(s.demoList.columns.order[3], 0);
  EXPECT_EQ(s.playList.columns.widths[12], 0);
}

TEST_F(SettingsTest, UnparsableValuesReadAsDefaults) {
  test::WriteBytes(config,
                   "[global]\r\nTOOLBAR_DOCKPOS=left\r\ntip_of_day=no\r\n"
                   "[Sound]\r\nvol_menus=-25x\r\n[MainWindow]\r\nleft=0x10\r\n");
  const Settings s = LoadFresh();
  EXPECT_EQ(s.global.toolbar_dockpos, 0);
  EXPECT_TRUE(s.global.tip_of_day);
  EXPECT_EQ(s.sound.vol_menus, -2500);
  EXPECT_EQ(s.mainWindow.left, 16);
}

TEST_F(SettingsTest, GameProgramFoundWithoutRegardToCase) {
  const std::string other = dir.Join("Q3");
  test::WriteBytes(other + "/QUAKE3.EXE", "MZ");
  std::string folder = other;
  EXPECT_TRUE(ValidateGameFolder(fs, messages, EngineSearch{}, folder));
  EXPECT_EQ(folder, other);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsTest, ChooserPicksTheGameFolder) {
  const std::string empty = dir.Join("empty");
  test::WriteBytes(empty + "/readme.txt", "");
  test::WriteBytes(config, "[Global]\r\nq3a_dir=" + empty + "\r\n");
  messages.inputs.push_back(game);
  const Settings s = LoadFresh();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].kind, "folder");
  EXPECT_EQ(messages.shown[0].caption, "Please search your Quake III Arena program path");
  EXPECT_EQ(messages.shown[0].text, empty);
  EXPECT_EQ(s.global.q3a_dir, game);
  EXPECT_EQ(s.global.Selected_Folder, game);
}

TEST_F(SettingsTest, AGameFolderGivenInPlaceOfTheFilesIsTheOneValidatedAndSelected) {
  test::WriteBytes(config, "[Global]\r\nq3a_dir=" + dir.Join("missing") + "\r\n");
  const std::string other = dir.Join("Other Game");
  test::WriteBytes(other + "/quake3.exe", "MZ");
  Settings s = Settings::Defaults(game);
  EXPECT_EQ(LoadSettings(fs, messages, OpenSettingsFile(fs, messages, config), s, {other}),
            SettingsLoad::kLoaded);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(s.global.q3a_dir, other);
  EXPECT_EQ(s.global.Selected_Folder, other);

  // A front end that needs no game reads the rest without asking for one.
  Settings unchecked = Settings::Defaults(game);
  EXPECT_EQ(
      LoadSettings(fs, messages, OpenSettingsFile(fs, messages, config), unchecked, {"", false}),
      SettingsLoad::kLoaded);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(unchecked.global.q3a_dir, dir.Join("missing"));
}

TEST_F(SettingsTest, ChooserSaysWhatItWantsAndOffersANativeInstallation) {
  test::WriteBytes(config, "[Global]\r\nq3a_dir=" + dir.Join("missing") + "\r\n");
  const std::string debian = dir.Join("usr/share/games/quake3");
  std::filesystem::create_directories(debian + "/baseq3");
  test::WriteBytes(dir.Join("usr/lib/ioquake3/ioquake3"), "#!/bin/sh\n");
  messages.inputs.push_back(debian);
  Settings s = Settings::Defaults(game);
  const StartGameFolder start{
      "", true, {.userHome = dir.Join("user"), .systemPrefix = dir.Join("usr")}};
  EXPECT_EQ(LoadSettings(fs, messages, OpenSettingsFile(fs, messages, config), s, start),
            SettingsLoad::kLoaded);
  EXPECT_EQ(messages.lastExplanation,
            "Choose the folder of your Quake III Arena installation: it holds quake3.exe, "
            "ioquake3 or quake3e and the baseq3 folder.");
  ASSERT_EQ(messages.lastOffers.size(), 1u);
  EXPECT_EQ(messages.lastOffers[0].folder, debian);
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(s.global.q3a_dir, debian);
}

// A wrong folder is explained and asked for again; only Cancel ends the program.
TEST_F(SettingsTest, NoGameIsFatalAndTheExitRemovesTheFile) {
  test::WriteBytes(
      config, "[Global]\r\nq3a_dir=" + dir.Join("missing") + "\r\n[Demos]\r\nloop_demos=1\r\n");
  messages.inputs.push_back(dir.path());  // a folder without the game
  Settings s = Settings::Defaults(game);
  EXPECT_EQ(LoadSettings(fs, messages, OpenSettingsFile(fs, messages, config), s),
            SettingsLoad::kFatal);
  ASSERT_EQ(messages.shown.size(), 4u);
  EXPECT_EQ(messages.shown[0].kind, "folder");
  EXPECT_EQ(messages.shown[0].text, "");  // the user's home
  EXPECT_EQ(messages.shown[1].caption, "Quake III Arena not found");
  EXPECT_TRUE(messages.shown[1].text.starts_with(
      dir.path() +
      " holds no program that plays Quake III Arena demos.\r\nLooked for "
      "quake3.exe, ioquake3."))
      << messages.shown[1].text;
  EXPECT_EQ(messages.shown[2].kind, "folder");
  EXPECT_EQ(messages.shown[2].text, dir.path());  // again, from the folder chosen
  EXPECT_EQ(messages.shown[3].kind, "message");
  EXPECT_EQ(messages.shown[3].caption, "Fatal Error");
  EXPECT_EQ(messages.shown[3].text, kFatalText);
  EXPECT_EQ(messages.shown[3].icon, MessageIcon::kError);
  EXPECT_EQ(s.global.q3a_dir, "ERROR");
  EXPECT_FALSE(s.demos.loop_demos);  // the rest of the load is abandoned

  EXPECT_TRUE(SaveSettings(fs, config, s));
  EXPECT_FALSE(fs.Exists(config));
}

TEST_F(SettingsTest, UnreadableFileIsReportedAndLeftAlone) {
  test::WriteBytes(config + "/inside", "a folder where the file should be");
  const Settings s = LoadFresh();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "Error creating file");
  EXPECT_EQ(messages.shown[0].text, "Could not create Reelwright.cfg");
  EXPECT_EQ(s.demoList.width, 404);
  EXPECT_FALSE(SaveSettings(fs, config, s));
  EXPECT_FALSE(ReadNoSplash(fs, messages, config));
  EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(SettingsTest, EntryReadsNoSplashAsFalseWhenMissing) {
  EXPECT_FALSE(ReadNoSplash(fs, messages, config));
  test::WriteBytes(config, "[Global]\r\nno_splash=1\r\n");
  EXPECT_TRUE(ReadNoSplash(fs, messages, config));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsTest, FailedWriteKeepsTheOldFile) {
  test::WriteBytes(config, "[Global]\r\nno_hints=1\r\n");
  Settings s = LoadFresh();
  s.global.no_hints = false;
  fs.failWrites.push_back(config);
  EXPECT_FALSE(SaveSettings(fs, config, s));
  EXPECT_EQ(test::ReadBytes(config), "[Global]\r\nno_hints=1\r\n");
}

TEST_F(SettingsTest, FolderFontColourIsWrittenAtOnce) {
  test::WriteBytes(config, "[Virtual Folders]\r\nwidth=150\r\n");
  ASSERT_TRUE(SaveFolderFontColor(fs, config, "NonDemoFolderFontColor", 255));
  EXPECT_EQ(test::ReadBytes(config),
            "[Virtual Folders]\r\nwidth=150\r\nNonDemoFolderFontColor=255\r\n");
}

}  // namespace
}  // namespace rw

namespace rw {
namespace {

TEST(StartUpPicture, NosplashAnywhereInTheFirstArgumentOnly) {
  EXPECT_TRUE(ShowsStartUpPicture(false, ""));
  EXPECT_FALSE(ShowsStartUpPicture(false, "nosplash"));
  EXPECT_FALSE(ShowsStartUpPicture(false, "--xnosplashx"));
  EXPECT_TRUE(ShowsStartUpPicture(false, "NoSplash"));
  EXPECT_FALSE(ShowsStartUpPicture(true, ""));
}

}  // namespace
}  // namespace rw
