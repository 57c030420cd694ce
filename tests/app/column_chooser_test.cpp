#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/column_chooser_window.h"
#include "app_fixture.h"
#include "support/test_files.h"

namespace rw::app {

namespace {

// The 26 headers by column index.
const QStringList kHeaders = {
    "Demoname",     "Size",       "Recorded",    "Archive Location", "Map",       "Playtime",
    "Version",      "Gametype",   "Mod",         "Hostname",         "Timelimit", "Fraglimit",
    "Capturelimit", "Protocol",   "Max Clients", "Max Rate",         "Max Ping",  "Min Ping",
    "Winner",       "Second",     "Final Score", "Location",         "POV",       "Rating",
    "Web",          "Description"};

QStringList Texts(const QListWidget& list, bool onlyChecked = false) {
  QStringList texts;
  for (int row = 0; row < list.count(); ++row) {
    if (!onlyChecked || list.item(row)->checkState() == Qt::Checked) {
      texts << list.item(row)->text();
    }
  }
  return texts;
}

// Clicks the entry's text, as the user selects it.
void ClickEntry(QListWidget& list, const QString& text) {
  const QList<QListWidgetItem*> found = list.findItems(text, Qt::MatchExactly);
  QCOMPARE(found.size(), 1);
  const QRect rect = list.visualItemRect(found[0]);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                    QPoint(rect.right() - 5, rect.center().y()));
}

void Click(ColumnChooserWindow& chooser, const QString& caption) {
  QPushButton* button = chooser.button(caption);
  QVERIFY(button != nullptr);
  QVERIFY(button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);
}

// Which of "&Up", "&Down", "&Show", "&Hide" and "&Apply" are enabled.
QStringList Enabled(const ColumnChooserWindow& chooser) {
  QStringList enabled;
  for (const char* caption : {"&Up", "&Down", "&Show", "&Hide", "&Apply"}) {
    if (chooser.button(caption)->isEnabled()) enabled << caption;
  }
  return enabled;
}

// Opens the chooser of a list and runs steps on it as the user; the chooser is closed after
// them if they left it open.
void Choose(MainWindow& window, ListKind list,
            const std::function<void(ColumnChooserWindow&)>& steps) {
  bool ran = false;
  QTimer::singleShot(0, &window, [&] {
    auto* chooser = window.findChild<ColumnChooserWindow*>();
    if (chooser == nullptr) return;
    ran = true;
    steps(*chooser);
    if (chooser->isVisible()) chooser->reject();
  });
  window.ChooseColumns(list);
  QVERIFY(ran);
  QVERIFY(window.findChild<ColumnChooserWindow*>() == nullptr);
}

// The logical column at each visual position, left to right.
QList<int> Order(const QHeaderView& header) {
  QList<int> order;
  for (int visual = 0; visual < header.count(); ++visual) order << header.logicalIndex(visual);
  return order;
}

QList<int> Range(int first, int last) {
  QList<int> values;
  for (int value = first; value <= last; ++value) values << value;
  return values;
}

// The "key=value" lines of one section of a configuration file.
QStringList SectionLines(const QString& text, const QString& section) {
  const qsizetype start = text.indexOf("[" + section + "]\r\n");
  if (start < 0) return {};
  QString body = text.mid(start + section.size() + 4);
  body = body.left(body.indexOf("\r\n["));
  return body.split("\r\n", Qt::SkipEmptyParts);
}

}  // namespace

class ColumnChooserTest : public QObject {
  Q_OBJECT

 private slots:
  void hidingAColumnMovesItInFrontAndTheNextOpeningListsItAfterTheVisibleOnes() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    QCOMPARE(window.demoList()->model()->rowCount(), 6);
    QHeaderView& header = *window.demoList()->horizontalHeader();
    const int unfittedMap = header.sectionSize(4);
    Choose(window, ListKind::kDemoList, [&](ColumnChooserWindow& chooser) {
      QCOMPARE(chooser.windowTitle(), QString("Choose Demolist Columns"));
      QVERIFY(chooser.isModal());
      QStringList names;
      for (QPushButton* button : chooser.findChildren<QPushButton*>()) {
        names << button->accessibleName();
      }
      QCOMPARE(names, QStringList({"Up", "Down", "Show", "Hide", "OK", "Cancel", "Apply"}));
      QVERIFY(!chooser.checkList()->accessibleName().isEmpty());
      // The built-in layout: the three visible columns first, then the hidden ones in order.
      QListWidget& list = *chooser.checkList();
      QCOMPARE(Texts(list), kHeaders);
      QCOMPARE(Texts(list, true), kHeaders.mid(0, 3));
      QCOMPARE(Enabled(chooser), QStringList());

      ClickEntry(list, "Size");
      QCOMPARE(Enabled(chooser), QStringList({"&Up", "&Down", "&Hide"}));
      Click(chooser, "&Hide");
      QCOMPARE(Texts(list, true), QStringList({"Demoname", "Recorded"}));
      QCOMPARE(list.currentRow(), 1);
      QCOMPARE(Enabled(chooser), QStringList({"&Up", "&Down", "&Show", "&Apply"}));
      Click(chooser, "&Apply");
      QCOMPARE(Enabled(chooser), QStringList({"&Up", "&Down", "&Show"}));
      // Hidden columns in list order, then the visible ones.
      QCOMPARE(Order(header), QList<int>({1}) + Range(3, 25) + QList<int>({0, 2}));
      QVERIFY(header.isSectionHidden(1));
      QVERIFY(!header.isSectionHidden(0) && !header.isSectionHidden(2));
      Click(chooser, "&OK");
      QVERIFY(!chooser.isVisible());
    });
    if (QTest::currentTestFailed()) return;

    Choose(window, ListKind::kDemoList, [&](ColumnChooserWindow& chooser) {
      QListWidget& list = *chooser.checkList();
      QCOMPARE(Texts(list), QStringList({"Demoname", "Recorded", "Size"}) + kHeaders.mid(3));
      QCOMPARE(Texts(list, true), QStringList({"Demoname", "Recorded"}));
      // "Description" gets 90 pixels, "Map" fits its texts; OK applies.
      ClickEntry(list, "Map");
      Click(chooser, "&Show");
      ClickEntry(list, "Description");
      Click(chooser, "&Show");
      Click(chooser, "&OK");
    });
    if (QTest::currentTestFailed()) return;
    QCOMPARE(Order(header), QList<int>({1, 3}) + Range(5, 24) + QList<int>({0, 2, 4, 25}));
    QCOMPARE(header.sectionSize(25), 90);
    QVERIFY(!header.isSectionHidden(4));
    // Fitting "Map" to its texts again changes nothing.
    const int fitted = header.sectionSize(4);
    QVERIFY(fitted != unfittedMap);
    window.demoList()->resizeColumnToContents(4);
    QCOMPARE(header.sectionSize(4), fitted);

    // What the list shows is what the exit stores.
    QVERIFY(app.Close());
    const QStringList keys = SectionLines(
        QString::fromStdString(test::ReadBytes(app.home() + "/Reelwright.cfg")), "Demo List");
    for (const char* key : {"Column1_Width=0", "Column25_Width=90", "Column0_Order=1",
                            "Column1_Order=3", "Column22_Order=0", "Column25_Order=25"}) {
      QVERIFY2(keys.contains(key), key);
    }
  }

  void demonameCannotBeUncheckedAndCancelKeepsTheLayout() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    QHeaderView& header = *window.playList()->horizontalHeader();
    const QList<int> before = Order(header);
    Choose(window, ListKind::kPlayList, [&](ColumnChooserWindow& chooser) {
      QCOMPARE(chooser.windowTitle(), QString("Choose Playlist Columns"));
      QListWidget& list = *chooser.checkList();
      ClickEntry(list, "Demoname");
      QCOMPARE(Enabled(chooser), QStringList({"&Down"}));
      // Neither its check box (the space key) nor a direct uncheck takes the mark away.
      QTest::keyClick(list.viewport(), Qt::Key_Space);
      list.item(0)->setCheckState(Qt::Unchecked);
      QCOMPARE(list.item(0)->checkState(), Qt::Checked);
      QCOMPARE(Enabled(chooser), QStringList({"&Down"}));
      // Moving keeps the mark and the selection.
      Click(chooser, "&Down");
      QCOMPARE(Texts(list).mid(0, 2), QStringList({"Size", "Demoname"}));
      QCOMPARE(list.currentRow(), 1);
      QCOMPARE(Enabled(chooser), QStringList({"&Up", "&Down", "&Apply"}));
      // The space key unticks another entry; Escape closes without applying.
      ClickEntry(list, "Size");
      QTest::keyClick(list.viewport(), Qt::Key_Space);
      QCOMPARE(list.item(0)->checkState(), Qt::Unchecked);
      QTest::keyClick(&chooser, Qt::Key_Escape);
      QVERIFY(!chooser.isVisible());
    });
    QCOMPARE(Order(header), before);
    QVERIFY(!header.isSectionHidden(1));
  }

  void aSchemeSavedFromTheDemoListGivesThePlayListTheSameLayout() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    QHeaderView& demos = *window.demoList()->horizontalHeader();
    // The user drags widths and moves "Map" to the right end.
    demos.showSection(4);
    for (const auto& [column, width] : {std::pair{0, 150}, {1, 60}, {2, 130}, {4, 123}}) {
      demos.resizeSection(column, width);
    }
    demos.moveSection(demos.visualIndex(4), 25);
    const QString path = QDir(QString::fromStdString(app.home())).filePath("layout.rtw");
    QStringList folders;
    window.askSchemeToSave = [&](QWidget*, const QString& folder) {
      folders << folder;
      return path;
    };
    window.SaveColumnScheme(ListKind::kDemoList);

    // Line i: width of column i, then the column at position i.
    const QList<int> order = QList<int>({3}) + Range(5, 25) + QList<int>({0, 1, 2, 4});
    std::string expected;
    for (int i = 0; i < 26; ++i) {
      const int width = i == 0 ? 150 : i == 1 ? 60 : i == 2 ? 130 : i == 4 ? 123 : 0;
      expected += std::to_string(width) + "," + std::to_string(order[i]) + "\r\n";
    }
    QCOMPARE(test::ReadBytes(path.toStdString()), expected);

    window.askSchemeToOpen = [&](QWidget*, const QString& folder) {
      folders << folder;
      return path;
    };
    window.LoadColumnScheme(ListKind::kPlayList);
    const QHeaderView& play = *window.playList()->horizontalHeader();
    QCOMPARE(Order(play), order);
    for (int column = 0; column < 26; ++column) {
      const bool shown = column <= 2 || column == 4;
      QCOMPARE(play.isSectionHidden(column), !shown);
      if (shown) QCOMPARE(play.sectionSize(column), demos.sectionSize(column));
    }
    // The first dialog starts where it likes, the next one in the data folder.
    QCOMPARE(folders, QStringList({"", QString::fromStdString(app.home() + "/RWT Data")}));
  }

  void aDamagedSchemeLeavesTheListAsItWas() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    ListView& view = *window.demoList();
    QHeaderView& header = *view.horizontalHeader();
    const QList<int> order = Order(header);
    QList<int> widths;
    for (int column = 0; column < 26; ++column) widths << header.sectionSize(column);

    std::string shortFile = "-2,3\r\n-2,4\r\n";
    std::string notNumbers;
    std::string twice;  // every column hidden and shown at position 0
    for (int i = 0; i < 26; ++i) {
      notNumbers += "wide,narrow\r\n";
      twice += "0,0\r\n";
    }
    const QString path = QDir(QString::fromStdString(app.home())).filePath("damaged.rtw");
    window.askSchemeToOpen = [&](QWidget*, const QString&) { return path; };
    for (const std::string& bytes : {shortFile, notNumbers, twice, std::string()}) {
      test::WriteBytes(path.toStdString(), bytes);
      window.LoadColumnScheme(ListKind::kDemoList);
      QCOMPARE(Order(header), order);
      QVERIFY(!header.isSectionHidden(0) && !header.isSectionHidden(1));
      for (int column = 0; column < 26; ++column) {
        QCOMPARE(header.sectionSize(column), widths[column]);
      }
      QVERIFY(view.updatesEnabled());
    }
    // A missing file and a cancelled dialog change nothing either.
    QFile::remove(path);
    window.LoadColumnScheme(ListKind::kDemoList);
    window.askSchemeToOpen = [](QWidget*, const QString&) { return QString(); };
    window.LoadColumnScheme(ListKind::kDemoList);
    QCOMPARE(Order(header), order);
    QVERIFY(view.updatesEnabled());
  }

  void theSaveDialogOffersMySchemeWithTheSchemeFilter() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    const QString folder = QString::fromStdString(app.home());
    QStringList filters;
    QString offered;
    QTimer::singleShot(0, &window, [&] {
      auto* dialog = window.findChild<QFileDialog*>();
      if (dialog == nullptr) return;
      filters = dialog->nameFilters();
      offered = dialog->selectedFiles().value(0);
      dialog->selectFile(QDir(folder).filePath("mine"));
      static_cast<QDialog*>(dialog)->accept();
    });
    window.SaveColumnScheme(ListKind::kDemoList);
    QCOMPARE(filters, QStringList({"RWT Columns Scheme (*.rtw)"}));
    QCOMPARE(QFileInfo(offered).fileName(), QString("MyScheme.rtw"));
    // The dialog adds the extension to a name without one.
    QVERIFY(QFile::exists(QDir(folder).filePath("mine.rtw")));
  }
};

}  // namespace rw::app

QTEST_MAIN(rw::app::ColumnChooserTest)
#include "column_chooser_test.moc"
