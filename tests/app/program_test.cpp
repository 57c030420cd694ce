#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/main_window.h"
#include "app/program.h"
#include "app_fixture.h"
#include "support/test_files.h"

namespace rw::app {

namespace {

// A play list file naming a demo file and an archive member by their full paths, in this order.
void WritePlayList(const std::string& path, const std::string& demos) {
  test::WriteBytes(path, "RWT Play List, ver 1.32\r\n" + demos + "/tdm.dm3\r\n\x01" + demos +
                             "/demo_pack.zip\\archived_tdm.dm3\r\n");
}

const QStringList kPlayListNames = {"tdm.dm3", "archived_tdm.dm3"};

// Records the demo rows the program's main window opens, from its first showing on.
class OpenedDemos : public QObject {
 public:
  OpenedDemos() { qApp->installEventFilter(this); }

  std::vector<ListRow> rows;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = qobject_cast<MainWindow*>(watched);
    if (window != nullptr && event->type() == QEvent::Show && !windows_.contains(window)) {
      windows_ << window;
      connect(window, &MainWindow::demoFileOpened, this,
              [this](const ListRow& row) { rows.push_back(row); });
    }
    return false;
  }

 private:
  QList<MainWindow*> windows_;
};

// Runs the program in this process; while its main window is idle, step is asked whether it
// has seen enough, and then the window is closed as the user closes it. The exit code.
int RunUntil(const QStringList& arguments, const std::function<bool(MainWindow&)>& step) {
  QTimer poll;
  QElapsedTimer clock;
  clock.start();
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* window = qobject_cast<MainWindow*>(widget);
      if (window == nullptr || !window->isVisible() || window->listing()) continue;
      if (step(*window) || clock.elapsed() > 20000) window->close();
    }
  });
  poll.start(50);
  return RunProgram(arguments);
}

}  // namespace

// The real program, started as a person starts it, without a display.
class ProgramTest : public QObject {
  Q_OBJECT

 private:
  void Start(QProcess& process, const QString& home, const QStringList& files = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("REELWRIGHT_HOME", "");
    environment.insert("ALSOFT_DRIVERS", "null");  // sound without a sound card
    process.setProcessEnvironment(environment);
    process.start(REELWRIGHT_PROGRAM, QStringList{"nosplash", "--home", home} + files);
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
    QVERIFY(second.waitForFinished(70000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    // Ending the first as a logout does saves its tree.
    first.terminate();
    QVERIFY(first.waitForFinished(10000));
    QCOMPARE(first.exitCode(), 0);
    QVERIFY(std::filesystem::exists(home.toStdString() + "/RWT Data/Folders"));
  }

  void filesOfTheFirstStartOpenAfterTheFirstListing() {
    test::AppFixture app;
    test::WriteBytes(app.home() + "/Reelwright.cfg",
                     "[Global]\r\nq3a_dir=" + app.game() + "\r\ntip_of_day=0\r\n");
    const std::string list = app.home() + "/list.rwt";
    WritePlayList(list, app.demos());
    OpenedDemos opened;
    QStringList names;
    QString properties;
    const int code = RunUntil(
        {REELWRIGHT_PROGRAM, "nosplash", "--home", QString::fromStdString(app.home()),
         QString::fromStdString(list), QString::fromStdString(app.demos() + "/duel.dm_48")},
        [&](MainWindow& window) {
          names = test::ColumnTexts(*window.playList()->model(), 0);
          if (window.propertiesWindow() != nullptr && window.propertiesWindow()->isVisible()) {
            properties = window.propertiesWindow()->windowTitle();
          }
          return names.size() == 2 && !opened.rows.empty() && !properties.isEmpty();
        });
    QCOMPARE(code, 0);
    QCOMPARE(names, kPlayListNames);
    QCOMPARE(opened.rows.size(), size_t{1});
    QCOMPARE(opened.rows[0][kDemonameColumn], std::string("duel.dm_48"));
    QCOMPARE(properties, QString("Properties of duel.dm_48"));
    QCOMPARE(opened.rows[0][kLocationColumn], app.demos());
  }

  void aRunningCopyOpensTheFilesASecondStartNamesRelatively() {
    test::AppFixture app;
    test::WriteBytes(app.home() + "/Reelwright.cfg",
                     "[Global]\r\nq3a_dir=" + app.game() + "\r\ntip_of_day=0\r\n");
    WritePlayList(app.demos() + "/list.rwt", app.demos());
    OpenedDemos opened;
    QStringList names;
    QString properties;
    QProcess second;
    second.setWorkingDirectory(QString::fromStdString(app.demos()));
    bool started = false;
    const int code = RunUntil(
        {REELWRIGHT_PROGRAM, "nosplash", "--home", QString::fromStdString(app.home())},
        [&](MainWindow& window) {
          if (!started) {
            started = true;
            Start(second, QString::fromStdString(app.home()), {"sample_ffa.dm_48", "list.rwt"});
          }
          names = test::ColumnTexts(*window.playList()->model(), 0);
          if (window.propertiesWindow() != nullptr && window.propertiesWindow()->isVisible()) {
            properties = window.propertiesWindow()->windowTitle();
          }
          return names.size() == 2 && !opened.rows.empty() && !properties.isEmpty();
        });
    QCOMPARE(code, 0);
    // The second start ends once the running copy has taken its files.
    QVERIFY(second.state() == QProcess::NotRunning || second.waitForFinished(70000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(names, kPlayListNames);
    QCOMPARE(opened.rows.size(), size_t{1});
    QCOMPARE(opened.rows[0][kDemonameColumn], std::string("sample_ffa.dm_48"));
    QCOMPARE(properties, QString("Properties of sample_ffa.dm_48"));
    QCOMPARE(opened.rows[0][kLocationColumn], app.demos());
  }
};

}  // namespace rw::app

QTEST_MAIN(rw::app::ProgramTest)
#include "program_test.moc"
