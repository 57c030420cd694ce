#include <QTest>

#include "app/sound_options_window.h"
#include "app_fixture.h"
#include "sound/fake/recording_sound.h"
#include "support/test_files.h"
#include "support/wave_writer.h"
#include "support/zip_writer.h"

namespace rw::app {

namespace {

constexpr const char* kMenu1 = "sound\\misc\\menu1.wav";

// What the window lets the user touch: the switches and sliders enabled, in slot order.
QString Enabled(const SoundOptionsWindow& window) {
  QString enabled;
  for (int slot = 0; slot < kSoundSlots; ++slot) {
    enabled += window.slotSwitch(slot)->isEnabled() ? 'S' : '-';
    enabled += window.volumeSlider(slot)->isEnabled() ? 'V' : '-';
  }
  return enabled;
}

// Clicks a check box on its box, as the user does.
void Click(QCheckBox* box) {
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

}  // namespace

// "Sound Options" over a recording sound output, as the user works it.
class SoundOptionsTest : public QObject {
  Q_OBJECT

 private:
  void Start(test::AppFixture& fixture) {
    test::WriteBytes(fixture.game() + "/baseq3/pak0.pk3",
                     test::ZipBytes({{"sound/misc/menu1.wav", test::SineWave(8000, 0.1, 0.5)},
                                     {"music/map.wav", test::SineWave(8000, 0.1, 0.5)}}));
    fixture.Start();
    fixture.session->sound().StartUp(driver_, timer_);
    fixture.window->ShowSoundOptions();
    window_ = fixture.window->findChild<SoundOptionsWindow*>();
  }

  RecordingSoundDriver driver_;
  ManualSoundTimer timer_;
  SoundOptionsWindow* window_ = nullptr;

 private slots:
  void theSwitchesEnableTheirSlidersAndAllSoundEnablesTheSwitches() {
    test::AppFixture fixture;
    Start(fixture);
    QVERIFY(window_ != nullptr && window_->isVisible());
    QCOMPARE(window_->windowTitle(), QStringLiteral("Sound Options"));
    QVERIFY(window_->enableSound()->isChecked());
    QCOMPARE(Enabled(*window_), QStringLiteral("SVSVSV"));

    Click(window_->slotSwitch(kButtonSlot));
    QVERIFY(!fixture.session->settings().sound.play_menus);
    QCOMPARE(Enabled(*window_), QStringLiteral("SVSVS-"));

    Click(window_->enableSound());
    QCOMPARE(window_->windowTitle(), QStringLiteral("Sound Options: sound device closed"));
    QVERIFY(!driver_.open);
    QVERIFY(!fixture.session->settings().sound.sound_enable);
    QCOMPARE(Enabled(*window_), QStringLiteral("------"));

    driver_.fails = true;
    Click(window_->enableSound());
    QCOMPARE(window_->windowTitle(),
             QStringLiteral("Sound Options: OpenAL could not open the sound device"));
    QVERIFY(!window_->enableSound()->isChecked());
    QCOMPARE(Enabled(*window_), QStringLiteral("------"));

    driver_.fails = false;
    Click(window_->enableSound());
    QCOMPARE(window_->windowTitle(), QStringLiteral("Sound Options: sound device opened"));
    QVERIFY(driver_.open);
    QCOMPARE(Enabled(*window_), QStringLiteral("SVSVS-"));

    QTest::keyClick(window_, Qt::Key_Escape);
    QVERIFY(!window_->isVisible());
  }

  void neitherWindowClosesWhileTheMusicFadesOut() {
    test::AppFixture fixture;
    Start(fixture);
    QVERIFY(
        fixture.session->sound().PlayMusic(fixture.session->paths().baseArchive, "music\\map.wav"));
    bool closeEnabled = true;
    bool closed = true;
    bool mainClosed = true;
    timer_.onWait = [&] {
      closeEnabled = closeEnabled && window_->closeButton()->isEnabled();
      closed = closed && window_->close();
      mainClosed = mainClosed && fixture.window->close();
    };
    Click(window_->slotSwitch(kMusicSlot));
    timer_.onWait = nullptr;
    QVERIFY(!closeEnabled && !closed && !mainClosed);
    QVERIFY(window_->isVisible() && fixture.window->isVisible());
    QVERIFY(!fixture.session->sound().musicPlaying());
    QVERIFY(window_->closeButton()->isEnabled());
    QCOMPARE(Enabled(*window_), QStringLiteral("S-SVSV"));
  }

  void movingASliderSetsTheSlotsVolumeAtOnceAndTheExitSavesIt() {
    test::AppFixture fixture;
    Start(fixture);
    fixture.window->PlayButtonSound(kMenu1);
    QVERIFY(driver_.loaded[kButtonSlot]);
    QCOMPARE(driver_.volumes[kButtonSlot], -2500);

    QSlider* slider = window_->volumeSlider(kButtonSlot);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);  // one step of 100 towards full
    QCOMPARE(driver_.volumes[kButtonSlot], -2400);
    QCOMPARE(fixture.session->sound().volume(kButtonSlot), -2400);
    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(driver_.volumes[kButtonSlot], 0);

    QTest::mouseClick(window_->closeButton(), Qt::LeftButton);
    QVERIFY(!window_->isVisible());
    const std::string config = fixture.home() + "/Reelwright.cfg";
    QVERIFY(fixture.Close());
    QVERIFY(!driver_.open);
    QVERIFY(test::ReadBytes(config).find("vol_menus=0\r\n") != std::string::npos);
  }
};

}  // namespace rw::app

QTEST_MAIN(rw::app::SoundOptionsTest)
#include "sound_options_test.moc"
