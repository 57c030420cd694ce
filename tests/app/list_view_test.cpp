#include <QHeaderView>
#include <QImage>
#include <QProxyStyle>
#include <QTest>

#include "app/list_view.h"
#include "host/locale.h"

namespace rw::app {

namespace {

// Notes which pictures a style is asked for.
class RecordingStyle : public QProxyStyle {
 public:
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    drawn << element;
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
  mutable QList<PrimitiveElement> drawn;
};

}  // namespace

class ListViewTest : public QObject {
  Q_OBJECT

 private:
  // Pixels of the area that are clearly red (text is drawn smoothed, so not all are pure).
  static int RedPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        const QColor c = image.pixelColor(x, y);
        count += c.red() > 160 && c.green() < 90 && c.blue() < 90;
      }
    }
    return count;
  }

 private slots:
  void colourCodesAreDrawnInColourAndReadPlain() {
    FixedLocale locale;
    SortedRows rows(locale, 0, false);
    ListRow row;
    row[0] = "red^1team.dm3";
    row[18] = "^1RedWinner^7";
    rows.Append(row);
    ListView view(rows, "Demo List");
    QPalette palette = view.palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    view.setPalette(palette);
    view.resize(800, 200);
    view.Reload();
    view.horizontalHeader()->resizeSection(0, 150);
    view.horizontalHeader()->resizeSection(18, 150);
    view.horizontalHeader()->moveSection(view.horizontalHeader()->visualIndex(18), 1);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // Screen readers and the cell's text get the text without its codes.
    QCOMPARE(view.model()->index(0, 18).data(Qt::AccessibleTextRole).toString(),
             QString("RedWinner"));
    const QImage image = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect winner = view.visualRect(view.model()->index(0, 18));
    const QRect name = view.visualRect(view.model()->index(0, 0));
    // Code 1 is red (0xFF0000); a file name's caret is no code.
    QVERIFY(RedPixels(image, winner) > 10);
    QCOMPARE(RedPixels(image, name), 0);
    QCOMPARE(view.model()->index(0, 0).data().toString(), QString("red^1team.dm3"));
  }

  // The arrow shows the order the rows are in: up from A to Z, down from Z to A.
  void theSortArrowPointsTheWayTheRowsRun() {
    FixedLocale locale;
    SortedRows rows(locale, 0, false);
    ListView view(rows, "Demo List");
    QHeaderView& header = *view.horizontalHeader();
    header.setSortIndicatorShown(true);
    auto* arrows = qobject_cast<QProxyStyle*>(header.style());
    QVERIFY(arrows != nullptr);
    auto* recording = new RecordingStyle;
    arrows->setBaseStyle(recording);  // which takes it over
    view.resize(400, 100);
    view.show();
    for (const bool ascending : {true, false}) {
      recording->drawn.clear();
      header.setSortIndicator(0, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
      header.grab();
      QVERIFY(recording->drawn.contains(ascending ? QStyle::PE_IndicatorArrowUp
                                                  : QStyle::PE_IndicatorArrowDown));
      QVERIFY(!recording->drawn.contains(ascending ? QStyle::PE_IndicatorArrowDown
                                                   : QStyle::PE_IndicatorArrowUp));
    }
  }

  void fullRowSelectDecidesWhichCellsShowTheSelection() {
    FixedLocale locale;
    SortedRows rows(locale, 0, false);
    ListRow row;
    row[0] = "final.dm3";
    row[1] = "2595 KB";
    rows.Append(row);
    ListView view(rows, "Demo List");
    QPalette palette = view.palette();
    palette.setColor(QPalette::Base, QColor(230, 253, 255));
    palette.setColor(QPalette::Highlight, QColor(0, 0, 200));
    view.setPalette(palette);
    view.resize(600, 120);
    view.Reload();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.selectRow(0);

    // A point of the cell past its text: the background the cell is painted in.
    const auto backgroundOf = [&view](int column) {
      const QImage image = view.viewport()->grab().toImage();
      const QRect cell = view.visualRect(view.model()->index(0, column));
      return image.pixelColor(cell.right() - 3, cell.center().y());
    };
    view.SetFullRowSelect(false);
    QCOMPARE(backgroundOf(0), QColor(0, 0, 200));
    QCOMPARE(backgroundOf(1), QColor(230, 253, 255));
    view.SetFullRowSelect(true);
    QCOMPARE(backgroundOf(0), QColor(0, 0, 200));
    QCOMPARE(backgroundOf(1), QColor(0, 0, 200));
  }
};

}  // namespace rw::app

QTEST_MAIN(rw::app::ListViewTest)
#include "list_view_test.moc"
