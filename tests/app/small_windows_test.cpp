#include <zlib.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/about_window.h"
#include "app/control_keys_window.h"
#include "app/global_parameters_window.h"
#include "app/help_window.h"
#include "app/user_data_commands.h"
#include "app_fixture.h"
#include "support/test_files.h"

namespace rw::app {

namespace {

// Runs steps on the next modal window once it is open, as the user would answer it.
template <typename Window>
void Answer(const std::function<void(Window&)>& steps, bool& ran) {
  QTimer::singleShot(0, [steps, &ran] {
    auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
    if (window == nullptr) return;
    ran = true;
    steps(*window);
  });
}

QString Cell(const QAbstractItemModel& model, const QString& name, size_t column) {
  return model.index(test::RowNamed(model, name), static_cast<int>(column)).data().toString();
}

bool HasLine(const std::string& file, const std::string& line) {
  return ("\r\n" + file).find("\r\n" + line + "\r\n") != std::string::npos;
}

QList<QWidget*> OpenHelpWindows() {
  QList<QWidget*> open;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->windowTitle() == "Reelwright Help") open << window;
  }
  return open;
}

}  // namespace

class SmallWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void controlKeysUnbindAChangedKeyOnceAndAreSavedAtExit() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    Session& session = *app.session;
    bool ran = false;
    Answer<ControlKeysWindow>(
        [](ControlKeysWindow& keys) {
          QCOMPARE(keys.windowTitle(), QString("Playback Control Keys"));
          QStringList shown;
          for (int key = 0; key < ControlKeysWindow::kKeyCount; ++key) {
            shown << keys.field(key)->text();
          }
          QCOMPARE(shown,
                   QStringList({"kp_enter", "kp_del", "kp_plus", "kp_minus", "pause", "kp_5"}));
          keys.field(4)->selectAll();
          QTest::keyClicks(keys.field(4), "p");
          QTest::mouseClick(keys.button("&OK"), Qt::LeftButton);
        },
        ran);
    EditControlKeys(session, &window);
    QVERIFY(ran);
    const std::string binds =
        "bind kp_enter \"vstr d_f_t\"\r\nbind kp_del \"vstr d_s_t\"\r\nbind kp_plus \"vstr "
        "d_f\"\r\n"
        "bind kp_minus \"vstr d_s\"\r\nbind p \"vstr d_p\"\r\nbind kp_5 \"vstr nextdemo\"";
    QCOMPARE(session.LaunchOptionsFor({}).script.bindBlock, "unbind pause\r\n" + binds);

    // The window shows the new key; "&Default" only fills the fields, Escape keeps the keys.
    ran = false;
    Answer<ControlKeysWindow>(
        [](ControlKeysWindow& keys) {
          QCOMPARE(keys.field(4)->text(), QString("p"));
          QTest::mouseClick(keys.button("&Default"), Qt::LeftButton);
          QCOMPARE(keys.field(4)->text(), QString("pause"));
          QTest::keyClick(&keys, Qt::Key_Escape);
        },
        ran);
    EditControlKeys(session, &window);
    QVERIFY(ran);
    QCOMPARE(session.controlKeys().pause, std::string("p"));

    // Confirming the same keys again releases nothing.
    ran = false;
    Answer<ControlKeysWindow>(
        [](ControlKeysWindow& keys) { QTest::keyClick(keys.field(0), Qt::Key_Return); }, ran);
    EditControlKeys(session, &window);
    QVERIFY(ran);
    QCOMPARE(session.LaunchOptionsFor({}).script.bindBlock, binds);

    QVERIFY(app.Close());
    QVERIFY(HasLine(test::ReadBytes(app.home() + "/Reelwright.cfg"), "pause_key=p"));
  }

  void globalParametersAreKeptOnOkOnly() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    Session& session = *app.session;
    bool ran = false;
    Answer<GlobalParametersWindow>(
        [](GlobalParametersWindow& parameters) {
          QCOMPARE(parameters.windowTitle(), QString("Add global parameter(s) for executing Q3A"));
          QVERIFY(parameters.findChild<QLabel*>()->text() == "Example: +exec myconfig");
          QCOMPARE(parameters.field()->text(), QString());
          QTest::keyClicks(parameters.field(), "+exec myconfig");
          QTest::keyClick(parameters.field(), Qt::Key_Return);
        },
        ran);
    EditGlobalParameters(session, &window);
    QVERIFY(ran);
    QCOMPARE(session.LaunchOptionsFor({}).globalParameters, std::string("+exec myconfig"));

    ran = false;
    Answer<GlobalParametersWindow>(
        [](GlobalParametersWindow& parameters) {
          QCOMPARE(parameters.field()->text(), QString("+exec myconfig"));
          QTest::keyClicks(parameters.field(), " +set r_mode 4");
          QTest::keyClick(&parameters, Qt::Key_Escape);
        },
        ran);
    EditGlobalParameters(session, &window);
    QVERIFY(ran);
    QCOMPARE(session.globalParameters(), std::string("+exec myconfig"));

    // What the game cannot read (Игрок) is not dropped on the way: OK says so and waits.
    ran = false;
    bool told = false;
    Answer<GlobalParametersWindow>(
        [&told](GlobalParametersWindow& parameters) {
          parameters.field()->setText(
              QString::fromUtf8("+set name \xd0\x98\xd0\xb3\xd1\x80\xd0\xbe\xd0\xba"));
          QTimer::singleShot(0, [&told] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            told = box->text().startsWith("The game reads Windows-1252 only");
            box->accept();
          });
          QTest::keyClick(parameters.field(), Qt::Key_Return);
          QVERIFY(parameters.isVisible());
          parameters.reject();
        },
        ran);
    EditGlobalParameters(session, &window);
    QVERIFY(ran);
    QVERIFY(told);
    QCOMPARE(session.globalParameters(), std::string("+exec myconfig"));

    QVERIFY(app.Close());
    QVERIFY(
        HasLine(test::ReadBytes(app.home() + "/Reelwright.cfg"), "q3a_start_param=+exec myconfig"));
  }

  void webLocationAndClearingShowInTheSelectedRows() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    QCOMPARE(window.demoList()->model()->rowCount(), 6);
    ListView& list = *window.demoList();
    const QAbstractItemModel& model = *list.model();
    for (const char* name : {"tdm.dm3", "duel.dm_48"}) {
      list.selectionModel()->select(model.index(test::RowNamed(model, name), 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    bool ran = false;
    Answer<QInputDialog>(
        [](QInputDialog& box) {
          QCOMPARE(box.windowTitle(), QString("Set Web Location"));
          QCOMPARE(box.labelText(), QString("Set Web Location for all selected demos"));
          QCOMPARE(box.textValue(), QString("http://"));
          box.setTextValue("http://q3.example/final");
          box.accept();
        },
        ran);
    QVERIFY(SetWebLocationForSelected(*app.session, list));
    QVERIFY(ran);
    for (const char* name : {"tdm.dm3", "duel.dm_48"}) {
      QCOMPARE(Cell(model, name, kWebColumn), QString("http://q3.example/final"));
      QCOMPARE(test::ReadBytes(app.home() + "/RWT Data/Demos/" + name + ".description"),
               std::string("\x01\r\n\x01\r\nhttp://q3.example/final\r\n"));
    }
    QCOMPARE(Cell(model, "sample_tdm.dm3", kWebColumn), QString());

    ran = false;
    Answer<QMessageBox>(
        [](QMessageBox& box) {
          QCOMPARE(box.windowTitle(), QString("Clear User Data"));
          QCOMPARE(box.text(), QString("Really delete all User Data for the 2 selected demos?"));
          QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
        },
        ran);
    QVERIFY(ClearUserDataForSelected(*app.session, list));
    QVERIFY(ran);
    for (const char* name : {"tdm.dm3", "duel.dm_48"}) {
      QCOMPARE(Cell(model, name, kWebColumn), QString());
      QVERIFY(!QFile::exists(
          QString::fromStdString(app.home() + "/RWT Data/Demos/" + name + ".description")));
    }
    QCOMPARE(list.selectionModel()->selectedRows().size(), 2);
  }

  void aboutNamesTheVersionAndTheLibrariesThatRun() {
    AboutWindow about;
    QCOMPARE(about.windowTitle(), QString("About Reelwright"));
    QStringList texts;
    for (QLabel* label : about.findChildren<QLabel*>()) texts << label->text();
    const QString all = texts.join('\n');
    QVERIFY(all.contains("Reelwright 1.32"));
    QVERIFY(all.contains("version 3 of the License, or (at your option) any later version"));
    // The versions built against are those the program runs with here.
    const QStringList libraries = LibraryVersions().split('\n');
    QCOMPARE(libraries.size(), 7);
    QVERIFY(libraries.contains(QString("Qt %1 (windows)").arg(qVersion())));
    QVERIFY(libraries.contains(QString("zlib %1 (archives)").arg(zlibVersion())));
  }

  void helpOpensAndThenClosesAndItsLinksLeadToPages() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    ToggleHelp(&window);
    QList<QWidget*> open = OpenHelpWindows();
    QCOMPARE(open.size(), 1);
    auto* help = qobject_cast<HelpWindow*>(open[0]);
    QVERIFY(help != nullptr);
    QCOMPARE(QAccessible::queryAccessibleInterface(help)->role(), QAccessible::Window);
    QCOMPARE(help->browser()->source().fileName(), QString("index.html"));
    QVERIFY(!help->browser()->documentTitle().isEmpty());
    ToggleHelp(&window);
    QVERIFY(OpenHelpWindows().isEmpty());
    ToggleHelp(&window);
    QCOMPARE(OpenHelpWindows().size(), 1);
    // F1 in the help window itself closes it, as its pages say.
    QWidget* shown = OpenHelpWindows().first();
    shown->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown));
    QTest::keyClick(shown, Qt::Key_F1);
    QVERIFY(OpenHelpWindows().isEmpty());

    // Every page is linked from another, and every link leads to a page.
    const QDir folder(HelpFolder());
    const QStringList pages = folder.entryList({"*.html"}, QDir::Files);
    const QRegularExpression link(R"(href="([^"#:]+)(#[^"]*)?")");
    QSet<QString> linked = {"index.html"};
    for (const QString& page : pages) {
      QFile file(folder.filePath(page));
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QString html = QString::fromUtf8(file.readAll());
      QVERIFY2(html.contains("<title>"), qPrintable(page));
      for (const QRegularExpressionMatch& match : link.globalMatch(html)) {
        QVERIFY2(pages.contains(match.captured(1)), qPrintable(page + ": " + match.captured(1)));
        linked.insert(match.captured(1));
      }
    }
    QCOMPARE(linked, QSet<QString>(pages.begin(), pages.end()));
  }
};

}  // namespace rw::app

QTEST_MAIN(rw::app::SmallWindowsTest)
#include "small_windows_test.moc"
