#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "support/test_files.h"

namespace rw::app {

// The real program, started as a person starts it, without a display.
class ProgramTest : public QObject {
  Q_OBJECT

 private:
  void Start(QProcess& process, const QString& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("REELWRIGHT_HOME", "");
    environment.insert("ALSOFT_DRIVERS", "null");  // sound without a sound card
    process.setProcessEnvironment(environment);
    process.start(REELWRIGHT_PROGRAM, {"nosplash", "--home", home});
    QVERIFY(process.waitForStarted());
  }

 private slots:
  void aSecondStartHandsOverAndEndsWhileTheFirstStays() {
    QTemporaryDir dir;
    const std::string game = dir.filePath("game").toStdString();
    std::filesystem::create_directories(game);
    test::WriteBytes(game + "/quake3.exe", "MZ");
    const QString home = dir.filePath("home");
    std::filesystem::create_directories(home.toStdString());
    test::WriteBytes(home.toStdString() + "/Reelwright.cfg",
                     "[Global]\r\nq3a_dir=" + game + "\r\ntip_of_day=0\r\n");

    QProcess first;
    Start(first, home);
    // The copy listens before it opens its session, which makes its data folder.
    QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(home.toStdString() + "/RWT Data"), 10000);
    QCOMPARE(first.state(), QProcess::Running);

    QProcess second;
    Start(second, home);
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    // Ending the first as a logout does saves its tree.
    first.terminate();
    QVERIFY(first.waitForFinished(10000));
    QCOMPARE(first.exitCode(), 0);
    QVERIFY(std::filesystem::exists(home.toStdString() + "/RWT Data/Folders"));
  }
};

}  // namespace rw::app

QTEST_GUILESS_MAIN(rw::app::ProgramTest)
#include "program_test.moc"
