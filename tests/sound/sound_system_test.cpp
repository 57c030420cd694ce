#include "sound/sound_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "sound_rig.h"

namespace rw::test {
namespace {

const std::string kClick = SineWave(8000, 0.1, 0.5);
constexpr std::string_view kMenu1 = "sound\\misc\\menu1.wav";

std::vector<std::string> Loads(const RecordingSoundDriver& driver) {
  std::vector<std::string> loads;
  for (const std::string& call : driver.calls) {
    if (call.starts_with("load")) loads.push_back(call);
  }
  return loads;
}

TEST(SoundSystem, PlaysAButtonSoundOnceAtItsVolumeAndTheNextOneInItsPlace) {
  RecordingSoundDriver driver;
  SoundRig rig(driver, {{"sound/misc/menu1.wav", kClick}, {"sound/misc/menu4.wav", kClick}});
  EXPECT_TRUE(rig.sound.PlayButtonSound(kMenu1));
  EXPECT_TRUE(rig.sound.PlayButtonSound("SOUND\\MISC\\MENU4.WAV"));
  // 0.1 s of 8000 Hz 16-bit mono: 1600 bytes of samples.
  EXPECT_EQ(driver.calls,
            (std::vector<std::string>{"create", "load 2 8000 1 16 1600", "volume 2 -2500",
                                      "play 2 once", "release 2", "load 2 8000 1 16 1600",
                                      "volume 2 -2500", "play 2 once"}));
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST(SoundSystem, RealGameWavesPlayAlsoWithAChunkBeforeTheirData) {
  RecordingSoundDriver driver;
  SoundRig rig(driver, {});
  const std::string pk3 = TestDataPath("pk3/openarena-sample.pk3");
  EXPECT_TRUE(rig.sound.PlayModelSound(pk3, "sound\\le\\bullet1.wav"));
  EXPECT_TRUE(rig.sound.PlayModelSound(pk3, "sound\\feedback\\1_minute.wav"));
  // The data chunks' sizes as xxd shows them: 0x0562 at byte 40, 0x00021bf0 at byte 52.
  EXPECT_EQ(Loads(driver),
            (std::vector<std::string>{"load 1 22050 1 16 1378", "load 1 44100 1 16 138224"}));
}

TEST(SoundSystem, ASwitchedOffSlotStaysSilentWhileTheOthersPlay) {
  RecordingSoundDriver driver;
  SoundRig rig(driver, {{"sound/misc/menu1.wav", kClick}});
  rig.sound.Switch(kButtonSlot, false);
  EXPECT_FALSE(rig.settings.play_menus);
  EXPECT_FALSE(rig.sound.PlayButtonSound(kMenu1));
  EXPECT_FALSE(rig.sound.PlayFromPak(rig.archive, kMenu1, 3));  // no such slot
  EXPECT_TRUE(rig.sound.PlayModelSound(rig.archive, kMenu1));
  EXPECT_EQ(Loads(driver), std::vector<std::string>{"load 1 8000 1 16 1600"});

  // All sound off: nothing plays, and the device is gone.
  rig.sound.Disable();
  EXPECT_FALSE(rig.settings.sound_enable);
  EXPECT_FALSE(driver.open);
  EXPECT_FALSE(rig.sound.PlayModelSound(rig.archive, kMenu1));
}

TEST(SoundSystem, AMissingArchiveRefusesUntilItExists) {
  RecordingSoundDriver driver;
  SoundRig rig(driver, {{"sound/misc/menu1.wav", kClick}});
  const std::string kept = rig.dir.Join("kept.pk3");
  std::filesystem::rename(rig.archive, kept);
  EXPECT_FALSE(rig.sound.PlayButtonSound(kMenu1));
  std::filesystem::rename(kept, rig.archive);
  EXPECT_FALSE(rig.sound.PlayButtonSound("sound\\misc\\none.wav"));
  EXPECT_TRUE(rig.sound.PlayButtonSound(kMenu1));
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST(SoundSystem, ABrokenHeaderIsReportedAndPlaysNothing) {
  RecordingSoundDriver driver;
  SoundRig rig(driver, {{"sound/misc/menu1.wav", WaveFile(RiffChunk("data", "abcd"))}});
  EXPECT_FALSE(rig.sound.PlayButtonSound(kMenu1));
  ASSERT_EQ(rig.messages.shown.size(), 1U);
  EXPECT_EQ(rig.messages.shown[0].text, "Couldn't find 'fmt' chunk!");
  EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::kError);
  EXPECT_TRUE(Loads(driver).empty());
}

TEST(SoundSystem, ARequestMadeWhileASoundLoadsIsRefused) {
  RecordingSoundDriver driver;
  SoundRig rig(driver, {{"sound/misc/menu1.wav", std::string(kClick) + std::string(300000, 0)}});
  int nested = 0;
  rig.pump.onService = [&] {
    ++nested;
    EXPECT_FALSE(rig.sound.PlayModelSound(rig.archive, kMenu1));
  };
  EXPECT_TRUE(rig.sound.PlayButtonSound(kMenu1));
  EXPECT_GT(nested, 0);
  EXPECT_EQ(Loads(driver).size(), 1U);
}

TEST(SoundSystem, MusicLoopsFadesInToItsVolumeAndFadesOutWhileTheProgramIsBusy) {
  RecordingSoundDriver driver;
  SoundRig rig(driver, {{"music/map.wav", kClick}});
  EXPECT_TRUE(rig.sound.PlayMusic(rig.archive, "music\\map.wav"));
  // From -5000 up by 300 a tick: -2300 passes -2500, which it then takes exactly.
  EXPECT_EQ(rig.timer.ticks, 9);
  EXPECT_FALSE(rig.timer.running);
  EXPECT_EQ(driver.volumes[kMusicSlot], -2500);
  EXPECT_NE(std::find(driver.calls.begin(), driver.calls.end(), "play 0 looping"),
            driver.calls.end());

  std::vector<int32_t> heard;
  rig.timer.onWait = [&] {
    EXPECT_TRUE(rig.appState.isBusy());
    heard.push_back(driver.volumes[kMusicSlot]);
  };
  rig.sound.FadeOutMusic();
  EXPECT_EQ(heard,
            (std::vector<int32_t>{-2500, -2800, -3100, -3400, -3700, -4000, -4300, -4600, -4900}));
  EXPECT_EQ(driver.volumes[kMusicSlot], -5000);
  EXPECT_FALSE(driver.loaded[kMusicSlot]);
  EXPECT_FALSE(rig.sound.musicPlaying());
  EXPECT_FALSE(rig.appState.isBusy());
}

TEST(SoundSystem, SwitchingMusicOnAsksForItAndSwitchingItOffFadesItOut) {
  RecordingSoundDriver driver;
  SoundRig rig(driver, {{"music/map.wav", kClick}});
  int asked = 0;
  rig.sound.musicWanted = [&] {
    ++asked;
    rig.sound.PlayMusic(rig.archive, "music\\map.wav");
  };
  rig.sound.Switch(kMusicSlot, false);
  rig.sound.Switch(kMusicSlot, true);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(rig.sound.musicPlaying());
  rig.sound.Switch(kMusicSlot, true);  // music plays already
  EXPECT_EQ(asked, 1);
  rig.sound.Switch(kMusicSlot, false);
  EXPECT_FALSE(driver.loaded[kMusicSlot]);
  EXPECT_EQ(driver.volumes[kMusicSlot], -5000);
}

TEST(SoundSystem, AMovedSliderIsHeardAtOnceAndKeptInTheSettings) {
  RecordingSoundDriver driver;
  SoundRig rig(driver, {{"sound/misc/menu1.wav", kClick}});
  rig.sound.SetVolume(kModelSoundSlot, -1200);  // no sound there yet
  EXPECT_EQ(rig.settings.vol_sounds, -1200);
  EXPECT_EQ(driver.calls.back(), "create");
  rig.sound.PlayButtonSound(kMenu1);
  rig.sound.SetVolume(kButtonSlot, -700);
  EXPECT_EQ(rig.settings.vol_menus, -700);
  EXPECT_EQ(driver.calls.back(), "volume 2 -700");
}

TEST(SoundSystem, WithoutAnOutputTheProgramGoesOnSilentlyAfterAMessage) {
  RecordingSoundDriver driver;
  driver.fails = true;
  SoundRig rig(driver, {{"sound/misc/menu1.wav", kClick}});
  EXPECT_FALSE(rig.settings.sound_enable);
  ASSERT_EQ(rig.messages.shown.size(), 1U);
  EXPECT_EQ(rig.messages.shown[0].caption, "Reelwright 1.32");
  EXPECT_EQ(rig.messages.shown[0].text,
            "No sound: OpenAL could not open the sound device. Is there a sound card, and does "
            "PipeWire, PulseAudio or ALSA run?\r\nReelwright goes on without sound; Sound Options "
            "in the Options menu tries again.");
  EXPECT_FALSE(rig.sound.PlayButtonSound(kMenu1));
  EXPECT_EQ(rig.sound.Enable(), SoundStart::kFailed);
  driver.fails = false;
  EXPECT_EQ(rig.sound.Enable(), SoundStart::kCreated);
  EXPECT_EQ(rig.sound.Enable(), SoundStart::kAlreadyThere);
  EXPECT_TRUE(rig.settings.sound_enable);
  EXPECT_TRUE(rig.sound.PlayButtonSound(kMenu1));
}

}  // namespace
}  // namespace rw::test
