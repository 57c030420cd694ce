#include <QActionGroup>
#include <QHeaderView>
#include <QMenuBar>
#include <QToolButton>

#include "app/about_window.h"
#include "app/colour_reference.h"
#include "app/command_pictures.h"
#include "app/control_keys_window.h"
#include "app/display_text.h"
#include "app/global_parameters_window.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/user_data_commands.h"
#include "model/list_rules.h"

namespace rw::app {

namespace {

constexpr const char* kMenu1 = "sound\\misc\\menu1.wav";
constexpr const char* kMenu4 = "sound\\misc\\menu4.wav";

QAction* AddEntry(QMenu* menu, const QString& caption, const char* picture = nullptr,
                  const QKeySequence& shortcut = {}) {
  QAction* action = menu->addAction(caption);
  if (picture != nullptr) action->setIcon(CommandPicture(picture));
  action->setShortcut(shortcut);
  return action;
}

QAction* AddCheck(QMenu* menu, const QString& caption) {
  QAction* action = menu->addAction(caption);
  action->setCheckable(true);
  return action;
}

// A key of a pop-up menu acts while its view has the keyboard focus.
void KeyOfView(QAction* action, QWidget* view) {
  action->setShortcutContext(Qt::WidgetShortcut);
  view->addAction(action);
}

// A menu's entries follow the rules while it is open; once it closes their keys work again,
// and each command checks the rules itself, saying in the status bar what it refuses.
void EnableKeysWhenClosed(QMenu* menu, std::initializer_list<QAction*> entries) {
  const std::vector<QAction*> keys(entries);
  QObject::connect(menu, &QMenu::aboutToHide, menu, [keys] {
    for (QAction* entry : keys) {
      if (entry != nullptr) entry->setEnabled(true);
    }
  });
}

// The blank 20-pixel gap between groups of buttons, in either orientation.
void AddGap(QToolBar* bar) {
  auto* gap = new QWidget(bar);
  gap->setFixedSize(20, 20);
  bar->addWidget(gap);
}

Qt::ToolBarArea AreaOfDockPosition(int32_t position) {
  switch (position) {
    case 1:
      return Qt::RightToolBarArea;
    case 2:
      return Qt::BottomToolBarArea;
    case 3:
      return Qt::LeftToolBarArea;
    default:
      return Qt::TopToolBarArea;
  }
}

}  // namespace

void MainWindow::BuildCommands() {
  BuildMainMenu();
  BuildCommandBar();
  BuildListMenu(ListKind::kDemoList);
  BuildListMenu(ListKind::kPlayList);
  BuildTreeMenu();
  ShowToggles();
  EnableCommandBar();
}

void MainWindow::BuildMainMenu() {
  Entries& e = entries_;
  QMenu* play = menuBar()->addMenu(QStringLiteral("&Demo Play"));
  e.playCurrentList = AddEntry(play, QStringLiteral("Play current Playlist"), "play-list",
                               QKeySequence(Qt::CTRL | Qt::Key_P));
  connect(e.playCurrentList, &QAction::triggered, this, [this] { PlayCurrentList(false); });
  e.playCurrentListAndExit =
      AddEntry(play, QStringLiteral("Play current Playlist && Exit Reelwright"),
               "play-list-and-exit", QKeySequence(Qt::CTRL | Qt::Key_Q));
  connect(e.playCurrentListAndExit, &QAction::triggered, this, [this] { PlayCurrentList(true); });
  connect(AddEntry(play, QStringLiteral("Load Playlist.."), "load-play-list",
                   QKeySequence(Qt::CTRL | Qt::Key_L)),
          &QAction::triggered, this, &MainWindow::AskLoadPlayList);
  e.savePlayList = AddEntry(play, QStringLiteral("Save Playlist.."), "save-play-list",
                            QKeySequence(Qt::CTRL | Qt::Key_S));
  connect(e.savePlayList, &QAction::triggered, this, &MainWindow::AskSavePlayList);
  connect(AddEntry(play, QStringLiteral("Exit"), "exit"), &QAction::triggered, this,
          &QWidget::close);
  connect(play, &QMenu::aboutToShow, this, &MainWindow::EnableDemoPlayMenu);
  EnableKeysWhenClosed(play, {e.playCurrentList, e.playCurrentListAndExit, e.savePlayList});

  Settings& settings = session_.settings();
  QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
  e.noSplash = AddCheck(options, QStringLiteral("No Splash Screen"));
  connect(e.noSplash, &QAction::triggered, this,
          [this, &settings] { Toggle(settings.global.no_splash); });
  e.noHints = AddCheck(options, QStringLiteral("No more Hints at my Cursor"));
  connect(e.noHints, &QAction::triggered, this,
          [this, &settings] { Toggle(settings.global.no_hints); });
  e.modDemos = AddCheck(options, QStringLiteral("Play Demos as Mod Demos"));
  connect(e.modDemos, &QAction::triggered, this,
          [this, &settings] { Toggle(settings.demos.mod_demos); });
  e.showPlayList = AddCheck(options, QStringLiteral("Show Playlist"));
  connect(e.showPlayList, &QAction::triggered, this, [this](bool shown) {
    SetPlayListVisible(shown);
    ShowToggles();
  });
  e.timeDemo = AddCheck(options, QStringLiteral("Hardware Stress Test (Timedemo)"));
  connect(e.timeDemo, &QAction::triggered, this,
          [this, &settings] { Toggle(settings.demos.time_demos); });
  e.loopDemos = AddCheck(options, QStringLiteral("Loop Demos"));
  connect(e.loopDemos, &QAction::triggered, this,
          [this, &settings] { Toggle(settings.demos.loop_demos); });
  soundOptionsEntry_ = AddEntry(options, QStringLiteral("Sound Options.."), "sound-options");
  connect(soundOptionsEntry_, &QAction::triggered, this, &MainWindow::ShowSoundOptions);

  QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
  controlKeysEntry_ =
      AddEntry(tools, QStringLiteral("Demo Playback Control Keys.."), "control-keys");
  connect(controlKeysEntry_, &QAction::triggered, this,
          [this] { EditControlKeys(session_, this); });
  globalParametersEntry_ =
      AddEntry(tools, QStringLiteral("Global Command Line Parameters.."), "global-parameters");
  connect(globalParametersEntry_, &QAction::triggered, this,
          [this] { EditGlobalParameters(session_, this); });
  connect(AddEntry(tools, QStringLiteral("Find Demos.."), nullptr,
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)),
          &QAction::triggered, this, &MainWindow::ShowFindDemos);
  // Ctrl+F goes to the filter box from anywhere in the window.
  auto* filter = new QAction(QStringLiteral("Filter Demo List"), this);
  filter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  connect(filter, &QAction::triggered, this, [this] {
    filterBox_->setFocus(Qt::ShortcutFocusReason);
    filterBox_->selectAll();
  });
  addAction(filter);
  e.readOnly = AddCheck(tools, QStringLiteral("Work in Read Only Mode"));
  connect(e.readOnly, &QAction::triggered, this, [this](bool on) { SetReadOnly(on); });
  QMenu* versions = tools->addMenu(QStringLiteral("Active Q3A version"));
  e.versionNew = AddCheck(versions, QStringLiteral("Q3A version is now 1.27"));
  e.versionOld = AddCheck(versions, QStringLiteral("Q3A version is now 1.17"));
  e.restoreNew = AddCheck(versions, QStringLiteral("Restore version 1.27 on Exit"));
  e.restoreOld = AddCheck(versions, QStringLiteral("Restore version 1.17 on Exit"));
  for (const bool newItem : {true, false}) {
    connect(newItem ? e.versionNew : e.versionOld, &QAction::triggered, this, [this, newItem] {
      session_.ChooseVersion(newItem);
      EnableToolsMenu();
    });
    connect(newItem ? e.restoreNew : e.restoreOld, &QAction::triggered, this, [this, newItem] {
      session_.SetRestoreVersion(newItem);
      EnableToolsMenu();
    });
  }
  connect(tools, &QMenu::aboutToShow, this, &MainWindow::EnableToolsMenu);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  helpEntry_ = AddEntry(help, QStringLiteral("&Help"), "help", QKeySequence(Qt::Key_F1));
  connect(helpEntry_, &QAction::triggered, this, [this] {
    PlayButtonSound(kMenu1);
    ToggleHelp(this);
  });
  connect(AddEntry(help, QStringLiteral("Tip of the Day"), "tip-of-the-day"), &QAction::triggered,
          this, &MainWindow::ShowTip);
  connect(AddEntry(help, QStringLiteral("&About")), &QAction::triggered, this, [this] {
    // The game's own sounds, in the model sound slot: one as the About window opens, Slash's
    // taunt as it closes.
    session_.sound().PlayModelSound(session_.paths().baseArchive, "sound\\misc\\nightmare.wav");
    ShowAbout(this);
    session_.sound().PlayModelSound(session_.paths().baseArchive,
                                    "sound\\player\\slash\\taunt.wav");
  });
}

void MainWindow::BuildCommandBar() {
  Entries& e = entries_;
  commandBar_ = new QToolBar(QStringLiteral("Reelwright Command Bar"), this);
  commandBar_->setObjectName(QStringLiteral("commandBar"));
  commandBar_->setIconSize(QSize(22, 22));
  commandBar_->setFloatable(true);
  commandBar_->setMovable(true);
  addToolBar(AreaOfDockPosition(session_.settings().global.toolbar_dockpos), commandBar_);
  // The button that shows what does not fit the bar is a toggle; screen readers name it too.
  if (auto* more = commandBar_->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
    more->setAccessibleName(QStringLiteral("More commands"));
    more->setToolTip(QStringLiteral("More commands"));
  }

  // Each button clicks before its action runs; the hint is also the accessible name.
  const auto button = [this](const QString& hint, const char* picture, const char* sound,
                             const std::function<void()>& action) {
    QAction* added =
        commandBar_->addAction(CommandPicture(picture), QString(hint).replace('&', "&&"));
    added->setToolTip(hint);
    connect(added, &QAction::triggered, this, [this, sound, action] {
      if (sound != nullptr) PlayButtonSound(sound);
      action();
    });
    return added;
  };
  button(QStringLiteral("Load Play List"), "load-play-list", kMenu1, [this] { AskLoadPlayList(); });
  e.saveButton = button(QStringLiteral("Save Play List"), "save-play-list", kMenu1,
                        [this] { AskSavePlayList(); });
  AddGap(commandBar_);
  // "Play it" clicks in PlayIt itself, as the pop-up entries do.
  e.playItButton = button(QStringLiteral("Play it"), "play-it", nullptr,
                          [this] { PlayIt(ListKind::kDemoList); });
  e.playListButton = button(QStringLiteral("Play Current List"), "play-list", nullptr,
                            [this] { PlayCurrentList(false); });
  e.playListExitButton = button(QStringLiteral("Play Current List & exit"), "play-list-and-exit",
                                nullptr, [this] { PlayCurrentList(true); });
  AddGap(commandBar_);
  button(QStringLiteral("Sound Options"), "sound-options", kMenu1,
         [this] { soundOptionsEntry_->trigger(); });
  button(QStringLiteral("Demo playback control keys"), "control-keys", kMenu1,
         [this] { controlKeysEntry_->trigger(); });
  button(QStringLiteral("Global command line parameters"), "global-parameters", kMenu1,
         [this] { globalParametersEntry_->trigger(); });
  AddGap(commandBar_);
  button(QStringLiteral("Help"), "help", nullptr, [this] { helpEntry_->trigger(); });
  button(QStringLiteral("Tip of the day"), "tip-of-the-day", kMenu1, [this] { ShowTip(); });
  AddGap(commandBar_);
  e.demoColumnsButton = button(QStringLiteral("Choose demolist columns"), "choose-columns", kMenu1,
                               [this] { ChooseColumns(ListKind::kDemoList); });
  commandBar_->addSeparator();
  e.playColumnsButton = button(QStringLiteral("Choose playlist columns"), "choose-columns", kMenu1,
                               [this] { ChooseColumns(ListKind::kPlayList); });
  AddGap(commandBar_);
  Settings& settings = session_.settings();
  e.readOnlyButton = button({}, "read-only-off", kMenu4,
                            [this, &settings] { SetReadOnly(!settings.global.work_readonly); });
  AddGap(commandBar_);
  e.timeDemoButton =
      button({}, "timedemo-off", kMenu4, [this, &settings] { Toggle(settings.demos.time_demos); });
  e.loopButton =
      button({}, "loop-off", kMenu4, [this, &settings] { Toggle(settings.demos.loop_demos); });
  AddGap(commandBar_);
  e.playListShownButton = button({}, "play-list-shown", kMenu1, [this] {
    SetPlayListVisible(playPane_->isHidden());
    ShowToggles();
  });
  e.playListShownButton->setCheckable(true);
  ShowListColour(ListKind::kDemoList);
  ShowListColour(ListKind::kPlayList);
}

void MainWindow::ShowListColour(ListKind list) {
  const int32_t colour = SettingsOf(list).Color;
  SetBackground(ViewOf(list), colour);
  // The column button wears its list's colour.
  QAction* button =
      list == ListKind::kDemoList ? entries_.demoColumnsButton : entries_.playColumnsButton;
  commandBar_->widgetForAction(button)->setStyleSheet(
      QStringLiteral("QToolButton { background-color: %1; }").arg(ColorOf(colour).name()));
}

void MainWindow::BuildListMenu(ListKind list) {
  const bool demos = list == ListKind::kDemoList;
  ListView& view = ViewOf(list);
  ListEntries& e = listEntries_[demos ? 0 : 1];
  auto* menu = new QMenu(this);
  (demos ? demoListMenu_ : playListMenu_) = menu;
  e.playIt = AddEntry(menu, QStringLiteral("Play it"), "play-it");
  connect(e.playIt, &QAction::triggered, this, [this, list] { PlayIt(list); });
  if (demos) {
    e.moveOrRemove = AddEntry(menu, QStringLiteral("Move to Playlist"), "move-to-play-list");
    connect(e.moveOrRemove, &QAction::triggered, this, &MainWindow::MoveToPlayList);
    e.deleteFiles =
        AddEntry(menu, QStringLiteral("Delete.."), "delete", QKeySequence(Qt::Key_Delete));
    connect(e.deleteFiles, &QAction::triggered, this, &MainWindow::DeleteDemos);
    KeyOfView(e.deleteFiles, &view);
    e.rename = AddEntry(menu, QStringLiteral("Rename"), "rename", QKeySequence(Qt::Key_F2));
    connect(e.rename, &QAction::triggered, this, [this, &view] { RenameRow(view); });
    KeyOfView(e.rename, &view);
    e.editUserData = AddEntry(menu, QStringLiteral("Edit Userdata.."), "edit-user-data",
                              QKeySequence(Qt::CTRL | Qt::Key_E));
    KeyOfView(e.editUserData, &view);
    QMenu* expert = menu->addMenu(QStringLiteral("Expert"));
    e.setWebLocation =
        AddEntry(expert, QStringLiteral("Set the same Web Location for selected demos"));
    e.clearUserData =
        AddEntry(expert, QStringLiteral("Clear complete User Data for selected demos"));
  } else {
    e.moveOrRemove = AddEntry(menu, QStringLiteral("Remove from Playlist"), "remove-from-play-list",
                              QKeySequence(Qt::Key_Delete));
    connect(e.moveOrRemove, &QAction::triggered, this, &MainWindow::RemoveFromPlayList);
    KeyOfView(e.moveOrRemove, &view);
    e.editUserData = AddEntry(menu, QStringLiteral("Edit Userdata.."), "edit-user-data");
  }
  e.selectAll =
      AddEntry(menu, QStringLiteral("Select all"), nullptr, QKeySequence(Qt::CTRL | Qt::Key_A));
  connect(e.selectAll, &QAction::triggered, &view, &QAbstractItemView::selectAll);
  KeyOfView(e.selectAll, &view);
  e.properties = AddEntry(menu, QStringLiteral("Properties.."));
  connect(e.properties, &QAction::triggered, this, [this, list] { ShowProperties(list); });
  connect(e.editUserData, &QAction::triggered, this, [this, list] { EditUserData(list); });
  menu->setDefaultAction(e.properties);

  QMenu* style = menu->addMenu(QStringLiteral("View Style"));
  connect(AddEntry(style, QStringLiteral("Set Background Color.."), "background-colour"),
          &QAction::triggered, this, [this, list] { ChooseListColour(list); });
  connect(AddEntry(style, QStringLiteral("Choose Columns.."), "choose-columns"),
          &QAction::triggered, this, [this, list] { ChooseColumns(list); });
  connect(AddEntry(style, QStringLiteral("Save Columns Scheme"), "save-play-list"),
          &QAction::triggered, this, [this, list] { SaveColumnScheme(list); });
  connect(AddEntry(style, QStringLiteral("Load Columns Scheme"), "load-play-list"),
          &QAction::triggered, this, [this, list] { LoadColumnScheme(list); });
  // What a click on a header does, for the keyboard: the columns shown, the sort column
  // checked; choosing it again reverses the order.
  QMenu* sortBy = style->addMenu(QStringLiteral("Sort by"));
  connect(sortBy, &QMenu::aboutToShow, this, [this, list, sortBy] {
    sortBy->clear();
    ListView& shown = ViewOf(list);
    const QHeaderView& header = *shown.horizontalHeader();
    ColumnLayout& layout = SettingsOf(list).columns;
    for (int visual = 0; visual < header.count(); ++visual) {
      const int column = header.logicalIndex(visual);
      if (header.isSectionHidden(column)) continue;
      QAction* entry =
          AddCheck(sortBy, header.model()->headerData(column, Qt::Horizontal).toString());
      entry->setChecked(column == layout.sortColumn);
      connect(entry, &QAction::triggered, this,
              [this, &shown, &layout, column] { SortBy(shown, layout, column); });
    }
  });
  style->addSeparator();
  ListSettings& settings = SettingsOf(list);
  e.gridLines = AddCheck(style, QStringLiteral("Grid Lines"));
  e.fullRowSelect = AddCheck(style, QStringLiteral("Full Row Select"));
  e.highlightItems = AddCheck(style, QStringLiteral("Highlight Items"));
  for (auto [entry, setting] : {std::pair{e.gridLines, &settings.GridStyle},
                                {e.fullRowSelect, &settings.FullRowSelect},
                                {e.highlightItems, &settings.AutoActivateItems}}) {
    connect(entry, &QAction::triggered, this, [this, list, setting](bool on) {
      *setting = on;
      ApplyListStyles(list);
    });
  }
  style->addSeparator();
  auto* styles = new QActionGroup(style);
  const QString names[4] = {QStringLiteral("Big Icons"), QStringLiteral("Small Icons"),
                            QStringLiteral("List"), QStringLiteral("Details")};
  for (int viewStyle = 0; viewStyle < 4; ++viewStyle) {
    e.viewStyles[viewStyle] = AddCheck(style, names[viewStyle]);
    styles->addAction(e.viewStyles[viewStyle]);
    connect(e.viewStyles[viewStyle], &QAction::triggered, this,
            [this, list, viewStyle] { SetViewStyle(list, viewStyle); });
  }

  menu->addSeparator();
  QAction* refresh = AddEntry(menu, QStringLiteral("Refresh List"), nullptr, Qt::Key_F5);
  KeyOfView(refresh, &view);
  if (demos) {
    connect(refresh, &QAction::triggered, this, [this] { RefreshList(false); });
    QAction* reparse = AddEntry(menu, QStringLiteral("Reparse List"), nullptr, Qt::Key_F6);
    KeyOfView(reparse, &view);
    connect(reparse, &QAction::triggered, this, [this] { RefreshList(true); });
  } else {
    // The play list's rows are not read again.
    connect(refresh, &QAction::triggered, view.viewport(), qOverload<>(&QWidget::update));
  }

  for (QAction* key : view.actions()) view.iconView()->addAction(key);
  connect(menu, &QMenu::aboutToShow, this, [this, list] { EnableListMenu(list); });
  EnableKeysWhenClosed(menu, {e.playIt, e.moveOrRemove, e.deleteFiles, e.rename, e.editUserData,
                              e.setWebLocation, e.clearUserData, e.selectAll, e.properties});
  view.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&view, &QWidget::customContextMenuRequested, this,
          [this, &view, menu](QPoint at) { menu->popup(view.viewport()->mapToGlobal(at)); });
  ApplyListStyles(list);
}

void MainWindow::BuildTreeMenu() {
  Entries& e = entries_;
  treeMenu_ = new QMenu(this);
  QMenu* menu = treeMenu_;
  e.newFolder = AddEntry(menu, QStringLiteral("New Folder"), "new-folder",
                         QKeySequence(Qt::CTRL | Qt::Key_N));
  connect(e.newFolder, &QAction::triggered, this, &MainWindow::NewFolder);
  QAction* remove = AddEntry(menu, QStringLiteral("Remove Folder"), "remove-folder",
                             QKeySequence(Qt::Key_Delete));
  connect(remove, &QAction::triggered, this, &MainWindow::RemoveFolder);
  e.removeFolderFromDisk = AddEntry(menu, QStringLiteral("Remove Folder from HD.."),
                                    "remove-folder-from-disk", QKeySequence(Qt::CTRL | Qt::Key_X));
  connect(e.removeFolderFromDisk, &QAction::triggered, this, &MainWindow::RemoveFolderFromDisk);
  e.renameFolder =
      AddEntry(menu, QStringLiteral("Rename Folder"), "rename-folder", QKeySequence(Qt::Key_F2));
  connect(e.renameFolder, &QAction::triggered, this, &MainWindow::RenameFolder);
  connect(AddEntry(menu, QStringLiteral("Add Path to Scan for Demos"), "add-path",
                   QKeySequence(Qt::CTRL | Qt::Key_A)),
          &QAction::triggered, this, &MainWindow::AddPathToScan);
  connect(AddEntry(menu, QStringLiteral("Rescan this Branch"), "rescan-branch",
                   QKeySequence(Qt::Key_F5)),
          &QAction::triggered, this, &MainWindow::RescanBranch);
  connect(AddEntry(menu, QStringLiteral("Cut non-demo Folders"), "cut-non-demo-folders",
                   QKeySequence(Qt::CTRL | Qt::Key_E)),
          &QAction::triggered, this, &MainWindow::CutNonDemoFolders);
  connect(AddEntry(menu, QStringLiteral("Collapse all Folders"), "collapse-all",
                   QKeySequence(Qt::CTRL | Qt::Key_C)),
          &QAction::triggered, this, [this] { ExpandAllFolders(false); });
  // Ctrl+E is shown here too, but the key belongs to "Cut non-demo Folders" above.
  QAction* expand = AddEntry(menu, QStringLiteral("Expand all Folders"), "expand-all");
  expand->setText(QStringLiteral("Expand all Folders\tCtrl+E"));
  connect(expand, &QAction::triggered, this, [this] { ExpandAllFolders(true); });
  for (QAction* action : menu->actions()) {
    if (!action->shortcut().isEmpty()) KeyOfView(action, tree_);
  }

  QMenu* style = menu->addMenu(QStringLiteral("View Style"));
  connect(AddEntry(style, QStringLiteral("Set Background Color.."), "background-colour"),
          &QAction::triggered, this, &MainWindow::ChooseTreeColour);
  QMenu* fonts = style->addMenu(CommandPicture("font-colour"),
                                QStringLiteral("Set Font Color for Folders that"));
  connect(AddEntry(fonts, QStringLiteral("Include Demos..")), &QAction::triggered, this,
          [this] { ChooseFolderFontColour(true); });
  connect(AddEntry(fonts, QStringLiteral("Not Include Demos..")), &QAction::triggered, this,
          [this] { ChooseFolderFontColour(false); });
  e.autoScroll = AddCheck(style, QStringLiteral("Auto Scroll when Mouse on Edge"));
  connect(e.autoScroll, &QAction::triggered, this, [this] {
    Toggle(session_.settings().virtualFolders.AutoScroll);
    tree_->setAutoScroll(session_.settings().virtualFolders.AutoScroll);
  });
  auto* sizes = new QActionGroup(style);
  e.treeBigIcons = AddCheck(style, QStringLiteral("Big Icons"));
  e.treeSmallIcons = AddCheck(style, QStringLiteral("Small Icons"));
  for (const bool big : {true, false}) {
    QAction* entry = big ? e.treeBigIcons : e.treeSmallIcons;
    sizes->addAction(entry);
    connect(entry, &QAction::triggered, this, [this, big] {
      session_.settings().virtualFolders.ViewStyle = big;
      const int size = big ? 32 : 16;
      tree_->setIconSize(QSize(size, size));
    });
  }

  connect(menu, &QMenu::aboutToShow, this, &MainWindow::EnableTreeMenu);
  EnableKeysWhenClosed(menu, {e.newFolder, e.removeFolderFromDisk, e.renameFolder});
  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tree_, &QWidget::customContextMenuRequested, this,
          [this](QPoint at) { treeMenu_->popup(tree_->viewport()->mapToGlobal(at)); });
}

void MainWindow::ShowToggles() {
  Entries& e = entries_;
  const Settings& settings = session_.settings();
  const bool shown = !playPane_->isHidden();
  e.noSplash->setChecked(settings.global.no_splash);
  e.noHints->setChecked(settings.global.no_hints);
  e.modDemos->setChecked(settings.demos.mod_demos);
  e.showPlayList->setChecked(shown);
  e.timeDemo->setChecked(settings.demos.time_demos);
  e.loopDemos->setChecked(settings.demos.loop_demos);
  e.readOnly->setChecked(settings.global.work_readonly);
  e.autoScroll->setChecked(settings.virtualFolders.AutoScroll);
  e.treeBigIcons->setChecked(settings.virtualFolders.ViewStyle);
  e.treeSmallIcons->setChecked(!settings.virtualFolders.ViewStyle);
  const auto show = [](QAction* button, bool on, const char* onPicture, const char* offPicture,
                       const QString& onHint, const QString& offHint) {
    button->setIcon(CommandPicture(on ? onPicture : offPicture));
    button->setText(QString(on ? onHint : offHint).replace('&', "&&"));
    button->setToolTip(on ? onHint : offHint);
  };
  show(e.readOnlyButton, settings.global.work_readonly, "read-only-on", "read-only-off",
       QStringLiteral("Change working mode to \"write enable\""),
       QStringLiteral("Change working mode to \"readonly\""));
  show(e.timeDemoButton, settings.demos.time_demos, "timedemo-on", "timedemo-off",
       QStringLiteral("disable timedemo"), QStringLiteral("enable timedemo"));
  show(e.loopButton, settings.demos.loop_demos, "loop-on", "loop-off",
       QStringLiteral("disable loop demos"), QStringLiteral("enable loop demos"));
  show(e.playListShownButton, shown, "play-list-shown", "play-list-hidden",
       QStringLiteral("Hide Play List"), QStringLiteral("Show Play List"));
  e.playListShownButton->setChecked(shown);
  toolTips_.setEnabled(!settings.global.no_hints);
}

void MainWindow::EnableDemoPlayMenu() {
  const bool rows = PlayListButtonsEnabled(playList_->rows().rows());
  const bool playable = !session_.PlaybackUnavailable();
  entries_.playCurrentList->setEnabled(rows && playable);
  entries_.playCurrentListAndExit->setEnabled(rows && playable);
  entries_.savePlayList->setEnabled(rows);
}

void MainWindow::EnableToolsMenu() {
  const VersionMenu& menu = session_.VersionMenuOnOpen();
  Entries& e = entries_;
  e.versionNew->setEnabled(menu.enabled);
  e.versionOld->setEnabled(menu.enabled);
  e.versionNew->setChecked(menu.newChecked);
  e.versionOld->setChecked(menu.oldChecked);
  e.restoreNew->setChecked(menu.restoreNewChecked);
  e.restoreOld->setChecked(menu.restoreOldChecked);
  e.readOnly->setChecked(session_.settings().global.work_readonly);
}

void MainWindow::EnableListMenu(ListKind list) {
  ListEntries& e = listEntries_[list == ListKind::kDemoList ? 0 : 1];
  const RowList& rows = ViewOf(list).rows().rows();
  if (list == ListKind::kDemoList) {
    const DemoListMenuState state = DemoListMenu(rows, session_.settings().global.work_readonly);
    e.playIt->setEnabled(state.playIt && !session_.PlaybackUnavailable());
    e.moveOrRemove->setEnabled(state.moveToPlaylist);
    e.deleteFiles->setEnabled(state.deleteFiles);
    e.rename->setEnabled(state.rename);
    e.editUserData->setEnabled(state.editUserData);
    e.setWebLocation->setEnabled(state.setWebLocation);
    e.clearUserData->setEnabled(state.clearUserData);
    e.selectAll->setEnabled(state.selectAll);
    e.properties->setEnabled(state.properties);
  } else {
    const PlayListMenuState state = PlayListMenu(rows);
    e.playIt->setEnabled(state.playIt && !session_.PlaybackUnavailable());
    e.moveOrRemove->setEnabled(state.removeFromPlaylist);
    e.editUserData->setEnabled(state.editUserData);
    e.selectAll->setEnabled(state.selectAll);
    e.properties->setEnabled(state.properties);
  }
  const ListSettings& settings = SettingsOf(list);
  e.gridLines->setChecked(settings.GridStyle);
  e.fullRowSelect->setChecked(settings.FullRowSelect);
  e.highlightItems->setChecked(settings.AutoActivateItems);
  for (int style = 0; style < 4; ++style) {
    e.viewStyles[style]->setChecked(settings.ViewStyle == style);
  }
}

void MainWindow::EnableTreeMenu() {
  const TreeMenuState state = session_.TreeMenu();
  entries_.newFolder->setEnabled(state.newFolder);
  entries_.removeFolderFromDisk->setEnabled(state.removeFromDisk);
  entries_.renameFolder->setEnabled(state.rename);
  ShowToggles();
}

void MainWindow::EnableCommandBar() {
  const bool playList = PlayListButtonsEnabled(playList_->rows().rows());
  const bool playable = !session_.PlaybackUnavailable();
  entries_.saveButton->setEnabled(playList);
  for (QAction* button : {entries_.playListButton, entries_.playListExitButton}) {
    button->setEnabled(playList && playable);
  }
  entries_.playItButton->setEnabled(PlayItButtonEnabled(demoList_->rows().rows()) && playable);
}

void MainWindow::ShowWhyNothingPlays() {
  const std::optional<std::string> reason = session_.PlaybackUnavailable();
  if (!reason) return;
  for (QAction* action :
       {entries_.playItButton, entries_.playListButton, entries_.playListExitButton,
        entries_.playCurrentList, entries_.playCurrentListAndExit}) {
    action->setStatusTip(FromName(*reason));
  }
  panels_[1]->setText(FromName(*reason));
}

}  // namespace rw::app
