#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/game_folder_chooser.h"
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

// Answers the modal windows of a start as they come: each is handed to answer once.
class ModalAnswers : public QObject {
 public:
  explicit ModalAnswers(std::function<void(QWidget&)> answer) : answer_(std::move(answer)) {
    connect(&poll_, &QTimer::timeout, this, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal == last_ || !modal->isVisible()) return;
      last_ = modal;
      answer_(*modal);
    });
    poll_.start(50);
  }

 private:
  std::function<void(QWidget&)> answer_;
  QTimer poll_;
  QPointer<QWidget> last_;
};

// The environment of a user whose only game is an engine on PATH with the data in ~/.q3a.
class EngineUser {
 public:
  EngineUser() : saved_{qgetenv("HOME"), qgetenv("PATH"), qgetenv("WINEPREFIX")} {
    const std::string root = dir_.path().toStdString();
    std::filesystem::create_directories(root + "/user/.q3a/baseq3");
    test::WriteBytes(root + "/bin/ioquake3", "#!/bin/sh\n");
    qputenv("HOME", QByteArray::fromStdString(root + "/user"));
    qputenv("PATH", QByteArray::fromStdString(root + "/bin:/usr/bin:/bin"));
    qunsetenv("WINEPREFIX");
  }
  ~EngineUser() {
    qputenv("HOME", saved_[0]);
    qputenv("PATH", saved_[1]);
    if (!saved_[2].isEmpty()) qputenv("WINEPREFIX", saved_[2]);
  }
  std::string Path(const std::string& relative) const {
    return dir_.filePath(QString::fromStdString(relative)).toStdString();
  }

 private:
  QTemporaryDir dir_;
  QByteArray saved_[3];
};

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

  void aFirstStartExplainsAWrongFolderAndTakesAnOfferedInstallation() {
    EngineUser user;
    const std::string home = user.Path("home");
    std::filesystem::create_directories(home);
    test::WriteBytes(home + "/Reelwright.cfg", "[Global]\r\ntip_of_day=0\r\n");
    QStringList seen;
    QStringList offered;
    ModalAnswers answers([&](QWidget& modal) {
      if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
        seen << box->windowTitle() + ": " + box->text();
        box->accept();
        return;
      }
      auto* chooser = qobject_cast<GameFolderChooser*>(&modal);
      if (chooser == nullptr) return;
      seen << chooser->windowTitle();
      auto* offers = chooser->findChild<QListWidget*>();
      auto* folder = chooser->findChild<QLineEdit*>();
      if (seen.size() == 1) {
        folder->setText(QString::fromStdString(user.Path("user")));  // no game there
      } else {
        for (int row = 0; row < offers->count(); ++row) {
          offered << offers->item(row)->data(Qt::UserRole).toString();
        }
        offers->setCurrentRow(0);
      }
      chooser->accept();
    });
    QString firstFolder;
    const int code =
        RunUntil({REELWRIGHT_PROGRAM, "nosplash", "--home", QString::fromStdString(home)},
                 [&](MainWindow& window) {
                   firstFolder = window.folderTree()->model()->index(0, 0).data().toString();
                   return true;
                 });
    QCOMPARE(code, 0);
    QCOMPARE(seen.size(), 3);
    QCOMPARE(seen[0], QString("Please search your Quake III Arena program path"));
    QVERIFY2(seen[1].startsWith(
                 "Quake III Arena not found: " + QString::fromStdString(user.Path("user")) +
                 " holds no program that plays Quake III Arena demos.\r\nLooked for "
                 "quake3.exe, ioquake3."),
             qPrintable(seen[1]));
    QCOMPARE(seen[2], seen[0]);
    QCOMPARE(offered, QStringList{QString::fromStdString(user.Path("user/.q3a"))});
    QCOMPARE(firstFolder, offered[0]);
    QVERIFY(test::ReadBytes(home + "/Reelwright.cfg").find("q3a_dir=" + user.Path("user/.q3a")) !=
            std::string::npos);
  }

  void cancellingTheFirstStartsChooserEndsTheProgram() {
    EngineUser user;
    const std::string home = user.Path("home");
    std::filesystem::create_directories(home);
    QStringList seen;
    ModalAnswers answers([&](QWidget& modal) {
      seen << modal.windowTitle();
      if (auto* dialog = qobject_cast<QDialog*>(&modal)) dialog->reject();
    });
    const int code =
        RunUntil({REELWRIGHT_PROGRAM, "nosplash", "--home", QString::fromStdString(home)},
                 [](MainWindow&) { return true; });
    QCOMPARE(code, 1);
    QCOMPARE(seen, (QStringList{"Please search your Quake III Arena program path", "Fatal Error"}));
    QVERIFY(!std::filesystem::exists(home + "/Reelwright.cfg"));
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
