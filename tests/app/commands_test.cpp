#include <sys/stat.h>
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <filesystem>
#include <map>

#include "app_fixture.h"
#include "host/posix/proc_process_table.h"
#include "support/test_files.h"

namespace rw::app {

namespace {

// One entry of a menu as a person reads it: its caption, shortcut, whether it shows a
// picture and whether it carries a check mark.
struct Entry {
  QString path;  // menus and entry joined by " > "
  QString shortcut;
  bool picture;
  bool checkable;
};

QAction* Find(const QList<QAction*>& actions, const QString& path, QString prefix = {}) {
  for (QAction* action : actions) {
    const QString here = prefix + action->text();
    if (here == path) return action;
    if (action->menu() != nullptr) {
      QAction* found = Find(action->menu()->actions(), path, here + " > ");
      if (found != nullptr) return found;
    }
  }
  return nullptr;
}

void CheckEntries(const QList<QAction*>& actions, const std::vector<Entry>& table) {
  for (const Entry& entry : table) {
    QAction* action = Find(actions, entry.path);
    QVERIFY2(action != nullptr, qPrintable(entry.path));
    QCOMPARE(action->shortcut().toString(), entry.shortcut);
    QVERIFY2(action->icon().isNull() != entry.picture, qPrintable(entry.path));
    QVERIFY2(action->isCheckable() == entry.checkable, qPrintable(entry.path));
  }
}

// Opens a menu as the user does, so that its entries are enabled by the rules of the moment.
bool Enabled(QMenu* menu, const QString& path) {
  emit menu->aboutToShow();
  QAction* action = Find(menu->actions(), path);
  return action != nullptr && action->isEnabled();
}

QMenu* MainMenu(MainWindow& window, const QString& title) {
  for (QAction* action : window.menuBar()->actions()) {
    if (action->text() == title) return action->menu();
  }
  return nullptr;
}

// Answers the next message box with button.
void Answer(QMessageBox::StandardButton button) {
  QTimer::singleShot(50, [button] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
        box->button(button)->click();
      }
    }
  });
}

// A game program that records its folder and arguments, as the launch tests' fake game does.
void InstallRecordingGame(test::AppFixture& app) {
  const std::string program = app.game() + "/quake3.exe";
  test::WriteBytes(program, "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > " +
                                app.game() + "/record.tmp && mv " + app.game() + "/record.tmp " +
                                app.game() + "/record\n");
  chmod(program.c_str(), 0755);
}

// The game wrote its record with the playback script and has ended. The record comes just
// before its end: a play while it still runs would rightly find the game running and say so.
bool GameRan(test::AppFixture& app) {
  const std::string record = app.game() + "/record";
  for (int i = 0; i < 300 && !std::filesystem::exists(record); ++i) QTest::qWait(10);
  if (!std::filesystem::exists(record) ||
      test::ReadBytes(record).find("[rwttmp.rwt]") == std::string::npos) {
    return false;
  }
  const std::string program = app.game() + "/quake3.exe";
  ProcProcessTable processes;
  const auto running = [&] {
    for (const RunningProcess& process : processes.List()) {
      for (const std::string& argument : process.arguments) {
        if (argument == program) return true;
      }
    }
    return false;
  };
  for (int i = 0; i < 300 && running(); ++i) QTest::qWait(10);
  return !running();
}

}  // namespace

class CommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void everyEntryHasItsCaptionShortcutPictureAndCheckMark() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    CheckEntries(
        window.menuBar()->actions(),
        {
            {"&Demo Play > Play current Playlist", "Ctrl+P", true, false},
            {"&Demo Play > Play current Playlist && Exit Reelwright", "Ctrl+Q", true, false},
            {"&Demo Play > Load Playlist..", "Ctrl+L", true, false},
            {"&Demo Play > Save Playlist..", "Ctrl+S", true, false},
            {"&Demo Play > Exit", "", true, false},
            {"&Options > No Splash Screen", "", false, true},
            {"&Options > No more Hints at my Cursor", "", false, true},
            {"&Options > Play Demos as Mod Demos", "", false, true},
            {"&Options > Show Playlist", "", false, true},
            {"&Options > Hardware Stress Test (Timedemo)", "", false, true},
            {"&Options > Loop Demos", "", false, true},
            {"&Options > Sound Options..", "", true, false},
            {"&Tools > Demo Playback Control Keys..", "", true, false},
            {"&Tools > Global Command Line Parameters..", "", true, false},
            {"&Tools > Work in Read Only Mode", "", false, true},
            {"&Tools > Active Q3A version > Q3A version is now 1.27", "", false, true},
            {"&Tools > Active Q3A version > Q3A version is now 1.17", "", false, true},
            {"&Tools > Active Q3A version > Restore version 1.27 on Exit", "", false, true},
            {"&Tools > Active Q3A version > Restore version 1.17 on Exit", "", false, true},
            {"&Help > &Help", "F1", true, false},
            {"&Help > Tip of the Day", "", true, false},
            {"&Help > &About", "", false, false},
        });
    const std::vector<Entry> viewStyles = {
        {"View Style > Set Background Color..", "", true, false},
        {"View Style > Choose Columns..", "", true, false},
        {"View Style > Save Columns Scheme", "", true, false},
        {"View Style > Load Columns Scheme", "", true, false},
        {"View Style > Grid Lines", "", false, true},
        {"View Style > Full Row Select", "", false, true},
        {"View Style > Highlight Items", "", false, true},
        {"View Style > Big Icons", "", false, true},
        {"View Style > Small Icons", "", false, true},
        {"View Style > List", "", false, true},
        {"View Style > Details", "", false, true},
    };
    std::vector<Entry> demoList = {
        {"Play it", "", true, false},
        {"Move to Playlist", "", true, false},
        {"Delete..", "Del", true, false},
        {"Rename", "F2", true, false},
        {"Edit Userdata..", "Ctrl+E", true, false},
        {"Expert > Set the same Web Location for selected demos", "", false, false},
        {"Expert > Clear complete User Data for selected demos", "", false, false},
        {"Select all", "Ctrl+A", false, false},
        {"Properties..", "", false, false},
        {"Refresh List", "F5", false, false},
        {"Reparse List", "F6", false, false},
    };
    demoList.insert(demoList.end(), viewStyles.begin(), viewStyles.end());
    CheckEntries(window.demoListMenu()->actions(), demoList);
    QCOMPARE(window.demoListMenu()->defaultAction()->text(), QString("Properties.."));
    std::vector<Entry> playList = {
        {"Play it", "", true, false},         {"Remove from Playlist", "Del", true, false},
        {"Edit Userdata..", "", true, false}, {"Select all", "Ctrl+A", false, false},
        {"Properties..", "", false, false},   {"Refresh List", "F5", false, false},
    };
    playList.insert(playList.end(), viewStyles.begin(), viewStyles.end());
    CheckEntries(window.playListMenu()->actions(), playList);
    QVERIFY(Find(window.playListMenu()->actions(), "Reparse List") == nullptr);
    CheckEntries(
        window.treeMenu()->actions(),
        {
            {"New Folder", "Ctrl+N", true, false},
            {"Remove Folder", "Del", true, false},
            {"Remove Folder from HD..", "Ctrl+X", true, false},
            {"Rename Folder", "F2", true, false},
            {"Add Path to Scan for Demos", "Ctrl+A", true, false},
            {"Rescan this Branch", "F5", true, false},
            {"Cut non-demo Folders", "Ctrl+E", true, false},
            {"Collapse all Folders", "Ctrl+C", true, false},
            // Ctrl+E is shown beside it but runs "Cut non-demo Folders".
            {"Expand all Folders\tCtrl+E", "", true, false},
            {"View Style > Set Background Color..", "", true, false},
            {"View Style > Set Font Color for Folders that > Include Demos..", "", false, false},
            {"View Style > Set Font Color for Folders that > Not Include Demos..", "", false,
             false},
            {"View Style > Auto Scroll when Mouse on Edge", "", false, true},
            {"View Style > Big Icons", "", false, true},
            {"View Style > Small Icons", "", false, true},
        });
  }

  void noShortcutIsAmbiguousWhereItActs() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    // Window-wide keys, then each view's own: within one place a key runs one entry.
    std::map<QString, int> windowKeys;
    const std::function<void(const QList<QAction*>&)> collect = [&](const QList<QAction*>& list) {
      for (QAction* action : list) {
        if (action->menu() != nullptr) collect(action->menu()->actions());
        if (!action->shortcut().isEmpty() && action->shortcutContext() == Qt::WindowShortcut) {
          ++windowKeys[action->shortcut().toString()];
        }
      }
    };
    collect(window.menuBar()->actions());
    for (const auto& [key, count] : windowKeys) QVERIFY2(count == 1, qPrintable(key));
    for (QWidget* view :
         {static_cast<QWidget*>(window.folderTree()), static_cast<QWidget*>(window.demoList()),
          static_cast<QWidget*>(window.playList())}) {
      std::map<QString, int> keys;
      for (QAction* action : view->actions()) {
        QCOMPARE(action->shortcutContext(), Qt::WidgetShortcut);
        ++keys[action->shortcut().toString()];
        QVERIFY2(!windowKeys.count(action->shortcut().toString()),
                 qPrintable(action->shortcut().toString()));
      }
      for (const auto& [key, count] : keys) QVERIFY2(count == 1, qPrintable(key));
    }
  }

  void withoutAProgramNothingPlaysAndTheStatusBarSaysWhy() {
    // Debian's ioquake3 plays the demos of any game folder with a baseq3.
    if (std::filesystem::exists("/usr/lib/ioquake3/ioquake3")) {
      QSKIP("this machine has Debian's ioquake3");
    }
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    window.demoList()->selectRow(test::RowNamed(*window.demoList()->model(), "tdm.dm3"));
    Find(window.demoListMenu()->actions(), "Move to Playlist")->trigger();
    QVERIFY(Find(window.commandBar()->actions(), "Play it")->isEnabled());
    QVERIFY(Enabled(MainMenu(window, "&Demo Play"), "Play current Playlist"));

    // The game's program is gone; the programs are found again with the global parameters.
    std::filesystem::remove(app.game() + "/quake3.exe");
    app.session->SetGlobalParameters("");
    window.FirstListing();
    const QString why = QString::fromStdString("Nothing can be played: " + app.game() +
                                               " holds no quake3.exe, ioquake3 or quake3e");
    QVERIFY2(window.statusPanel(1)->text().startsWith(why),
             qPrintable(window.statusPanel(1)->text()));
    app.ListDemos();
    window.demoList()->selectRow(test::RowNamed(*window.demoList()->model(), "duel.dm_48"));
    QVERIFY(!Enabled(window.demoListMenu(), "Play it"));
    QVERIFY(!Find(window.commandBar()->actions(), "Play it")->isEnabled());
    QVERIFY(!Find(window.commandBar()->actions(), "Play Current List")->isEnabled());
    QVERIFY(!Enabled(MainMenu(window, "&Demo Play"), "Play current Playlist"));
    QVERIFY(Enabled(MainMenu(window, "&Demo Play"), "Save Playlist.."));
    QVERIFY(Enabled(window.demoListMenu(), "Move to Playlist"));  // listing needs no program
    QVERIFY2(Find(window.commandBar()->actions(), "Play it")->statusTip().startsWith(why),
             qPrintable(Find(window.commandBar()->actions(), "Play it")->statusTip()));
  }

  void entriesAreEnabledByTheRulesOfTheMoment() {
    test::AppFixture app;
    test::WriteBytes(app.home() + "/Reelwright.cfg",
                     "[Global]\r\nq3a_dir=" + app.game() + "\r\nwork_readonly=1\r\n");
    MainWindow& window = app.Start();
    app.ListDemos();
    QMenu* play = MainMenu(window, "&Demo Play");
    QMenu* tools = MainMenu(window, "&Tools");
    QMenu* demos = window.demoListMenu();

    // An empty play list: nothing to play or save.
    QVERIFY(!Enabled(play, "Play current Playlist"));
    QVERIFY(!Enabled(play, "Save Playlist.."));
    QVERIFY(Enabled(play, "Load Playlist.."));
    // No selection: only "Select all".
    QVERIFY(Enabled(demos, "Select all"));
    QVERIFY(!Enabled(demos, "Play it"));
    QVERIFY(!Enabled(demos, "Properties.."));

    // A plain demo in read-only mode: playable, but its file stays as it is.
    window.demoList()->selectRow(test::RowNamed(*window.demoList()->model(), "tdm.dm3"));
    QVERIFY(Enabled(demos, "Play it"));
    QVERIFY(Enabled(demos, "Move to Playlist"));
    QVERIFY(!Enabled(demos, "Delete.."));
    QVERIFY(!Enabled(demos, "Rename"));
    QVERIFY(Enabled(demos, "Expert > Clear complete User Data for selected demos"));
    QVERIFY(!Enabled(window.treeMenu(), "New Folder"));

    // Read-only off: the same row may be deleted and renamed; the tree's disk commands wake.
    Find(tools->actions(), "Work in Read Only Mode")->trigger();
    QVERIFY(!app.session->settings().global.work_readonly);
    QVERIFY(Enabled(demos, "Delete.."));
    QVERIFY(Enabled(demos, "Rename"));
    QVERIFY(Enabled(window.treeMenu(), "New Folder"));
    QVERIFY(Enabled(window.treeMenu(), "Rename Folder"));

    // A demo inside an archive: neither deleted nor renamed.
    window.demoList()->selectRow(test::RowNamed(*window.demoList()->model(), "archived_tdm.dm3"));
    QVERIFY(Enabled(demos, "Play it"));
    QVERIFY(!Enabled(demos, "Delete.."));
    QVERIFY(!Enabled(demos, "Rename"));

    // Moved to the play list, it can be played and saved from there.
    Find(demos->actions(), "Move to Playlist")->trigger();
    QCOMPARE(window.playList()->model()->rowCount(), 1);
    QVERIFY(Enabled(play, "Play current Playlist"));
    QVERIFY(Enabled(play, "Save Playlist.."));
    window.playList()->clearSelection();
    QVERIFY(!Enabled(window.playListMenu(), "Remove from Playlist"));
    window.playList()->selectRow(0);
    QVERIFY(Enabled(window.playListMenu(), "Remove from Playlist"));
    QVERIFY(Enabled(window.playListMenu(), "Play it"));

    // Version switching is there only while the game's spare files are.
    QVERIFY(!Enabled(tools, "Active Q3A version > Q3A version is now 1.27"));
    for (const char* file : {"oldversion", "baseq3/pak4.pk3", "baseq3/pak5.pk3"}) {
      test::WriteBytes(app.game() + "/" + file, "x");
    }
    QVERIFY(Enabled(tools, "Active Q3A version > Q3A version is now 1.27"));
    QVERIFY(Find(tools->actions(), "Active Q3A version > Q3A version is now 1.27")->isChecked());
    QVERIFY(!Find(tools->actions(), "Active Q3A version > Q3A version is now 1.17")->isChecked());
  }

  void theToolBarShowsItsButtonsAndTogglesSurviveARestart() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    QStringList hints;
    for (QAction* action : window.commandBar()->actions()) {
      if (action->isSeparator() || action->text().isEmpty()) continue;
      hints << action->toolTip();
      QVERIFY2(!action->icon().isNull(), qPrintable(action->text()));
      // The hint is the button's text too, which a screen reader reads.
      QCOMPARE(action->text().replace("&&", "&"), action->toolTip());
    }
    // Read-only is the built-in mode; timedemo and loop are off; the play list shows.
    QCOMPARE(hints,
             QStringList({"Load Play List", "Save Play List", "Play it", "Play Current List",
                          "Play Current List & exit", "Sound Options", "Demo playback control keys",
                          "Global command line parameters", "Help", "Tip of the day",
                          "Choose demolist columns", "Choose playlist columns",
                          "Change working mode to \"write enable\"", "enable timedemo",
                          "enable loop demos", "Hide Play List"}));
    QCOMPARE(window.commandBar()->windowTitle(), QString("Reelwright Command Bar"));
    // Every button a screen reader meets on the bar has a name, the one for what does not
    // fit too.
    for (QAbstractButton* button : window.commandBar()->findChildren<QAbstractButton*>()) {
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
      QVERIFY(!accessible->text(QAccessible::Name).isEmpty());
    }
    QVERIFY(!Find(window.commandBar()->actions(), "Save Play List")->isEnabled());
    QVERIFY(Find(window.commandBar()->actions(), "Hide Play List")->isChecked());

    Find(window.commandBar()->actions(), "enable loop demos")->trigger();
    Find(window.commandBar()->actions(), "enable timedemo")->trigger();
    Find(window.commandBar()->actions(), "Change working mode to \"write enable\"")->trigger();
    Find(window.commandBar()->actions(), "Hide Play List")->trigger();
    QVERIFY(!window.playList()->isVisibleTo(&window));
    QVERIFY(Find(MainMenu(window, "&Options")->actions(), "Loop Demos")->isChecked());
    Find(MainMenu(window, "&Options")->actions(), "No Splash Screen")->trigger();
    Find(MainMenu(window, "&Options")->actions(), "Play Demos as Mod Demos")->trigger();
    window.addToolBar(Qt::LeftToolBarArea, window.commandBar());
    QVERIFY(app.Close());

    MainWindow& again = app.Start();
    const Settings& settings = app.session->settings();
    QVERIFY(settings.demos.loop_demos);
    QVERIFY(settings.demos.time_demos);
    QVERIFY(!settings.global.work_readonly);
    QVERIFY(!settings.global.no_splash);
    QVERIFY(!settings.demos.mod_demos);
    QCOMPARE(settings.global.toolbar_dockpos, 3);
    QCOMPARE(again.toolBarArea(again.commandBar()), Qt::LeftToolBarArea);
    QVERIFY(!again.playList()->isVisibleTo(&again));
    QVERIFY(Find(again.commandBar()->actions(), "disable loop demos") != nullptr);
    QVERIFY(Find(again.commandBar()->actions(), "disable timedemo") != nullptr);
    QVERIFY(Find(again.commandBar()->actions(), "Change working mode to \"readonly\"") != nullptr);
    QVERIFY(!Find(again.commandBar()->actions(), "Show Play List")->isChecked());
    QVERIFY(!Find(MainMenu(again, "&Options")->actions(), "Play Demos as Mod Demos")->isChecked());
  }

  void keysOfTheTreeActWhereTheTreeHasTheFocus() {
    test::AppFixture app;
    app.AllowWriting();
    std::filesystem::create_directories(app.game() + "/empty");
    MainWindow& window = app.Start();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTreeView& tree = *window.folderTree();
    tree.setFocus();
    const auto texts = [&] {
      QStringList all;
      for (FolderNode* node : app.session->tree().FlatOrder())
        all << QString::fromStdString(node->text);
      return all;
    };
    QVERIFY(texts().contains("empty"));
    // Ctrl+E cuts the folders without demos; it does not expand the tree.
    QTest::keyClick(&tree, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(!texts().contains("empty"));
    QVERIFY(texts().contains("demos"));
    // Ctrl+N makes a new folder below the selected one on disk and in the tree.
    app.ListDemos();
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(std::filesystem::is_directory(app.demos() + "/NewDemoFolder"));
    QVERIFY(texts().contains("NewDemoFolder"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    // Del takes the selected node out of the tree only.
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Delete);
    QVERIFY(!texts().contains("NewDemoFolder"));
    QVERIFY(std::filesystem::is_directory(app.demos() + "/NewDemoFolder"));
  }

  void noMoreHintsSwitchesTheToolTipsOfTheWholeProgram() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    QWidget& tree = *window.folderTree();
    const auto hintShown = [&] {
      QToolTip::hideText();
      for (int wait = 0; wait < 100 && QToolTip::isVisible(); ++wait) QTest::qWait(10);
      QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), tree.mapToGlobal(QPoint(5, 5)));
      QApplication::sendEvent(&tree, &help);
      return QToolTip::isVisible() && QToolTip::text() == tree.toolTip();
    };
    QVERIFY(hintShown());
    Find(MainMenu(window, "&Options")->actions(), "No more Hints at my Cursor")->trigger();
    QVERIFY(app.session->settings().global.no_hints);
    QVERIFY(!hintShown());
    Find(MainMenu(window, "&Options")->actions(), "No more Hints at my Cursor")->trigger();
    QVERIFY(hintShown());
  }

  void playingFromTheWindowsStartsTheGameAndExitsOnlyAfterAGoodLaunch() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    window.demoList()->selectRow(test::RowNamed(*window.demoList()->model(), "sample_tdm.dm3"));
    Find(window.demoListMenu()->actions(), "Move to Playlist")->trigger();

    // The fixture's game program cannot start (a Windows program without Wine): the error
    // shows and the window stays.
    Answer(QMessageBox::Ok);
    window.PlayCurrentList(true);
    QVERIFY(window.isVisible());

    InstallRecordingGame(app);
    window.demoList()->selectRow(test::RowNamed(*window.demoList()->model(), "tdm.dm3"));
    Find(window.demoListMenu()->actions(), "Play it")->trigger();
    QVERIFY(GameRan(app));
    QVERIFY(std::filesystem::exists(app.game() + "/baseq3/rwttmp.rwt"));

    std::filesystem::remove(app.game() + "/record");
    Find(MainMenu(window, "&Demo Play")->actions(), "Play current Playlist && Exit Reelwright")
        ->trigger();
    QVERIFY(GameRan(app));
    QVERIFY(!window.isVisible());
  }

  void playListFilesSaveAndLoadThroughTheirDialogs() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    QString askedFolder;
    window.dialogs.playListFile = [&](QWidget*, bool, const QString& folder) {
      askedFolder = folder;
      return QString::fromStdString(app.home() + "/Mine.rwt");
    };
    window.demoList()->selectRow(test::RowNamed(*window.demoList()->model(), "duel.dm_48"));
    Find(window.demoListMenu()->actions(), "Move to Playlist")->trigger();
    Find(MainMenu(window, "&Demo Play")->actions(), "Save Playlist..")->trigger();
    QCOMPARE(askedFolder, QString::fromStdString(app.session->paths().playListFolder));
    const std::string saved = test::ReadBytes(app.home() + "/Mine.rwt");
    QCOMPARE(
        QString::fromStdString(saved),
        QString::fromStdString("RWT Play List, ver 1.32\r\n" + app.demos() + "/duel.dm_48\r\n"));

    window.playList()->selectAll();
    Find(window.playListMenu()->actions(), "Remove from Playlist")->trigger();
    QCOMPARE(window.playList()->model()->rowCount(), 0);
    Find(MainMenu(window, "&Demo Play")->actions(), "Load Playlist..")->trigger();
    QCOMPARE(test::ColumnTexts(*window.playList()->model(), 0), QStringList{"duel.dm_48"});
  }

  void viewStylesShowTheRowsAsIconsOrAsTheTable() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    ListView& list = *window.demoList();
    list.resize(400, 300);
    emit window.demoListMenu()->aboutToShow();
    QVERIFY(Find(window.demoListMenu()->actions(), "View Style > Details")->isChecked());
    QVERIFY(list.iconView()->isHidden());
    Find(window.demoListMenu()->actions(), "View Style > Big Icons")->trigger();
    QVERIFY(!list.iconView()->isHidden());
    QCOMPARE(list.iconView()->viewMode(), QListView::IconMode);
    QCOMPARE(app.session->settings().demoList.ViewStyle, 0);
    // Both show the same rows and share one selection.
    list.iconView()->selectionModel()->select(
        list.model()->index(2, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QVERIFY(list.rows().rows()[2].selected);
    Find(window.demoListMenu()->actions(), "View Style > Details")->trigger();
    QVERIFY(list.iconView()->isHidden());
  }
};

}  // namespace rw::app

QTEST_MAIN(rw::app::CommandsTest)
#include "commands_test.moc"
