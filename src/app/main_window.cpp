#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGraphicsOpacityEffect>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPropertyAnimation>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "app/accessible_windows.h"
#include "app/colour_reference.h"
#include "app/display_text.h"
#include "model/list_drag.h"

namespace rw::app {

MainWindow::MainWindow(Session& session, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      treeModel_(session.tree()),
      splitter_(new QSplitter(this)),
      tree_(new QTreeView(splitter_)),
      demoPane_(new QWidget(splitter_)),
      filterBox_(new QLineEdit(demoPane_)),
      demoList_(new ListView(session.demoList(), QStringLiteral("Demo List"), demoPane_)),
      playPane_(new QWidget(splitter_)),
      playListName_(new ElidedLabel(playPane_)),
      playList_(new ListView(session.playList(), QStringLiteral("Play List"), playPane_)),
      progress_(new QProgressBar(statusBar())),
      panelTexts_(session.locale()),
      playerReading_(new QTimer(this)) {
  AnnounceWindowsAsWindows();
  setWindowTitle(QStringLiteral("Reelwright 1.32"));
  tree_->setModel(&treeModel_);
  tree_->setAccessibleName(QStringLiteral("Folder Tree"));
  tree_->setHeaderHidden(true);
  tree_->setToolTip(QStringLiteral("* Tree View *\nDrop Folders from Windows to scan for demos "));
  demoList_->setToolTip(
      QStringLiteral("* Demo List *\nUse drag & drop to create your own Demo Play List"));
  playList_->setToolTip(
      QStringLiteral("* Play List *\nUse drag & drop to remove or to reorder entries"));
  auto* demoLayout = new QVBoxLayout(demoPane_);
  demoLayout->setContentsMargins(0, 0, 0, 0);
  demoLayout->setSpacing(2);
  demoLayout->addWidget(filterBox_);
  demoLayout->addWidget(demoList_, 1);
  filterBox_->setAccessibleName(QStringLiteral("Filter"));
  filterBox_->setPlaceholderText(
      QStringLiteral("Filter (Ctrl+F): words, map:, player:, type:ctf, "
                     "rating:>=4, after:2001-05-01, -word"));
  filterBox_->setClearButtonEnabled(true);
  filterBox_->installEventFilter(this);
  connect(filterBox_, &QLineEdit::textChanged, this, &MainWindow::FilterDemoList);
  auto* playLayout = new QVBoxLayout(playPane_);
  playLayout->setContentsMargins(0, 0, 0, 0);
  playLayout->setSpacing(0);
  playLayout->addWidget(playListName_);
  playLayout->addWidget(playList_, 1);
  playListName_->setAccessibleDescription(QStringLiteral("Play List Name"));
  playListName_->setFocusPolicy(Qt::TabFocus);
  // As wide as the play list, whatever the name's length.
  playListName_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  // Tab goes from view to view, Shift+Tab back; the filter box and the play list's name are
  // met on the way. Each list is its table or, in the icon and list styles, the view over it.
  setTabOrder(tree_, filterBox_);
  setTabOrder(filterBox_, demoList_);
  setTabOrder(demoList_, demoList_->iconView());
  setTabOrder(demoList_->iconView(), playListName_);
  setTabOrder(playListName_, playList_);
  setTabOrder(playList_, playList_->iconView());
  playListName_->setVisible(false);  // until a play list file is loaded
  playListName_->setGraphicsEffect(new QGraphicsOpacityEffect(playListName_));
  splitter_->setChildrenCollapsible(false);
  // No pane can be dragged narrower than 30 pixels.
  for (QWidget* pane : {static_cast<QWidget*>(tree_), demoPane_, playPane_}) {
    pane->setMinimumWidth(30);
  }
  connect(splitter_, &QSplitter::splitterMoved, this, [this] { FitPanels(); });
  setCentralWidget(splitter_);

  for (int panel = 0; panel < 3; ++panel) {
    // A line too long for its panel is shortened in the middle, never cut off.
    panels_[panel] = new ElidedLabel(this);
    panels_[panel]->setMinimumWidth(30);
    statusBar()->addWidget(panels_[panel], panel == 0 ? 0 : 1);
  }
  // Shown over the whole status bar while a listing runs.
  progress_->setVisible(false);
  progress_->setAccessibleName(QStringLiteral("Listing"));

  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { SelectNode(current); });
  connect(demoList_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { SortBy(*demoList_, session_.settings().demoList.columns, column); });
  connect(playList_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { SortBy(*playList_, session_.settings().playList.columns, column); });
  for (ListView* view : {demoList_, playList_}) {
    connect(view, &ListView::rowsDropped, this,
            [this, view](QObject* source, int row) { TakeDroppedRows(*view, source, row); });
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, view](const QItemSelection& selected, const QItemSelection& deselected) {
              SelectionChanged(*view, selected, deselected);
            });
    connect(view, &ListView::reloaded, this, [this, view] {
      if (view == demoList_) {
        ShowFilterCount();
        panelTexts_.DemoRowsShown(view->rows().rows());
      } else {
        panelTexts_.PlayRowsShown(view->rows().rows());
      }
      ShowPanels();
    });
    view->installEventFilter(this);
    connect(view, &QAbstractItemView::doubleClicked, this, [this, view] {
      ShowProperties(view == demoList_ ? ListKind::kDemoList : ListKind::kPlayList);
    });
  }
  tree_->installEventFilter(this);
  demoList_->setMouseTracking(true);
  demoList_->viewport()->installEventFilter(this);
  tree_->setAcceptDrops(true);
  tree_->viewport()->installEventFilter(this);
  tree_->viewport()->setMouseTracking(true);
  playList_->viewport()->installEventFilter(this);
  tree_->setAutoScroll(session.settings().virtualFolders.AutoScroll);
  // F2 goes through the commands, which say why an edit cannot start.
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  treeModel_.canRename = [this](FolderNode& node) { return session_.CanRenameFolder(node); };
  treeModel_.rename = [this](FolderNode& node, const std::string& text) {
    if (!session_.RenameFolder(node, text)) return false;
    demoList_->Reload();
    playList_->Reload();
    // The node may have moved among its siblings; the tree is shown again once the editor
    // has closed.
    QTimer::singleShot(0, this, &MainWindow::ShowRenamedTree);
    return true;
  };
  demoList_->rowModel().canRename = [this](int row) {
    return session_.CanRenameDemo(static_cast<size_t>(row));
  };
  demoList_->rowModel().rename = [this](int row, const std::string& name) {
    return session_.RenameDemo(static_cast<size_t>(row), name);
  };
  // The tree file keeps which folders were open.
  connect(tree_, &QTreeView::expanded, this,
          [](const QModelIndex& index) { FolderTreeModel::NodeOf(index)->expanded = true; });
  connect(tree_, &QTreeView::collapsed, this,
          [](const QModelIndex& index) { FolderTreeModel::NodeOf(index)->expanded = false; });
  ApplySettings();
  BuildCommands();
  ConnectSounds();
  connect(this, &MainWindow::demoFileOpened, this, &MainWindow::OpenPropertiesOfRow);
  playerReading_->setInterval(10);
  connect(playerReading_, &QTimer::timeout, this, &MainWindow::ReadSomePlayers);
  for (ListView* view : {demoList_, playList_}) {
    connect(&view->rowModel(), &QAbstractItemModel::modelReset, this,
            &MainWindow::EnableCommandBar);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::EnableCommandBar);
  }
}

QRect MainWindow::FirstStartFrame() const {
  const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  const QRect area = screen->availableGeometry();
  const QSize size(area.width() * 2 / 3, area.height() * 2 / 3);
  return {area.x() + (area.width() - size.width()) / 2,
          area.y() + (area.height() - size.height()) / 2, size.width(), size.height()};
}

void MainWindow::ApplySettings() {
  const Settings& settings = session_.settings();
  const MainWindowSettings& saved = settings.mainWindow;
  wantedFrame_ = session_.firstStart() ? FirstStartFrame()
                                       : QRect(saved.left, saved.top, saved.width, saved.height);
  // The size is the frame's; the frame is known once the window shows (FitFrame).
  move(wantedFrame_.topLeft());
  resize(wantedFrame_.size());
  // Only the demo list takes what the window gains or loses.
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setStretchFactor(2, 0);
  if (session_.firstStart()) {
    // The play list wide enough for its status line, with room for the bar's spacing and grip.
    const int line = panels_[2]->fontMetrics().horizontalAdvance(
        QStringLiteral("0 item(s) selected. 0.00 KB. Playtime: 00:00:00."));
    Settings& first = session_.settings();
    first.playList.width = std::max(first.playList.width, line + 64);
  }
  splitter_->setSizes(
      {settings.virtualFolders.width, settings.demoList.width, settings.playList.width});
  tree_->setVisible(settings.virtualFolders.visible);
  // "Big Icons" or "Small Icons".
  const int iconSize = settings.virtualFolders.ViewStyle ? 32 : 16;
  tree_->setIconSize(QSize(iconSize, iconSize));
  playPane_->setVisible(settings.playList.visible);
  SetBackground(*tree_, settings.virtualFolders.Color);
  ApplyColumns(*demoList_, settings.demoList);
  ApplyColumns(*playList_, settings.playList);
}

void MainWindow::ApplyColumns(ListView& view, const ListSettings& list) {
  QHeaderView* header = view.horizontalHeader();
  const ColumnLayout& layout = list.columns;
  for (int column = 0; column < static_cast<int>(kColumnCount); ++column) {
    const int32_t width = layout.widths[static_cast<size_t>(column)];
    header->setSectionHidden(column, width == 0);
    if (width > 0) header->resizeSection(column, width);
    if (width < 0) header->resizeSection(column, header->sectionSizeHint(column));
  }
  if (IsColumnPermutation(layout.order)) {
    for (int visual = 0; visual < static_cast<int>(kColumnCount); ++visual) {
      const int logical = layout.order[static_cast<size_t>(visual)];
      header->moveSection(header->visualIndex(logical), visual);
    }
  }
  header->setSortIndicatorShown(true);
  ShowSortIndicator(view, layout);
}

void MainWindow::FitColumns(ListView& view, const ColumnLayout& layout) {
  // A stored width below 0 asks for the column to fit its texts once there are rows.
  for (int column = 0; column < static_cast<int>(kColumnCount); ++column) {
    if (layout.widths[static_cast<size_t>(column)] < 0) view.resizeColumnToContents(column);
  }
}

void MainWindow::ShowExpandedNodes() {
  for (FolderNode* node : session_.tree().FlatOrder()) {
    if (node->expanded) tree_->expand(treeModel_.IndexOf(node));
  }
}

void MainWindow::ShowSortIndicator(ListView& view, const ColumnLayout& layout) {
  view.horizontalHeader()->setSortIndicator(
      layout.sortColumn, layout.sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void MainWindow::StoreColumns(const ListView& view, ListSettings& list) const {
  const QHeaderView* header = view.horizontalHeader();
  for (int column = 0; column < static_cast<int>(kColumnCount); ++column) {
    list.columns.widths[static_cast<size_t>(column)] =
        header->isSectionHidden(column) ? 0 : header->sectionSize(column);
    list.columns.order[static_cast<size_t>(column)] = header->logicalIndex(column);
  }
}

void MainWindow::StoreSettings() {
  Settings& settings = session_.settings();
  const QRect frame = frameGeometry();
  settings.mainWindow = {frame.x(), frame.y(), frame.width(), frame.height()};
  const QList<int> sizes = splitter_->sizes();
  settings.virtualFolders.width = sizes[0];
  settings.demoList.width = sizes[1];
  if (!playPane_->isHidden()) settings.playList.width = sizes[2];
  settings.playList.visible = !playPane_->isHidden();
  switch (toolBarArea(commandBar_)) {
    case Qt::RightToolBarArea:
      settings.global.toolbar_dockpos = 1;
      break;
    case Qt::BottomToolBarArea:
      settings.global.toolbar_dockpos = 2;
      break;
    case Qt::LeftToolBarArea:
      settings.global.toolbar_dockpos = 3;
      break;
    default:
      settings.global.toolbar_dockpos = 0;
  }
  StoreColumns(*demoList_, settings.demoList);
  StoreColumns(*playList_, settings.playList);
}

void MainWindow::FirstListing() {
  FolderNode* node = session_.FirstFolder([this](const std::string& path) {
    panels_[0]->setText(FromName(path));
    QCoreApplication::processEvents();
  });
  treeModel_.Reload();
  ShowExpandedNodes();
  FitPanels();
  if (node == nullptr) {
    ShowWhyNothingPlays();
    return;
  }
  const QModelIndex index = treeModel_.IndexOf(node);
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) tree_->expand(up);
  tree_->scrollTo(index);
  tree_->setFocus();
  // Selecting the node lists it.
  tree_->setCurrentIndex(index);
  ShowWhyNothingPlays();
}

void MainWindow::ShowTipOfTheDay() {
  if (session_.settings().global.tip_of_day) ShowTip();
}

void MainWindow::SelectNode(const QModelIndex& index) {
  FolderNode* node = FolderTreeModel::NodeOf(index);
  if (node == nullptr || selecting_) return;
  if (session_.appState().isBusy()) {
    // A listing runs: the selection stays where it was.
    selecting_ = true;
    tree_->setCurrentIndex(treeModel_.IndexOf(session_.tree().selected()));
    selecting_ = false;
    return;
  }
  ShowFolderPath(NodePath(*node));
  if (session_.SelectFolder(*node, *this)) {
    demoList_->Reload();
    if (!fitted_ && demoList_->model()->rowCount() > 0) {
      FitColumns(*demoList_, session_.settings().demoList.columns);
      fitted_ = true;
    }
  }
  if (closeAfterListing_) QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::ShowFolderPath(const std::string& path) {
  panels_[0]->setToolTip(FromName(path));
  panels_[0]->setText(FromName(path));
}

void MainWindow::ShowRenamedTree() {
  treeModel_.Reload();
  ShowExpandedNodes();
  FolderNode* current = session_.tree().selected();
  if (current == nullptr) return;
  selecting_ = true;
  tree_->setCurrentIndex(treeModel_.IndexOf(current));
  selecting_ = false;
  ShowFolderPath(NodePath(*current));
}

void MainWindow::SortBy(ListView& view, ColumnLayout& layout, int column) {
  ClickColumnHeader(layout, column);
  view.rows().SetSort(layout.sortColumn, layout.sortAscending);
  view.rows().Resort();
  view.Reload();
  ShowSortIndicator(view, layout);
}

void MainWindow::TakeDroppedRows(ListView& target, QObject* source, int row) {
  const std::optional<size_t> at =
      row < 0 ? std::nullopt : std::optional<size_t>(static_cast<size_t>(row));
  RowList& demoRows = demoList_->rows().rows();
  RowList& playRows = playList_->rows().rows();
  if (&target == playList_ && source == demoList_) {
    if (!PlayListAcceptsDrop(demoRows)) return;
    CopyToPlayList(demoRows, playRows, at);
    playList_->Reload();
    if (!playFitted_) {
      FitColumns(*playList_, session_.settings().playList.columns);
      playFitted_ = true;
    }
    panelTexts_.RowsDropped(playRows);
  } else if (&target == playList_ && findDemos_ && source == findDemos_->results()) {
    RowList& found = findDemos_->results()->rows().rows();
    if (!PlayListAcceptsDrop(found)) return;
    CopyToPlayList(found, playRows, at);
    playList_->Reload();
    panelTexts_.RowsDropped(playRows);
  } else if (&target == playList_ && source == playList_) {
    if (ReorderPlayList(playRows, at)) playList_->Reload();
  } else if (&target == demoList_ && source == playList_) {
    RemoveFromPlayList();
  }
  ShowPanels();
}

void MainWindow::SelectionChanged(ListView& view, const QItemSelection& selected,
                                  const QItemSelection& deselected) {
  const size_t count = static_cast<size_t>(view.selectionModel()->selectedRows().size());
  const auto report = [&](const QItemSelection& rows, bool isSelected) {
    for (const QModelIndex& index : rows.indexes()) {
      if (index.column() != 0) continue;
      const ListRow& row = view.rowModel().RowAt(index.row());
      if (&view == demoList_) {
        panelTexts_.DemoRowChanged(row, isSelected, count);
      } else {
        panelTexts_.PlayRowChanged(row, isSelected, count);
      }
    }
  };
  report(deselected, false);
  report(selected, true);
  ShowPanels();
}

void MainWindow::ShowPanels() {
  panels_[1]->setText(FromMessage(panelTexts_.panel1()));
  panels_[2]->setText(FromMessage(panelTexts_.panel2()));
}

void MainWindow::FitPanels() {
  const QList<int> sizes = splitter_->sizes();
  const int handle = splitter_->handleWidth();
  panels_[0]->setFixedWidth(std::max(30, sizes[0] + handle));
  // Without the play list, panel 1 takes the rest of the bar.
  if (!playPane_->isHidden()) {
    panels_[1]->setFixedWidth(std::max(30, sizes[1] + handle));
  } else {
    panels_[1]->setMinimumWidth(30);
    panels_[1]->setMaximumWidth(QWIDGETSIZE_MAX);
  }
  panels_[2]->setVisible(!playPane_->isHidden());
}

void MainWindow::SetPlayListVisible(bool visible) {
  if (visible == !playPane_->isHidden()) return;
  Settings& settings = session_.settings();
  if (!visible) settings.playList.width = splitter_->sizes()[2];
  playPane_->setVisible(visible);
  if (visible) {
    const QList<int> sizes = splitter_->sizes();
    const int total = sizes[0] + sizes[1] + sizes[2];
    const int play = std::min(settings.playList.width, std::max(30, total - sizes[0] - 30));
    splitter_->setSizes({sizes[0], total - sizes[0] - play, play});
  }
  settings.playList.visible = visible;
  FitPanels();
}

bool MainWindow::LoadPlayList(const QString& path) {
  SetPlayListVisible(true);
  const PlayListLoad load = session_.LoadPlayList(path.toStdString(), *this);
  if (!load.loaded) return false;
  playList_->Reload();
  panels_[2]->setText(FromMessage(load.statusText));
  const QString name = FromName(load.nameLabel);
  playListName_->setText(name);
  playListName_->setToolTip(name);
  playListName_->setAccessibleName(name);
  playListName_->setVisible(true);
  auto* fade = new QPropertyAnimation(playListName_->graphicsEffect(), "opacity", this);
  fade->setDuration(600);
  fade->setStartValue(0.0);
  fade->setEndValue(1.0);
  fade->start(QAbstractAnimation::DeleteWhenStopped);
  return true;
}

void MainWindow::ComeToFront() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void MainWindow::EndOnRequest() {
  if (!listing_) {
    close();
    return;
  }
  session_.appState().SetEscape();
  closeAfterListing_ = true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  AppState& state = session_.appState();
  if (listing_) {
    // Never from inside the listing's loop: the first close is refused, a second stops the
    // listing, and the window closes once the listing has returned.
    if (state.isBusy()) {
      state.LowerBusy();
    } else {
      state.SetEscape();
      closeAfterListing_ = true;
    }
    event->ignore();
    return;
  }
  if (state.isBusy()) {
    state.LowerBusy();
    event->ignore();
    return;
  }
  session_.RestoreVersionOnClose();
  StoreSettings();
  session_.SaveOnExit();
  event->accept();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  QTimer::singleShot(0, this, [this] { FitFrame(false); });
}

bool MainWindow::event(QEvent* event) {
  // By the time the window is active, a window manager has framed it.
  if (event->type() == QEvent::WindowActivate) FitFrame(true);
  return QMainWindow::event(event);
}

void MainWindow::FitFrame(bool lastChance) {
  if (frameFitted_) return;
  const QSize frame = frameGeometry().size() - size();
  frameFitted_ = lastChance || !frame.isNull();
  if (frame.isNull() || isMaximized() || isFullScreen()) return;
  resize(wantedFrame_.size() - frame);
  move(wantedFrame_.topLeft());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FitPanels();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    session_.appState().SetEscape();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

std::optional<std::string> MainWindow::DroppedFolder(const QMimeData& mime) const {
  // Exactly one local folder (a link to one counts).
  const QList<QUrl> urls = mime.urls();
  if (urls.size() != 1 || !urls[0].isLocalFile()) return std::nullopt;
  std::string path = urls[0].toLocalFile().toStdString();
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (!session_.files().IsFolder(path)) return std::nullopt;
  return path;
}

bool MainWindow::TreeDropEvent(QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);
  const QMimeData& mime = *drop->mimeData();
  FolderNode* target = FolderTreeModel::NodeOf(tree_->indexAt(drop->position().toPoint()));
  const bool fromDemoList =
      mime.data(ListView::kRowsMime).toULongLong() == reinterpret_cast<quintptr>(demoList_);
  const bool rows = mime.hasFormat(ListView::kRowsMime);
  const std::optional<std::string> folder = rows ? std::nullopt : DroppedFolder(mime);
  const bool accepted = rows ? session_.CanDropDemosOn(target, fromDemoList) : folder.has_value();
  if (event->type() != QEvent::Drop) {
    drop->setDropAction(rows ? Qt::MoveAction : Qt::LinkAction);
    accepted ? drop->accept() : drop->ignore();
    return true;
  }
  if (!accepted || session_.appState().isBusy()) return true;
  drop->acceptProposedAction();
  if (rows) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    session_.MoveSelectedDemosTo(*target);
    QApplication::restoreOverrideCursor();
    demoList_->Reload();
    treeModel_.Reload();
    ShowExpandedNodes();
    tree_->setCurrentIndex(treeModel_.IndexOf(session_.tree().selected()));
    return true;
  }
  FolderNode& branch = session_.AddFolderBranch(*folder, [this](const std::string& path) {
    panels_[0]->setText(FromName(path));
    QCoreApplication::processEvents();
  });
  treeModel_.Reload();
  ShowExpandedNodes();
  tree_->setCurrentIndex(treeModel_.IndexOf(&branch));
  return true;
}

bool MainWindow::DemoListPointerEvent(QEvent* event) {
  const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
  const QModelIndex index = demoList_->indexAt(position);
  const ListRow* row = index.isValid() ? &demoList_->rowModel().RowAt(index.row()) : nullptr;
  const PointerHint hint = PointerOverDemoList(
      row, static_cast<size_t>(std::max(index.column(), 0)), panelTexts_.rememberedStatus());
  if (event->type() == QEvent::MouseButtonRelease) {
    if (hint.action == PointerAction::kOpenLink) session_.OpenLink((*row)[kWebColumn]);
    if (hint.action == PointerAction::kOpenEditor) EditUserDataAtCell(index);
    return false;
  }
  panelTexts_.PointerMoved(hint);
  demoList_->viewport()->setCursor(hint.action == PointerAction::kNone ? Qt::ArrowCursor
                                                                       : Qt::PointingHandCursor);
  ShowPanels();
  return false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    // The view under the pointer takes the keyboard focus, unless a name is being edited.
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(tree_), static_cast<QAbstractItemView*>(demoList_),
          static_cast<QAbstractItemView*>(playList_)}) {
      QWidget* focus = QApplication::focusWidget();
      if (watched == view->viewport() && focus != view && !view->isAncestorOf(focus) &&
          isActiveWindow()) {
        view->setFocus(Qt::MouseFocusReason);
      }
    }
  }
  if (watched == demoList_->viewport() &&
      (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonRelease)) {
    return DemoListPointerEvent(event);
  }
  if (watched == tree_->viewport() &&
      (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
       event->type() == QEvent::Drop)) {
    return TreeDropEvent(event);
  }
  if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  // Escape in the filter box clears it; an empty box leaves Escape to the window.
  if (watched == filterBox_ && key == Qt::Key_Escape && !filterBox_->text().isEmpty()) {
    filterBox_->clear();
    return true;
  }
  if (key == Qt::Key_Escape) {
    session_.appState().SetEscape();
    return true;
  }
  // Not the Enter that ends an in-place edit, which the editor passes on to the list.
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
      (watched == demoList_ || watched == playList_) &&
      static_cast<ListView*>(watched)->indexWidget(
          static_cast<ListView*>(watched)->currentIndex()) == nullptr) {
    ShowProperties(watched == demoList_ ? ListKind::kDemoList : ListKind::kPlayList);
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::Started() {
  listing_ = true;
  progress_->setRange(0, 0);
  progress_->setGeometry(statusBar()->rect());
  progress_->raise();
  progress_->setVisible(true);
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void MainWindow::ShowParsing(const std::string& text) {
  panels_[1]->setText(FromName(text));
}

void MainWindow::ShowProgress(const ScanProgress& progress) {
  progress_->setRange(0, static_cast<int>(progress.entriesFound));
  progress_->setValue(static_cast<int>(progress.entriesDone));
  // Keeps the window responsive; Escape reaches the listing through here.
  QCoreApplication::processEvents();
}

void MainWindow::MarkFolder(bool holdsDemos) {
  FolderNode* node = session_.tree().selected();
  if (node == nullptr) return;
  const FolderColours colours = session_.folderColours();
  node->colour = holdsDemos ? colours.demo : colours.nonDemo;
  const QModelIndex index = treeModel_.IndexOf(node);
  emit treeModel_.dataChanged(index, index);
}

void MainWindow::ShowSummary(const std::string& text) {
  panelTexts_.ListingDone(text);
  ShowPanels();
}

void MainWindow::Finished() {
  listing_ = false;
  progress_->setVisible(false);
  QApplication::restoreOverrideCursor();
  StartReadingPlayers();
}

}  // namespace rw::app
