#include <QHeaderView>
#include <QTest>

#include "app_fixture.h"

namespace rw::app {

namespace {

QStringList Sorted(QStringList names) {
  names.sort();
  return names;
}

}  // namespace

// The demos of the fixture, as `strings` shows them: duel.dm_48 has the player
// "^0cK^3-^7fatal^01^7ty" (cK-fatal1ty); the .dm_48 demos are duel.dm_48, sample_ffa.dm_48
// and, in demo_pack.zip, archived_ffa.dm_48.
class SearchTest : public QObject {
  Q_OBJECT

 private slots:
  void theFilterBoxHidesRowsAsYouTypeAndCommandsWorkOnTheRowsShown() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    ListView& list = *window.demoList();
    QLineEdit& filter = *window.filterBox();
    QCOMPARE(filter.accessibleName(), QString("Filter"));
    QCOMPARE(list.model()->rowCount(), 6);

    list.setFocus();
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(filter.hasFocus());
    QTest::keyClicks(&filter, "player:fatal1ty");
    QCOMPARE(test::ColumnTexts(*list.model(), 0), QStringList{"duel.dm_48"});
    QCOMPARE(window.statusPanel(1)->text(), QString("1 of 6 item(s)"));

    // A text that does not parse says why and leaves the rows as they were.
    filter.setText("rating:>x");
    QCOMPARE(test::ColumnTexts(*list.model(), 0), QStringList{"duel.dm_48"});
    QVERIFY(filter.toolTip().startsWith("Column 9: rating:"));

    filter.setText("DM_48");
    const QStringList dm48 = {"sample_ffa.dm_48", "duel.dm_48", "archived_ffa.dm_48"};
    QCOMPARE(test::ColumnTexts(*list.model(), 0), dm48);
    // Sorting sorts the rows shown.
    list.horizontalHeader()->sectionClicked(0);
    QCOMPARE(test::ColumnTexts(*list.model(), 0), Sorted(dm48));
    // Select all and a drag take the rows shown only.
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(list.selectionModel()->selectedRows().size(), 3);
    test::DropRows(list, *window.playList());
    QCOMPARE(Sorted(test::ColumnTexts(*window.playList()->model(), 0)), Sorted(dm48));

    // Escape empties the box and every row comes back, in the order sorted.
    filter.setFocus();
    QTest::keyClick(&filter, Qt::Key_Escape);
    QCOMPARE(filter.text(), QString());
    QCOMPARE(list.model()->rowCount(), 6);
    QCOMPARE(test::ColumnTexts(*list.model(), 0), Sorted(test::ColumnTexts(*list.model(), 0)));
    // The rows shown all along kept their selection.
    QVERIFY(window.statusPanel(1)->text().startsWith("3 item(s) selected. "));
  }

  void findDemosSearchesEveryFolderOfTheTreeAndLeadsToAResult() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    // Nothing was listed from the demos folder yet: Find Demos lists it first.
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    FindDemosWindow* find = window.findDemosWindow();
    QVERIFY(find != nullptr);
    QVERIFY(find->isVisible());
    QCOMPARE(find->windowTitle(), QString("Find Demos"));

    QTest::keyClicks(find->queryBox(), "len:>x");
    QTest::keyClick(find->queryBox(), Qt::Key_Return);
    QVERIFY(find->statusLine()->text().startsWith("Column 6: len:"));

    find->queryBox()->setText("player:fatal1ty");
    QTest::keyClick(find->queryBox(), Qt::Key_Return);
    const QAbstractItemModel& found = *find->results()->model();
    QCOMPARE(test::ColumnTexts(found, 0), QStringList{"duel.dm_48"});
    QCOMPARE(find->statusLine()->text(), QString("1 item(s) found in 3 folder(s)."));
    QVERIFY(!find->results()->horizontalHeader()->isSectionHidden(kLocationColumn));
    QCOMPARE(found.index(0, kLocationColumn).data().toString(),
             QString::fromStdString(app.demos()));

    // Enter shows the result's properties.
    find->results()->setFocus();
    find->results()->selectRow(0);
    QTest::keyClick(find->results(), Qt::Key_Return);
    QVERIFY(window.propertiesWindow() != nullptr);
    QCOMPARE(window.propertiesWindow()->windowTitle(), QString("Properties of duel.dm_48"));
    window.propertiesWindow()->close();
    QCoreApplication::processEvents();

    // Dragged onto the play list, the result is added to it.
    test::DropRows(*find->results(), *window.playList());
    QCOMPARE(test::ColumnTexts(*window.playList()->model(), 0), QStringList{"duel.dm_48"});

    // "Show in Folder" lists the folder and selects the demo there.
    QTest::mouseClick(find->showInFolderButton(), Qt::LeftButton);
    QCOMPARE(window.statusPanel(0)->toolTip().toStdString(), app.demos());
    const QModelIndexList selected = window.demoList()->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.front().data().toString(), QString("duel.dm_48"));
  }
};

}  // namespace rw::app

QTEST_MAIN(rw::app::SearchTest)
#include "search_test.moc"
