#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QHeaderView>
#include <QTest>
#include <filesystem>

#include "app/display_text.h"
#include "app/picture_window.h"
#include "app_fixture.h"
#include "demo/display_text.h"
#include "library/player_view.h"
#include "model/list_rules.h"
#include "support/test_files.h"
#include "support/zip_writer.h"

namespace rw::app {

namespace {

// A JPEG of one colour, made by Qt's own encoder.
std::string Jpeg(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(200, 40, 40));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG");
  return bytes.toStdString();
}

// Whether an icon shows nothing: every pixel transparent.
bool Blank(const QIcon& icon) {
  const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) != 0) return false;
    }
  }
  return true;
}

// An uncompressed true-colour Targa picture of one colour, rows from the top (descriptor bit 5).
std::string Targa(int width, int height) {
  std::string bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int value : {width, height}) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
  }
  bytes += static_cast<char>(24);
  bytes += static_cast<char>(0x20);
  for (int pixel = 0; pixel < width * height; ++pixel) bytes += std::string("\x20\xC0\x30", 3);
  return bytes;
}

// Types text as a keyboard of any layout does: one key a character, the character its text.
void Type(QWidget* widget, const QString& text) {
  for (const char32_t character : text.toUcs4()) {
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&character, 1),
                        Qt::NoModifier);
  }
}

}  // namespace

class PropertiesWindowTest : public QObject {
  Q_OBJECT

 private:
  // Selects the demo list's row of that name and presses Enter, as the user opens the window.
  static PropertiesWindow* OpenByEnter(MainWindow& window, const QString& name) {
    ListView& demos = *window.demoList();
    const int row = test::ColumnTexts(*demos.model(), 0).indexOf(name);
    if (row < 0) return nullptr;
    demos.selectRow(row);
    QTest::keyClick(&demos, Qt::Key_Return);
    return window.propertiesWindow();
  }

  static const ListRow& RowNamed(Session& session, const std::string& name) {
    for (const ListItem& item : session.demoList().rows()) {
      if (item.columns[kDemonameColumn] == name) return item.columns;
    }
    static const ListRow none;
    return none;
  }

 private slots:
  void tabsShowWhatTheCoreDerivesForFilesAndArchiveMembers() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    const QStringList names = test::ColumnTexts(*window.demoList()->model(), 0);
    // The files and the two members of demo_pack.zip.
    QCOMPARE(names.size(), 6);
    for (const QString& name : names) {
      PropertiesWindow* properties = OpenByEnter(window, name);
      QVERIFY(properties != nullptr);
      QVERIFY(properties->isVisible());
      QVERIFY(!app.session->appState().isBusy());
      const ListRow& row = RowNamed(*app.session, name.toStdString());
      const PropertiesView core = app.session->Properties(row, SourceList::kDemoList);
      app.session->appState().LowerBusy();

      QCOMPARE(properties->windowTitle(), "Properties of " + name);
      QStringList tabs;
      for (int tab = 0; tab < properties->tabs()->count(); ++tab) {
        tabs << properties->tabs()->tabText(tab);
      }
      QCOMPARE(tabs, QStringList({"General", "Server Detail", "Course", "User"}));
      const std::pair<const char*, const std::string*> values[] = {
          {"Name:", &core.general.name},
          {"Size:", &core.general.size},
          {"Play time:", &core.general.playtime},
          {"Recorded:", &core.general.recorded},
          {"Map:", &core.general.mapFile},
          {"Version:", &core.general.version},
          {"Game type:", &core.general.gameType},
          {"Mod:", &core.general.mod},
          {"Time limit:", &core.general.timeLimit},
          {"Frag limit:", &core.general.fragLimit},
          {"Capture limit:", &core.general.captureLimit},
          {"Final score:", &core.general.finalScore},
          {"Host name:", &core.serverDetail.hostName},
          {"Server id:", &core.serverDetail.serverId},
          {"Protocol:", &core.serverDetail.protocol},
          {"Pure server:", &core.serverDetail.pureServer},
          {"Cheats:", &core.serverDetail.cheats},
          {"Flood protection:", &core.serverDetail.floodProtection},
          {"Password needed:", &core.serverDetail.passwordNeeded},
          {"Private clients:", &core.serverDetail.privateClients},
          {"Max game clients:", &core.serverDetail.maxGameClients},
          {"Max clients:", &core.serverDetail.maxClients},
          {"Max rate:", &core.serverDetail.maxRate},
          {"Max ping:", &core.serverDetail.maxPing},
          {"Min ping:", &core.serverDetail.minPing}};
      for (const auto& [caption, text] : values) {
        QCOMPARE(properties->value(caption)->text(), FromText(*text));
      }
      QCOMPARE(properties->mapLongName()->accessibleName(), PlainText(core.general.mapLongName));

      // The players: plain for screen readers, drawn from the coded text, an icon by slot.
      QCOMPARE(properties->playerList()->count(), static_cast<int>(core.players.size()));
      for (size_t player = 0; player < core.players.size(); ++player) {
        const QListWidgetItem* item = properties->playerList()->item(static_cast<int>(player));
        QCOMPARE(item->text(), PlainText(core.players[player].text));
        QCOMPARE(item->data(ColoredCellDelegate::kCodedTextRole).toByteArray().toStdString(),
                 core.players[player].text);
        QCOMPARE(Blank(item->icon()), core.players[player].displaySlot == kNoPlayerIcon);
      }
      QCOMPARE(properties->courseList()->count(), static_cast<int>(core.course.size()));
      for (size_t line = 0; line < core.course.size(); line += 7) {
        QCOMPARE(properties->courseList()->item(static_cast<int>(line))->text(),
                 PlainText(core.course[line]));
      }
      // No notes yet: the sample.
      QVERIFY(core.user.sample);
      QCOMPARE(properties->userNotes()->pov()->accessibleName(), QString("Sample Player"));
      QCOMPARE(properties->userNotes()->rating()->text(), QString("666"));

      // The tool bar: playable demos can be played and put on the play list.
      QCOMPARE(properties->playAction()->isEnabled(), IsPlayable(row));
      QCOMPARE(properties->playlistAction()->isEnabled(), IsPlayable(row));
      QCOMPARE(properties->playlistAction()->toolTip(), QString("Add to Play List"));
      QVERIFY(!window.demoList()->dragEnabled());
    }
    // The file names of the test data: tdm.dm3 was recorded on q3dm7.
    QCOMPARE(OpenByEnter(window, "tdm.dm3")->value("Map:")->text(), QString("q3dm7.bsp"));
    window.propertiesWindow()->closeAction()->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.propertiesWindow() == nullptr);
    QVERIFY(window.demoList()->dragEnabled());
  }

  void aMapWithoutLevelShotShowsTheUnknownMapAtFullSizeOnClick() {
    test::AppFixture app;
    // The game's main archive holds only the unknown-map picture, 200 by 150 pixels.
    test::WriteBytes(app.game() + "/baseq3/pak0.pk3",
                     test::ZipBytes({{"menu/art/unknownmap.jpg", Jpeg(200, 150)}}));
    MainWindow& window = app.Start();
    app.ListDemos();
    for (const QString name : {"tdm.dm3", "duel.dm_48"}) {
      PropertiesWindow* properties = OpenByEnter(window, name);
      QVERIFY(properties != nullptr);
      const QPixmap shot = properties->levelShot()->pixmap();
      QVERIFY(!shot.isNull());
      // Fitted into the frame of 128 pixels.
      QCOMPARE(shot.width(), 128);
      QCOMPARE(shot.height(), 96);
      QCOMPARE(shot.toImage().pixelColor(64, 48).red() > 150, true);
    }
    // Larger than the frame: a click shows it at its own size, 12 pixels added.
    QTest::mouseClick(window.propertiesWindow()->levelShot(), Qt::LeftButton);
    auto* full = window.propertiesWindow()->findChild<PictureWindow*>();
    QVERIFY(full != nullptr);
    QVERIFY(full->isVisible());
    QCOMPARE(full->size(), QSize(212, 162));
    QTest::keyClick(full, Qt::Key_Escape);
    QVERIFY(!full->isVisible());
  }

  void theEditorSavesARatingAndTwoLinesAndTheRowShowsThem() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    PropertiesWindow* properties = OpenByEnter(window, "sample_tdm.dm3");
    QVERIFY(properties != nullptr);
    properties->userDataAction()->trigger();
    UserDataWindow* editor = window.userDataWindow();
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->windowTitle(), QString("Edit User Data of sample_tdm.dm3"));
    QCOMPARE(editor->pov()->itemText(0), QString("<<NO POV ENTRY>>"));
    QVERIFY(!editor->applyButton()->isEnabled());
    editor->rating()->selectAll();
    QTest::keyClicks(editor->rating(), "7");
    QVERIFY(editor->applyButton()->isEnabled());
    QTest::keyClicks(editor->description(), "first line");
    QTest::keyClick(editor->description(), Qt::Key_Return);
    QTest::keyClicks(editor->description(), "second");
    // A text without a known prefix is grey.
    QTest::keyClicks(editor->web()->lineEdit(), "somewhere");
    QCOMPARE(editor->web()->lineEdit()->palette().color(QPalette::Text), QColor(128, 128, 128));
    editor->web()->lineEdit()->clear();
    editor->applyButton()->click();
    QVERIFY(!editor->applyButton()->isEnabled());

    // EMPTY, the rating, EMPTY, the two lines; each line ended by CR LF.
    const std::string notes = app.home() + "/RWT Data/Demos/sample_tdm.dm3.description";
    QCOMPARE(test::ReadBytes(notes), std::string("\x01\r\n7\r\n\x01\r\nfirst line\r\nsecond\r\n"));
    const QAbstractItemModel& rows = *window.demoList()->model();
    const int row = test::ColumnTexts(rows, 0).indexOf("sample_tdm.dm3");
    QCOMPARE(rows.index(row, kRatingColumn).data().toString(), QString("7"));
    QCOMPARE(rows.index(row, kDescriptionColumn).data().toString(), QString("first line"));
    // The open properties window shows the notes instead of the sample.
    QCOMPARE(properties->userNotes()->rating()->text(), QString("7"));
    QCOMPARE(properties->userNotes()->description()->text(), QString("first line\nsecond"));

    // Ctrl+E's command on another row refills the same editor.
    properties->close();
    window.demoList()->selectRow(test::ColumnTexts(rows, 0).indexOf("duel.dm_48"));
    window.EditUserData(ListKind::kDemoList);
    QCOMPARE(window.userDataWindow(), editor);
    QCOMPARE(editor->windowTitle(), QString("Edit User Data of duel.dm_48"));
    QCOMPARE(editor->rating()->text(), QString("0"));
    QVERIFY(editor->pov()->count() > 1);

    // A click on a row's "Rating" cell selects the row and refills the editor with its notes.
    ListView& demos = *window.demoList();
    demos.horizontalHeader()->showSection(kRatingColumn);
    demos.horizontalHeader()->resizeSection(kRatingColumn, 60);
    const int tdm = test::ColumnTexts(rows, 0).indexOf("sample_tdm.dm3");
    demos.scrollTo(rows.index(tdm, kRatingColumn));
    QTest::mouseClick(demos.viewport(), Qt::LeftButton, {},
                      demos.visualRect(rows.index(tdm, kRatingColumn)).center());
    QCOMPARE(editor->windowTitle(), QString("Edit User Data of sample_tdm.dm3"));
    QCOMPARE(editor->rating()->text(), QString("7"));
    QCOMPARE(demos.selectionModel()->selectedRows().size(), 1);
    QCOMPARE(demos.selectionModel()->selectedRows()[0].row(), tdm);

    // Cancel closes without saving; OK saves and closes. The selection is counted once.
    const QString selectedLine = window.statusPanel(1)->text();
    QVERIFY(selectedLine.startsWith("1 item(s) selected."));
    editor->rating()->selectAll();
    QTest::keyClicks(editor->rating(), "2");
    editor->cancelButton()->click();
    QVERIFY(!editor->isVisible());
    QCOMPARE(test::ReadBytes(notes), std::string("\x01\r\n7\r\n\x01\r\nfirst line\r\nsecond\r\n"));
    QCOMPARE(rows.index(tdm, kRatingColumn).data().toString(), QString("7"));
    window.EditUserData(ListKind::kDemoList);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->rating()->text(), QString("7"));
    editor->rating()->selectAll();
    QTest::keyClicks(editor->rating(), "3");
    editor->okButton()->click();
    QVERIFY(!editor->isVisible());
    QCOMPARE(test::ReadBytes(notes), std::string("\x01\r\n3\r\n\x01\r\nfirst line\r\nsecond\r\n"));
    QCOMPARE(rows.index(tdm, kRatingColumn).data().toString(), QString("3"));
    QCOMPARE(window.statusPanel(1)->text(), selectedLine);
    // The keyboard goes on from the row whose notes were saved.
    QCOMPARE(demos.currentIndex().row(), tdm);
  }

  // Notes keep every letter typed (old Windows-1252 files stay as they were, see the note
  // command's tests); the point of view is picked with the keys; screen readers meet a window.
  void theEditorKeepsEveryLetterAndIsUsedFromTheKeyboard() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    const QAbstractItemModel& rows = *window.demoList()->model();
    const int tdm = test::RowNamed(rows, "tdm.dm3");
    window.demoList()->selectRow(tdm);
    window.EditUserData(ListKind::kDemoList);
    UserDataWindow* editor = window.userDataWindow();
    QVERIFY(editor != nullptr);
    QCOMPARE(QAccessible::queryAccessibleInterface(editor)->role(), QAccessible::Window);
    editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(editor));

    // No point of view shows its entry; Down takes the first player, the opened list the next.
    ColoredComboBox& pov = *editor->pov();
    QCOMPARE(pov.currentText(), QString("<<NO POV ENTRY>>"));
    pov.setFocus();
    QTest::keyClick(&pov, Qt::Key_Down);
    QCOMPARE(pov.currentIndex(), 1);
    QVERIFY(editor->applyButton()->isEnabled());
    QTest::keyClick(&pov, Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(pov.view()->isVisible());
    QTest::keyClick(pov.view(), Qt::Key_Down);
    QTest::keyClick(pov.view(), Qt::Key_Return);
    QTRY_VERIFY(!pov.view()->isVisible());
    QCOMPARE(pov.currentIndex(), 2);
    // The name as the demo gives it, colour codes and all.
    const std::string chosen =
        FromText(pov.itemData(2, ColoredCellDelegate::kCodedTextRole).toByteArray().toStdString())
            .toStdString();

    // "Great final — Привет, naïve €" and "決勝 🎮", typed.
    const QString first = QString::fromUtf8(
        "Great final \xe2\x80\x94 \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82, na\xc3\xafve "
        "\xe2\x82\xac");
    const QString second = QString::fromUtf8("\xe6\xb1\xba\xe5\x8b\x9d \xf0\x9f\x8e\xae");
    Type(editor->description(), first);
    QTest::keyClick(editor->description(), Qt::Key_Return);
    Type(editor->description(), second);
    QCOMPARE(editor->description()->toPlainText(), first + "\n" + second);
    editor->okButton()->click();
    QVERIFY(!editor->isVisible());
    const std::string notes = app.home() + "/RWT Data/Demos/tdm.dm3.description";
    QCOMPARE(test::ReadBytes(notes), "\xef\xbb\xbf" + chosen + "\r\n\x01\r\n\x01\r\n" +
                                         first.toStdString() + "\r\n" + second.toStdString() +
                                         "\r\n");
    QCOMPARE(rows.index(tdm, kDescriptionColumn).data().toString(), first);
    QCOMPARE(rows.index(tdm, kPovColumn).data().toString().toStdString(),
             StripColors(chosen, TextForm::kUtf8));

    // Read again, the same.
    window.EditUserData(ListKind::kDemoList);
    QCOMPARE(editor->description()->toPlainText(), first + "\n" + second);
    QCOMPARE(editor->pov()->currentIndex(), 2);
  }

  void thePlayerWindowSavesAndReloadsADescription() {
    test::AppFixture app;
    // No archive holds the players' icons: the head falls back to the game's own picture.
    test::WriteBytes(app.game() + "/baseq3/pak0.pk3",
                     test::ZipBytes({{"gfx/2d/defer.tga", Targa(16, 16)}}));
    MainWindow& window = app.Start();
    app.ListDemos();
    PropertiesWindow* properties = OpenByEnter(window, "tdm.dm3");
    QVERIFY(properties != nullptr);
    QListWidget& players = *properties->playerList();
    QVERIFY(players.count() >= 2);
    const auto click = [&](int row) {
      QTest::mouseClick(players.viewport(), Qt::LeftButton, {},
                        players.visualItemRect(players.item(row)).center());
    };
    click(0);
    PlayerWindow* player = properties->playerWindow();
    QVERIFY(player != nullptr);
    QVERIFY(player->isVisible());
    QCOMPARE(QAccessible::queryAccessibleInterface(player)->role(), QAccessible::Window);
    const std::optional<PlayerView> core = app.session->DescribePlayer(0);
    QVERIFY(core);
    QCOMPARE(player->windowTitle(), FromText(core->caption));
    QCOMPARE(player->nameBox()->accessibleName(), PlainText(core->name));
    QCOMPARE(player->value("Class:")->text(), FromText(core->playerClass));
    QCOMPARE(player->value("Score:")->text(), FromText(core->score));
    // Protocol 43 has no awards: their rows are hidden.
    QVERIFY(player->value("Accuracy:")->isHidden());
    QVERIFY(core->archive.empty());
    const QImage head = player->headPicture()->pixmap().toImage();
    QCOMPARE(head.size(), QSize(64, 64));
    QCOMPARE(head.pixelColor(32, 32), QColor(0x30, 0xC0, 0x20));

    QTest::keyClicks(player->description(), "aims well");
    QVERIFY(player->applyButton()->isEnabled());
    player->applyButton()->click();
    const std::string file =
        app.home() + "/RWT Data/Players/" + SafeFileName(core->name) + ".description";
    QCOMPARE(test::ReadBytes(file), std::string("aims well\r\n"));
    // Another player, then the first again: the description comes back from its file.
    click(1);
    QCOMPARE(player->description()->toPlainText(), QString());
    click(0);
    QCOMPARE(player->description()->toPlainText(), QString("aims well"));
    // Saved empty, the file goes.
    player->description()->clear();
    player->applyButton()->click();
    QVERIFY(!std::filesystem::exists(file));
  }

  void theEnterThatEndsARenameOpensNothing() {
    test::AppFixture app;
    app.AllowWriting();
    MainWindow& window = app.Start();
    app.ListDemos();
    ListView& demos = *window.demoList();
    const QModelIndex first = demos.model()->index(0, 0);
    demos.setCurrentIndex(first);
    demos.edit(first);
    QWidget* editor = demos.indexWidget(first);
    QVERIFY(editor != nullptr);
    editor->setFocus();
    QTest::keyClicks(editor, "final");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QVERIFY(window.propertiesWindow() == nullptr);
    QVERIFY(std::filesystem::exists(app.demos() + "/final.dm3"));
  }

  void aDemoOfProtocol68ShowsItsServerPlayersCourseAndLevelShot() {
    test::AppFixture app;
    std::filesystem::copy_file(test::TestDataPath("demos/newer/udt_baseq3_team_chat.dm_68"),
                               app.demos() + "/chat.dm_68");
    // q3dm7 is one of the game's own maps: its level shot comes from pak0.pk3.
    test::WriteBytes(app.game() + "/baseq3/pak0.pk3",
                     test::ZipBytes({{"levelshots/q3dm7.jpg", Jpeg(128, 128)}}));
    MainWindow& window = app.Start();
    app.ListDemos();
    const int row = test::RowNamed(*window.demoList()->model(), "chat.dm_68");
    QVERIFY(row >= 0);
    const QIcon later =
        window.demoList()->model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>();
    const int plain = test::RowNamed(*window.demoList()->model(), "duel.dm_48");
    const QIcon old =
        window.demoList()->model()->index(plain, 0).data(Qt::DecorationRole).value<QIcon>();
    QVERIFY(later.pixmap(16, 16).toImage() != old.pixmap(16, 16).toImage());

    PropertiesWindow* properties = OpenByEnter(window, "chat.dm_68");
    QVERIFY(properties != nullptr);
    // From the demo's first game state and its last snapshot (9904 to 40330 ms).
    const std::pair<const char*, const char*> values[] = {
        {"Map:", "q3dm7.bsp"},       {"Game type:", "Team Deathmatch"},
        {"Mod:", "Quake III Arena"}, {"Play time:", "00:00:30"},
        {"Time limit:", "20"},       {"Host name:", "noname"},
        {"Protocol:", "68"},         {"Version:", "Q3 1.32 win-x86 Oct  7 2002"},
        {"Final score:", "0:-1"},    {"Max clients:", "8"}};
    for (const auto& [caption, text] : values) {
      QCOMPARE(properties->value(caption)->text(), QString(text));
    }
    QCOMPARE(properties->mapLongName()->accessibleName(), QString("Temple of Retribution"));
    QStringList players;
    for (int i = 0; i < properties->playerList()->count(); ++i) {
      players << properties->playerList()->item(i)->text();
    }
    players.sort();
    QCOMPARE(players, QStringList({"Grunt", "Grunt", "Sarge", "sausage"}));
    const QListWidget& course = *properties->courseList();
    QVERIFY(course.count() >= 7);
    QCOMPARE(course.item(0)->text(), QString("00:00:00 Demo start."));
    QVERIFY(course.item(1)->text().contains("(Mega Health Room)"));
    QVERIFY(course.item(1)->text().endsWith(": a"));
    QCOMPARE(course.item(course.count() - 1)->text(), QString("00:00:30 Demo end."));
    const QImage shot = properties->levelShot()->pixmap().toImage();
    QCOMPARE(shot.size(), QSize(128, 128));
    QVERIFY(shot.pixelColor(64, 64).red() > 150);
    QVERIFY(properties->playAction()->isEnabled());
    QVERIFY(properties->playlistAction()->isEnabled());
  }

  void thePlaylistButtonAddsTheDemoAndTakesItOffAgain() {
    test::AppFixture app;
    MainWindow& window = app.Start();
    app.ListDemos();
    window.SetPlayListVisible(false);
    PropertiesWindow* properties = OpenByEnter(window, "duel.dm_48");
    QVERIFY(properties != nullptr);
    properties->playlistAction()->trigger();
    QVERIFY(window.playList()->isVisible());
    QCOMPARE(test::ColumnTexts(*window.playList()->model(), 0), QStringList({"duel.dm_48"}));
    QCOMPARE(window.playList()->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(window.statusPanel(2)->text(),
             QString("1 item(s) selected. 1.27 MB. Playtime: 00:15:17."));
    QCOMPARE(properties->playlistAction()->toolTip(), QString("Remove from Play List"));
    properties->playlistAction()->trigger();
    QCOMPARE(window.playList()->model()->rowCount(), 0);
    QCOMPARE(window.statusPanel(2)->text(),
             QString("0 item(s) selected. 0.00 KB. Playtime: 00:00:00."));
    QCOMPARE(properties->playlistAction()->toolTip(), QString("Add to Play List"));
  }
};

}  // namespace rw::app

QTEST_MAIN(rw::app::PropertiesWindowTest)
#include "properties_window_test.moc"
