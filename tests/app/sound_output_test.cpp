#include <QTest>
#include <QToolBar>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app_fixture.h"
#include "support/test_files.h"
#include "support/wave_writer.h"
#include "support/zip_writer.h"

namespace rw::app {

// The program's own audio output, OpenAL Soft, writing what it mixes to a wave file.
class SoundOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void aButtonsClickReachesTheOutput() {
    QTemporaryDir dir;
    const std::string output = dir.filePath("out.wav").toStdString();
    const std::string conf = dir.filePath("alsoft.conf").toStdString();
    test::WriteBytes(
        conf,
        "[general]\ndither=false\nchannels=stereo\nsample-type=int16\nfrequency=22050\n"
        "[wave]\nfile=" +
            output + "\n");
    qputenv("ALSOFT_CONF", QByteArray::fromStdString(conf));
    qputenv("ALSOFT_DRIVERS", "wave");

    test::AppFixture fixture;
    // A tenth of a second of a 440 Hz tone at half of full scale.
    test::WriteBytes(fixture.game() + "/baseq3/pak0.pk3",
                     test::ZipBytes({{"sound/misc/menu1.wav", test::SineWave(22050, 0.1, 0.5)}}));
    fixture.Start();
    fixture.session->sound().StartUp(fixture.frontEnd->soundDriver(),
                                     fixture.frontEnd->soundTimer());
    QVERIFY(fixture.session->settings().sound.sound_enable);
    // The play list button clicks with menu1 before it hides the play list.
    QToolBar& bar = *fixture.window->commandBar();
    for (QAction* action : bar.actions()) {
      if (action->toolTip() == "Hide Play List") {
        QTest::mouseClick(bar.widgetForAction(action), Qt::LeftButton);
      }
    }
    QVERIFY(!fixture.window->playList()->isVisibleTo(fixture.window.get()));
    // The wave output mixes in real time: half a second of it, whatever the machine's load.
    const uintmax_t halfSecond = 22050 / 2 * 4;
    QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::file_size(output) > 100 + halfSecond, 20000);
    QVERIFY(fixture.Close());

    const std::string bytes = test::ReadBytes(output);
    const size_t data = bytes.find("data");
    QVERIFY(bytes.starts_with("RIFF") && data != std::string::npos);
    const size_t frames = (bytes.size() - data - 8) / 4;
    int peak = 0;
    int lastSound = 0;
    for (size_t frame = 0; frame < frames; ++frame) {
      int16_t left = 0;
      std::memcpy(&left, bytes.data() + data + 8 + frame * 4, 2);
      peak = std::max(peak, std::abs(int{left}));
      if (left != 0) lastSound = static_cast<int>(frame);
    }
    // At -2500 the tone's peak of 16384 becomes about 921, less what panning takes.
    QVERIFY2(peak > 300 && peak < 1000, QByteArray::number(peak));
    // The click ends well before the output does.
    QVERIFY(static_cast<size_t>(lastSound) + 22050 / 10 < frames);
  }
};

}  // namespace rw::app

QTEST_MAIN(rw::app::SoundOutputTest)
#include "sound_output_test.moc"
