#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <thread>

#include "app/single_instance.h"
#include "app/tip_of_the_day.h"
#include "app_fixture.h"
#include "support/test_files.h"

namespace rw::app {

namespace {

const QStringList kDescendingNames = {"tdm.dm3",    "sample_tdm.dm3",   "sample_ffa.dm_48",
                                      "duel.dm_48", "archived_tdm.dm3", "archived_ffa.dm_48"};

// Drags urls from the file manager over the folder tree, and drops them when it takes them.
// Returns whether the tree took the drag.
bool DragOntoTree(QTreeView& tree, const QList<QUrl>& urls, bool drop) {
  QMimeData mime;
  mime.setUrls(urls);
  QDragEnterEvent enter(QPoint(5, 5), Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(tree.viewport(), &enter);
  if (drop && enter.isAccepted()) {
    QDropEvent event(QPointF(5, 5), Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &event);
  }
  return enter.isAccepted();
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
 private slots:
  void aFirstStartFitsTheScreenAndListsTheGamesDemoFolder() {
    test::AppFixture app;
    app.MakeFirstStart();
    MainWindow& window = app.Start();
    QCOMPARE(window.folderTree()->accessibleName(), QString("Folder Tree"));
    QCOMPARE(window.demoList()->accessibleName(), QString("Demo List"));
    QCOMPARE(window.playList()->accessibleName(), QString("Play List"));
    // About two thirds of the screen, centred.
    const QRect screen = window.screen()->availableGeometry();
    QTRY_COMPARE(window.frameGeometry().size(),
                 QSize(screen.width() * 2 / 3, screen.height() * 2 / 3));
    QCOMPARE(window.frameGeometry().center().x() - screen.center().x(), 0);
    // The game's demo folder is selected: demos of the folder and of its archive, in the
    // built-in order (Demoname, descending).
    QCOMPARE(window.statusPanel(0)->toolTip().toStdString(), app.demos());
    QCOMPARE(test::ColumnTexts(*window.demoList()->model(), 0), kDescendingNames);
    QCOMPARE(window.demoList()->model()->index(4, 3).data().toString(), QString(""));
    QVERIFY(window.statusPanel(1)->text().startsWith("6 item(s) loaded in "));
    // The columns a collector reads first, fitted, the others hidden.
    const QHeaderView* header = window.demoList()->horizontalHeader();
    QStringList shown;
    for (int visual = 0; visual < header->count(); ++visual) {
      const int column = header->logicalIndex(visual);
      if (!header->isSectionHidden(column)) {
        shown << header->model()->headerData(column, Qt::Horizontal).toString();
      }
    }
    QCOMPARE(shown, QStringList({"Demoname", "Size", "Recorded", "Map", "Playtime", "Gametype",
                                 "Mod", "Winner", "Final Score"}));
    QVERIFY(app.Close());

    // A saved configuration is applied as it is: the tree, the folder and the columns.
    MainWindow& again = app.Start();
    QCOMPARE(again.folderTree()->model()->rowCount({}), 1);
    QCOMPARE(again.statusPanel(0)->toolTip().toStdString(), app.demos());
    QCOMPARE(test::ColumnTexts(*again.demoList()->model(), 0), kDescendingNames);
    QVERIFY(again.statusPanel(1)->text().contains("100.00% read from cache"));
  }

  // The size stored is the frame's, as the window is saved: three starts and exits give back
  // what they were given, the panes too.
  void aStartAndAnExitGiveBackTheGeometryTheyWereGiven() {
    test::AppFixture app;
    const std::string layout =
        "[MainWindow]\r\nleft=40\r\ntop=30\r\nwidth=700\r\nheight=500\r\n"
        "[Virtual Folders]\r\nwidth=170\r\n[Play List]\r\nWidth=190\r\n";
    test::WriteBytes(app.home() + "/Reelwright.cfg",
                     "[Global]\r\nq3a_dir=" + app.game() + "\r\n" + layout);
    std::string demoListWidth;
    for (int cycle = 0; cycle < 3; ++cycle) {
      MainWindow& window = app.Start();
      QTest::qWait(20);
      QCOMPARE(window.frameGeometry(), QRect(40, 30, 700, 500));
      QVERIFY(app.Close());
      const std::string saved = test::ReadBytes(app.home() + "/Reelwright.cfg");
      for (const char* key : {"left=40\r\n", "top=30\r\n", "width=700\r\n", "height=500\r\n",
                              "[Virtual Folders]\r\nwidth=170\r\n", "Width=190\r\n"}) {
        QVERIFY2(saved.find(key) != std::string::npos, key);
      }
      const size_t list = saved.find("[Demo List]\r\nwidth=");
      QVERIFY(list != std::string::npos);
      const std::string width = saved.substr(list, saved.find('\r', list + 15) - list);
      if (cycle > 0) QCOMPARE(width, demoListWidth);
      demoListWidth = width;
    }
  }

  void headerClickSortsAndTheLayoutSurvivesARestart() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    QHeaderView* header = window.demoList()->horizontalHeader();
    // The sort column again reverses the order.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, 5));
    QStringList ascending = kDescendingNames;
    std::reverse(ascending.begin(), ascending.end());
    QCOMPARE(test::ColumnTexts(*window.demoList()->model(), 0), ascending);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    // The keyboard's way: "Sort by" in the pop-up menu's "View Style" does what a click does.
    QMenu* sortBy = nullptr;
    for (QMenu* menu : window.demoListMenu()->findChildren<QMenu*>()) {
      if (menu->title() == "Sort by") sortBy = menu;
    }
    QVERIFY(sortBy != nullptr);
    emit sortBy->aboutToShow();
    QStringList columns;
    for (QAction* entry : sortBy->actions()) columns << entry->text();
    QCOMPARE(columns, QStringList({"Demoname", "Size", "Recorded"}));
    QVERIFY(sortBy->actions()[0]->isChecked());
    sortBy->actions()[0]->trigger();
    QCOMPARE(test::ColumnTexts(*window.demoList()->model(), 0), kDescendingNames);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, 5));
    // Another column sorts ascending: by size, 90 KB before 103 KB and so on.
    header->showSection(4);
    header->resizeSection(4, 123);
    header->moveSection(header->visualIndex(4), 0);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, 5));
    QCOMPARE(header->sortIndicatorSection(), 1);
    QVERIFY(app.Close());

    MainWindow& again = app.Start();
    QHeaderView* restored = again.demoList()->horizontalHeader();
    QCOMPARE(restored->logicalIndex(0), 4);
    QCOMPARE(restored->sectionSize(4), 123);
    QCOMPARE(restored->sortIndicatorSection(), 1);
    QCOMPARE(restored->sortIndicatorOrder(), Qt::AscendingOrder);
  }

  void rowsDragToThePlayListAndBack() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    ListView& demos = *window.demoList();
    ListView& play = *window.playList();
    demos.selectRow(0);
    demos.selectionModel()->select(demos.model()->index(3, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    test::DropRows(demos, play);
    QCOMPARE(test::ColumnTexts(*play.model(), 0), QStringList({"tdm.dm3", "duel.dm_48"}));
    QVERIFY(window.statusPanel(2)->text().startsWith("2 item(s) selected."));
    // Within the play list, one row moves to the place of the row it is dropped on.
    play.clearSelection();
    play.selectRow(1);
    test::DropRows(play, play, play.visualRect(play.model()->index(0, 0)).center());
    QCOMPARE(test::ColumnTexts(*play.model(), 0), QStringList({"duel.dm_48", "tdm.dm3"}));
    // The moved row is still the one selected, counted once: 1304 KB and 15:17 of play.
    QCOMPARE(window.statusPanel(2)->text(),
             QString("1 item(s) selected. 1.27 MB. Playtime: 00:15:17."));
    // Back onto the demo list: the selected rows leave the play list.
    play.clearSelection();
    play.selectRow(0);
    test::DropRows(play, demos);
    QCOMPARE(test::ColumnTexts(*play.model(), 0), QStringList({"tdm.dm3"}));
    QCOMPARE(demos.model()->rowCount(), 6);
  }

  void renameAndDeleteInTheListFollowTheReadOnlyMode() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    QAbstractItemModel& model = *window.demoList()->model();
    // Read-only is the built-in mode: no edit starts, and F2 and Del say why.
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.demoList()->setFocus();
    window.demoList()->selectRow(0);
    for (const Qt::Key key : {Qt::Key_F2, Qt::Key_Delete}) {
      window.statusBar()->clearMessage();
      QTest::keyClick(window.demoList(), key);
      QVERIFY(window.demoList()->indexWidget(window.demoList()->currentIndex()) == nullptr);
      QVERIFY2(window.statusBar()->currentMessage().startsWith("Read-only mode: "),
               qPrintable(window.statusBar()->currentMessage()));
      QVERIFY(window.statusBar()->currentMessage().contains("padlock button"));
    }
    QVERIFY(std::filesystem::exists(app.demos() + "/tdm.dm3"));
    QVERIFY(app.Close());

    app.AllowWriting();
    MainWindow& writable = app.Start();
    app.ListDemos();
    QAbstractItemModel& rows = *writable.demoList()->model();
    QCOMPARE(rows.index(0, 0).data().toString(), QString("tdm.dm3"));
    // An archive member's name is not edited in place.
    QVERIFY(!(rows.flags(rows.index(5, 0)) & Qt::ItemIsEditable));
    // The typed name gets the extension of the demo's generation (protocol 43: .dm3).
    QVERIFY(rows.setData(rows.index(0, 0), QString("final"), Qt::EditRole));
    QCOMPARE(rows.index(0, 0).data().toString(), QString("final.dm3"));
    QVERIFY(std::filesystem::exists(app.demos() + "/final.dm3"));
    QVERIFY(!std::filesystem::exists(app.demos() + "/tdm.dm3"));

    // Del, with the list focused, asks first, No being the default: Enter keeps the file.
    writable.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&writable));
    writable.demoList()->setFocus();
    writable.demoList()->selectRow(0);
    const auto answer = [](bool yes) {
      QTimer::singleShot(50, [yes] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
        QVERIFY(box->text().endsWith("They go to the trash."));
        if (yes) {
          box->button(QMessageBox::Yes)->click();
        } else {
          QTest::keyClick(box, Qt::Key_Return);
        }
      });
    };
    answer(false);
    QTest::keyClick(writable.demoList(), Qt::Key_Delete);
    QVERIFY(std::filesystem::exists(app.demos() + "/final.dm3"));
    QCOMPARE(rows.rowCount(), 6);
    // Yes moves the file to the trash and removes the row.
    writable.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&writable));
    writable.demoList()->setFocus();
    answer(true);
    QTest::keyClick(writable.demoList(), Qt::Key_Delete);
    QVERIFY(!std::filesystem::exists(app.demos() + "/final.dm3"));
    QVERIFY(std::filesystem::exists(app.trashHome() + "/Trash/files/final.dm3"));
    QCOMPARE(rows.rowCount(), 5);

    // A name that is taken is said to be taken.
    QTimer::singleShot(50, [] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      QVERIFY2(box->text().startsWith("The name duel.dm_48 is already taken in"),
               qPrintable(box->text()));
      box->accept();
    });
    const int ffa = test::RowNamed(rows, "sample_ffa.dm_48");
    QVERIFY(!rows.setData(rows.index(ffa, 0), QString("duel.dm_48"), Qt::EditRole));
    QVERIFY(std::filesystem::exists(app.demos() + "/sample_ffa.dm_48"));
  }

  // Tab and Shift+Tab go from view to view (the filter box too, and the play list's name once
  // there is one);
  // the arrows move inside a view, in every view style.
  void tabMovesBetweenTheViews() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTreeView& tree = *window.folderTree();
    ListView& demos = *window.demoList();
    ListView& play = *window.playList();
    QLineEdit* filter = window.filterBox();
    tree.setFocus();
    const auto tab = [](bool back) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                      back ? Qt::ShiftModifier : Qt::NoModifier);
      return QApplication::focusWidget();
    };
    QCOMPARE(tab(false), filter);
    QCOMPARE(tab(false), &demos);
    QTest::keyClick(&demos, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), &demos);
    QCOMPARE(tab(false), &play);
    QCOMPARE(tab(true), &demos);
    QCOMPARE(tab(true), filter);
    QCOMPARE(tab(true), &tree);

    const std::string list = app.home() + "/cup final.rwt";
    test::WriteBytes(list, "RWT Play List, ver 1.32\r\n" + app.demos() + "/duel.dm_48\r\n");
    QVERIFY(window.LoadPlayList(QString::fromStdString(list)));
    demos.setFocus();
    QCOMPARE(tab(false), window.playListName());
    QCOMPARE(QApplication::focusWidget()->accessibleName().toStdString(), list);
    QCOMPARE(tab(false), &play);

    demos.SetViewStyle(0);
    filter->setFocus();
    QCOMPARE(tab(false), demos.iconView());
    QCOMPARE(tab(true), filter);
    // The last key leaves no Shift held for the tests that follow.
    QCOMPARE(tab(false), demos.iconView());
  }

  void aFolderFromTheFileManagerBecomesABranch() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    const std::string other = app.home() + "/more demos";
    std::filesystem::create_directories(other);
    std::filesystem::copy_file(test::TestDataPath("demos/duel.dm_48"), other + "/duel.dm_48");
    QTreeView& tree = *window.folderTree();
    const QUrl folder = QUrl::fromLocalFile(QString::fromStdString(other + "/"));
    const QUrl file = QUrl::fromLocalFile(QString::fromStdString(other + "/duel.dm_48"));
    // Exactly one folder: not a file, not two folders.
    QVERIFY(!DragOntoTree(tree, {file}, false));
    QVERIFY(!DragOntoTree(tree, {folder, folder}, false));
    QVERIFY(DragOntoTree(tree, {folder}, true));
    QCOMPARE(window.folderTree()->model()->rowCount({}), 2);
    QCOMPARE(window.statusPanel(0)->toolTip().toStdString(), other);
    QCOMPARE(test::ColumnTexts(*window.demoList()->model(), 0), QStringList({"duel.dm_48"}));
  }

  void aRenamedBranchKeepsTheTreeAsItWasUnderItsNewPath() {
    test::AppFixture app;
    app.AllowWriting();
    MainWindow& window = app.Start();
    app.ListDemos();
    QTreeView& tree = *window.folderTree();
    const QModelIndex game = tree.model()->index(0, 0);
    QVERIFY(tree.isExpanded(game));
    const std::string cup = app.home() + "/cup";
    std::filesystem::create_directories(cup);
    std::filesystem::copy_file(test::TestDataPath("demos/duel.dm_48"), cup + "/duel.dm_48");
    QVERIFY(DragOntoTree(tree, {QUrl::fromLocalFile(QString::fromStdString(cup + "/"))}, true));
    const QModelIndex branch = tree.model()->index(1, 0);
    QCOMPARE(tree.currentIndex(), branch);

    QVERIFY(tree.model()->setData(branch, QString("final cup"), Qt::EditRole));
    const std::string renamed = app.home() + "/final cup";
    QVERIFY(std::filesystem::exists(renamed + "/duel.dm_48"));
    QTRY_COMPARE(window.statusPanel(0)->toolTip(), QString::fromStdString(renamed));
    QCOMPARE(tree.currentIndex().data().toString().toStdString(), renamed);
    QVERIFY(tree.isExpanded(tree.model()->index(0, 0)));
    QCOMPARE(test::ColumnTexts(*window.demoList()->model(), kLocationColumn),
             QStringList({QString::fromStdString(renamed)}));
  }

  void demoRowsDroppedOnAFolderMoveThere() {
    test::AppFixture app;
    app.AllowWriting();
    MainWindow& window = app.Start();
    app.ListDemos();
    QTreeView& tree = *window.folderTree();
    const QModelIndex baseq3 = test::Child(*tree.model(), tree.model()->index(0, 0, {}), "baseq3");
    window.demoList()->selectRow(0);  // tdm.dm3
    QMimeData mime;
    mime.setData(ListView::kRowsMime,
                 QByteArray::number(reinterpret_cast<quintptr>(window.demoList())));
    const QPoint onBaseq3 = tree.visualRect(baseq3).center();
    QDragEnterEvent enter(onBaseq3, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(onBaseq3), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &drop);
    QVERIFY(std::filesystem::exists(app.game() + "/baseq3/tdm.dm3"));
    QVERIFY(!std::filesystem::exists(app.demos() + "/tdm.dm3"));
    QCOMPARE(window.demoList()->model()->rowCount(), 5);
    // baseq3 now holds a demo: it takes the demo folders' colour (black).
    const QModelIndex moved = test::Child(*tree.model(), tree.model()->index(0, 0, {}), "baseq3");
    QCOMPARE(moved.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
  }

  void aWebLocationShowsItsActionUnderThePointer() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    UserData notes;
    notes.Web = "http://example.org/tdm";
    QVERIFY(app.session->SaveNotes("tdm.dm3", notes));
    app.ListDemos();
    ListView& list = *window.demoList();
    list.horizontalHeader()->showSection(kWebColumn);
    const QModelIndex web = list.model()->index(0, kWebColumn);
    QCOMPARE(web.data().toString(), QString("http://example.org/tdm"));
    const QString listed = window.statusPanel(1)->text();
    QMouseEvent over(QEvent::MouseMove, QPointF(list.visualRect(web).center()),
                     list.viewport()->mapToGlobal(QPointF(list.visualRect(web).center())),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &over);
    QCOMPARE(window.statusPanel(1)->text(), QString("Web action: http://example.org/tdm"));
    QCOMPARE(list.viewport()->cursor().shape(), Qt::PointingHandCursor);
    // Elsewhere the panel returns to what it showed.
    const QModelIndex name = list.model()->index(0, 0);
    QMouseEvent away(QEvent::MouseMove, QPointF(list.visualRect(name).center()),
                     list.viewport()->mapToGlobal(QPointF(list.visualRect(name).center())),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &away);
    QCOMPARE(window.statusPanel(1)->text(), listed);
  }

  void aPlayListFileLoadsIntoAHiddenPlayListWhichThenStaysShown() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    window.SetPlayListVisible(false);
    QVERIFY(!window.playList()->isVisible());
    QVERIFY(!window.statusPanel(2)->isVisible());
    const std::string list = app.home() + "/two.rwt";
    test::WriteBytes(list, "RWT Play List, ver 1.32\r\n" + app.demos() + "/duel.dm_48\r\n\x01" +
                               app.demos() + "/demo_pack.zip\\archived_tdm.dm3\r\n");
    QVERIFY(window.LoadPlayList(QString::fromStdString(list)));
    QVERIFY(window.playList()->isVisible());
    QCOMPARE(test::ColumnTexts(*window.playList()->model(), 0),
             QStringList({"duel.dm_48", "archived_tdm.dm3"}));
    QCOMPARE(window.playListName()->toolTip().toStdString(), list);
    QVERIFY(window.statusPanel(2)->text().startsWith("2 Items. Total length: "));
    QVERIFY(app.Close());
    // Shown, it comes back shown; hidden, it comes back hidden.
    MainWindow& again = app.Start();
    QVERIFY(again.playList()->isVisible());
    again.SetPlayListVisible(false);
    QVERIFY(app.Close());
    MainWindow& hidden = app.Start();
    QVERIFY(!hidden.playList()->isVisible());
    // No pane gets narrower than 30 pixels, however far a splitter is dragged.
    auto* splitter = hidden.findChild<QSplitter*>();
    splitter->setSizes({0, 1000});
    QCOMPARE(splitter->sizes()[0], 30);
  }

  // An archive's demos wear an archive, not the tree's folder; the play list's name is shortened
  // only where it does not fit, and screen readers hear it whole.
  void archiveRowsAndThePlayListNameAreShownForWhatTheyAre() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    const QAbstractItemModel& rows = *window.demoList()->model();
    const auto picture = [](const QIcon& icon) { return icon.pixmap(16).toImage(); };
    const QImage archive = picture(rows.index(test::RowNamed(rows, "archived_tdm.dm3"), 0)
                                       .data(Qt::DecorationRole)
                                       .value<QIcon>());
    QCOMPARE(archive, picture(QIcon(":/pictures/archive.png")));
    QVERIFY(archive != picture(window.style()->standardIcon(QStyle::SP_DirIcon)));
    QVERIFY(picture(rows.index(test::RowNamed(rows, "tdm.dm3"), 0)
                        .data(Qt::DecorationRole)
                        .value<QIcon>()) != archive);

    const std::string list = app.home() + "/a.rwt";
    test::WriteBytes(list, "RWT Play List, ver 1.32\r\n" + app.demos() + "/duel.dm_48\r\n");
    QVERIFY(window.LoadPlayList(QString::fromStdString(list)));
    ElidedLabel& name = *window.playListName();
    const QString whole = QString::fromStdString(list);
    name.resize(name.fontMetrics().horizontalAdvance(whole) + 20, name.height());
    QCOMPARE(name.shownText(), whole);
    name.resize(name.fontMetrics().horizontalAdvance(whole) / 2, name.height());
    QVERIFY(name.shownText().contains(QChar(0x2026)));
    QCOMPARE(name.accessibleName(), whole);
    QCOMPARE(name.text(), whole);
  }

  void aCloseDuringAListingIsRefusedOnceThenClosesAfterIt() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    int closes = 0;
    // Both arrive while the listing serves window messages.
    for (int i = 0; i < 2; ++i) {
      QTimer::singleShot(0, &window, [&] {
        ++closes;
        window.close();
      });
    }
    app.ListDemos();
    QCOMPARE(closes, 2);
    QVERIFY(window.isVisible());
    QVERIFY(!window.listing());
    // The close comes once the listing has returned.
    QTRY_VERIFY(!window.isVisible());
  }

  void aLogoutDuringAListingStopsItAndCloses() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    QTimer::singleShot(0, &window, [&] { window.EndOnRequest(); });
    app.ListDemos();
    QVERIFY(!window.listing());
    QTRY_VERIFY(!window.isVisible());
  }

  void theTipOfTheDayKeepsItsCheckBoxForTheNextStart() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    QVERIFY(app.session->settings().global.tip_of_day);
    QString first;
    QTimer::singleShot(0, [&first] {
      auto* tips = qobject_cast<TipOfTheDay*>(QApplication::activeModalWidget());
      if (tips == nullptr) return;
      first = tips->tip();
      tips->NextTip();
      QVERIFY(tips->tip() != first);
      tips->findChild<QCheckBox*>()->setChecked(false);
      tips->accept();
    });
    window.ShowTipOfTheDay();
    QVERIFY(!first.isEmpty());
    QVERIFY(app.Close());
    QVERIFY(test::ReadBytes(app.home() + "/Reelwright.cfg").find("tip_of_day=0") !=
            std::string::npos);
  }

  void aSecondStartHandsOverItsCommandLine() {
    SingleInstance first(QStringLiteral("/some/program folder"));
    QVERIFY(first.Listen());
    QSignalSpy received(&first, &SingleInstance::commandLineReceived);
    bool handedOver = false;
    std::thread second([&] {
      SingleInstance later(QStringLiteral("/some/program folder"));
      handedOver = later.HandOver({"reelwright", "nosplash"});
    });
    QTRY_COMPARE(received.count(), 1);
    second.join();
    QVERIFY(handedOver);
    QCOMPARE(received[0][0].toStringList(), QStringList({"reelwright", "nosplash"}));
    // Another program folder is another program.
    SingleInstance elsewhere(QStringLiteral("/other"));
    QVERIFY(!elsewhere.HandOver({"reelwright"}));
    // A copy that comes second never takes the running copy's socket away.
    SingleInstance latecomer(QStringLiteral("/some/program folder"));
    QVERIFY(!latecomer.Listen());

    // A running copy still busy starting (its event loop not yet running) answers once it
    // gets there: the later start waits for it rather than starting a copy of its own.
    handedOver = false;
    std::thread slow([&] {
      SingleInstance later(QStringLiteral("/some/program folder"));
      handedOver = later.HandOver({"reelwright", "late"});
    });
    QThread::msleep(6000);  // more than the time a connection is given
    QTRY_COMPARE(received.count(), 2);
    slow.join();
    QVERIFY(handedOver);
  }
};

}  // namespace rw::app

QTEST_MAIN(rw::app::MainWindowTest)
#include "main_window_test.moc"
