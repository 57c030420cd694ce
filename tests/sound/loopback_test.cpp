// What the user hears, rendered through OpenAL Soft's loopback device, which needs no sound
// card: the mixer's output samples are measured.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sound/openal_driver.h"
#include "sound_rig.h"

namespace rw::test {
namespace {

constexpr int kRate = 20000;
constexpr int kTickFrames = kRate / 20;  // 50 ms
constexpr std::string_view kMenu1 = "sound\\misc\\menu1.wav";

// The root mean square of the left channel of the next frames the mixer gives.
double RenderLevel(int frames) {
  static const auto render =
      reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
  std::vector<float> stereo(static_cast<size_t>(frames) * 2);
  render(alcGetContextsDevice(alcGetCurrentContext()), stereo.data(), frames);
  double sum = 0;
  for (int i = 0; i < frames; ++i) sum += double{stereo[2 * i]} * stereo[2 * i];
  return std::sqrt(sum / frames);
}

// The level once a change of gain has settled: the mixer ramps gains over a short time.
double SettledLevel() {
  RenderLevel(kTickFrames / 2);
  return RenderLevel(kTickFrames / 2);
}

double Gain(int32_t volume) {
  return std::pow(10.0, volume / 2000.0);
}

class Loopback : public ::testing::Test {
 protected:
  OpenAlDriver driver = OpenAlDriver::Loopback(kRate);
};

TEST_F(Loopback, AClickIsHeardAtItsVolume) {
  SoundRig rig(driver, {{"sound/misc/menu1.wav", SineWave(kRate, 1.0, 0.5)}});
  ASSERT_TRUE(rig.settings.sound_enable) << "the loopback device did not open";
  EXPECT_EQ(SettledLevel(), 0.0);

  rig.settings.vol_menus = 0;
  ASSERT_TRUE(rig.sound.PlayButtonSound(kMenu1));
  const double full = SettledLevel();
  EXPECT_GT(full, 0.1);

  rig.settings.vol_menus = -2500;
  ASSERT_TRUE(rig.sound.PlayButtonSound(kMenu1));
  const double quiet = SettledLevel();
  EXPECT_NEAR(quiet / full, Gain(-2500), 0.02 * Gain(-2500));

  // Once played through, the click ends.
  RenderLevel(kRate);
  EXPECT_EQ(SettledLevel(), 0.0);
}

TEST_F(Loopback, TheMusicFadesOutIn300StepsAndEnds) {
  SoundRig rig(driver, {{"music/map.wav", SineWave(kRate, 2.0, 0.5)}});
  rig.timer.onWait = [] { RenderLevel(kTickFrames); };
  ASSERT_TRUE(rig.sound.PlayMusic(rig.archive, "music\\map.wav"));
  const double playing = SettledLevel();
  EXPECT_GT(playing, 0.01);

  std::vector<double> heard;
  rig.timer.onWait = [&] { heard.push_back(SettledLevel()); };
  rig.sound.FadeOutMusic();
  ASSERT_EQ(heard.size(), 9U);  // -2500 down to -4900, then -5000 and released
  for (size_t tick = 0; tick < heard.size(); ++tick) {
    const double expected = Gain(-300 * static_cast<int32_t>(tick));
    EXPECT_NEAR(heard[tick] / playing, expected, 0.03 * expected) << "tick " << tick;
  }
  EXPECT_EQ(SettledLevel(), 0.0);
}

TEST_F(Loopback, ASwitchedOffSlotOrABrokenHeaderGivesSilence) {
  SoundRig rig(driver,
               {{"sound/misc/menu1.wav", SineWave(kRate, 1.0, 0.5)},
                {"sound/misc/broken.wav", WaveFile(RiffChunk("data", "abcd"))},
                {"sound/misc/24bit.wav", WaveFile(RiffChunk("fmt ", FormatRecord(1, 1, kRate, 24)) +
                                                  RiffChunk("data", std::string(3000, '\x40')))}});
  rig.sound.Switch(kButtonSlot, false);
  EXPECT_FALSE(rig.sound.PlayButtonSound(kMenu1));
  EXPECT_EQ(SettledLevel(), 0.0);

  rig.sound.Switch(kButtonSlot, true);
  EXPECT_FALSE(rig.sound.PlayButtonSound("sound\\misc\\broken.wav"));
  EXPECT_EQ(SettledLevel(), 0.0);
  EXPECT_FALSE(rig.sound.PlayButtonSound("sound\\misc\\24bit.wav"));
  EXPECT_EQ(SettledLevel(), 0.0);
  ASSERT_EQ(rig.messages.shown.size(), 2U);
  EXPECT_EQ(rig.messages.shown[0].text, "Couldn't find 'fmt' chunk!");
  EXPECT_EQ(rig.messages.shown[1].text,
            "DirectSound call failed: 88780064\rThe specified WAVE format is not supported");

  rig.sound.Disable();
  EXPECT_FALSE(rig.sound.PlayButtonSound(kMenu1));
  EXPECT_EQ(alcGetCurrentContext(), nullptr);
}

}  // namespace
}  // namespace rw::test
