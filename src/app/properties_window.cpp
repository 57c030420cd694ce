#include "app/properties_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/colored_cell_delegate.h"
#include "app/display_text.h"
#include "app/picture_window.h"
#include "app/player_icons.h"

namespace rw::app {

namespace {

constexpr int kShotSize = 128;

// A plus or a minus on a round button: add the demo to the play list, or take it off.
QIcon PlaylistIcon(PlaylistButton action) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(action == PlaylistButton::kAdd ? QColor(40, 150, 60) : QColor(190, 50, 40));
  painter.drawEllipse(QRectF(1, 1, 14, 14));
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(4, 7, 8, 2));
  if (action == PlaylistButton::kAdd) painter.drawRect(QRectF(7, 4, 2, 8));
  return QIcon(pixmap);
}

QListWidgetItem* ColoredItem(const std::string& coded) {
  auto* item = new QListWidgetItem(PlainText(coded));
  item->setData(ColoredCellDelegate::kCodedTextRole,
                QByteArray(coded.data(), static_cast<qsizetype>(coded.size())));
  return item;
}

void DarkList(QListWidget& list) {
  QPalette dark = list.palette();
  dark.setColor(QPalette::Base, QColor(24, 24, 24));
  dark.setColor(QPalette::Text, Qt::white);
  list.setPalette(dark);
}

}  // namespace

PropertiesWindow::PropertiesWindow(Session& session, SoundSeam& sounds, QWidget* parent)
    : QDockWidget(parent),
      session_(session),
      sounds_(sounds),
      tabs_(new QTabWidget(this)),
      levelShot_(new QLabel(this)),
      mapLongName_(new ColoredLabel(this)),
      players_(new QListWidget(this)),
      course_(new QListWidget(this)),
      notes_(new UserNotesPanel(this)),
      delegate_(false, this),
      courseDelegate_(true, this) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("Properties"));
  setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  tabs_->addTab(MakeGeneralTab(), QStringLiteral("General"));
  tabs_->addTab(MakeServerDetailTab(), QStringLiteral("Server Detail"));
  course_->setAccessibleName(QStringLiteral("Match Log"));
  course_->setItemDelegate(&courseDelegate_);
  course_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  DarkList(*course_);
  tabs_->addTab(course_, QStringLiteral("Course"));
  tabs_->addTab(notes_, QStringLiteral("User"));
  notes_->link()->open = [this](const std::string& link) { session_.OpenLink(link); };

  auto* bar = new QToolBar(this);
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  bar->setAccessibleName(QStringLiteral("Properties Tool Bar"));
  QStyle* look = style();
  play_ = bar->addAction(look->standardIcon(QStyle::SP_MediaPlay), QStringLiteral("Play it"));
  playlist_ = bar->addAction(PlaylistIcon(PlaylistButton::kAdd), QStringLiteral("Playlist"));
  userData_ = bar->addAction(look->standardIcon(QStyle::SP_FileDialogDetailedView),
                             QStringLiteral("&Userdata"));
  auto* spacer = new QWidget(bar);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  bar->addWidget(spacer);
  close_ =
      bar->addAction(look->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("&Close"));

  // The captions' mnemonics work anywhere in this window.
  for (QAction* action : {userData_, close_}) {
    action->setShortcut(QKeySequence::mnemonic(action->text()));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
  }

  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(tabs_, 1);
  layout->addWidget(bar);
  setWidget(body);

  connect(play_, &QAction::triggered, this, [this] {
    if (session_.appState().isBusy()) return;
    if (sounds_.stopMapMusic) sounds_.stopMapMusic();
    if (playDemo) playDemo(row());
  });
  connect(playlist_, &QAction::triggered, this, [this] {
    if (changePlayList) changePlayList(row(), view_.playlistButton);
    view_.playlistButton = view_.playlistButton == PlaylistButton::kAdd ? PlaylistButton::kRemove
                                                                        : PlaylistButton::kAdd;
    ShowPlaylistButton();
  });
  connect(userData_, &QAction::triggered, this, [this] {
    if (editUserData) editUserData(row());
  });
  connect(close_, &QAction::triggered, this, &QWidget::close);
  connect(players_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ShowPlayer(item); });
  connect(players_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { ShowPlayer(item); });
  // Showing a tab clears the selection of its list.
  connect(tabs_, &QTabWidget::currentChanged, this, [this] {
    players_->clearSelection();
    course_->clearSelection();
  });
  resize(640, 520);
}

QLabel* PropertiesWindow::AddValue(QFormLayout& form, const QString& caption) {
  auto* value = new QLabel(this);
  value->setObjectName(caption);
  value->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* label = new QLabel(caption, this);
  label->setBuddy(value);
  form.addRow(label, value);
  values_[caption] = value;
  return value;
}

QWidget* PropertiesWindow::MakeGeneralTab() {
  auto* tab = new QWidget(this);
  auto* form = new QFormLayout;
  for (const char* caption :
       {"Name:", "Size:", "Play time:", "Recorded:", "Map:", "Version:", "Game type:", "Mod:",
        "Time limit:", "Frag limit:", "Capture limit:", "Final score:"}) {
    AddValue(*form, caption);
  }
  value("Name:")->setWordWrap(true);
  levelShot_->setFixedSize(kShotSize, kShotSize);
  levelShot_->setAlignment(Qt::AlignCenter);
  levelShot_->setFrameShape(QFrame::StyledPanel);
  levelShot_->setAccessibleName(QStringLiteral("Level Shot"));
  levelShot_->installEventFilter(this);
  players_->setAccessibleName(QStringLiteral("Players"));
  players_->setItemDelegate(&delegate_);
  players_->viewport()->setCursor(Qt::PointingHandCursor);
  DarkList(*players_);
  players_->installEventFilter(this);
  course_->installEventFilter(this);

  auto* picture = new QVBoxLayout;
  picture->addWidget(levelShot_, 0, Qt::AlignHCenter);
  picture->addWidget(mapLongName_);
  picture->addWidget(new QLabel(QStringLiteral("Players:"), this));
  picture->addWidget(players_, 1);
  auto* layout = new QHBoxLayout(tab);
  layout->addLayout(form, 1);
  layout->addLayout(picture, 1);
  return tab;
}

QWidget* PropertiesWindow::MakeServerDetailTab() {
  auto* tab = new QWidget(this);
  auto* form = new QFormLayout(tab);
  for (const char* caption :
       {"Host name:", "Server id:", "Protocol:", "Pure server:", "Cheats:", "Flood protection:",
        "Password needed:", "Private clients:", "Max game clients:", "Max clients:", "Max rate:",
        "Max ping:", "Min ping:"}) {
    AddValue(*form, caption);
  }
  return tab;
}

void PropertiesWindow::SetValue(const QString& caption, const std::string& text) {
  values_.at(caption)->setText(FromText(text));
}

ListRow PropertiesWindow::row() const {
  ListRow row;
  std::copy_n(view_.items.begin(), row.size(), row.begin());
  return row;
}

void PropertiesWindow::ShowRow(const ListRow& row, SourceList source) {
  if (sounds_.stopMapMusic) sounds_.stopMapMusic();
  if (playerWindow_) playerWindow_->hide();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  view_ = session_.Properties(row, source);
  setWindowTitle(FromName(view_.caption));
  ShowPlaylistButton();
  play_->setEnabled(view_.playEnabled);
  playlist_->setEnabled(view_.playEnabled);

  const rw::GeneralTab& general = view_.general;
  value("Name:")->setText(FromName(general.name));
  SetValue("Size:", general.size);
  SetValue("Play time:", general.playtime);
  SetValue("Recorded:", general.recorded);
  SetValue("Map:", general.mapFile);
  SetValue("Version:", general.version);
  SetValue("Game type:", general.gameType);
  SetValue("Mod:", general.mod);
  SetValue("Time limit:", general.timeLimit);
  SetValue("Frag limit:", general.fragLimit);
  SetValue("Capture limit:", general.captureLimit);
  SetValue("Final score:", general.finalScore);
  const rw::ServerDetailTab& server = view_.serverDetail;
  SetValue("Host name:", server.hostName);
  SetValue("Server id:", server.serverId);
  SetValue("Protocol:", server.protocol);
  SetValue("Pure server:", server.pureServer);
  SetValue("Cheats:", server.cheats);
  SetValue("Flood protection:", server.floodProtection);
  SetValue("Password needed:", server.passwordNeeded);
  SetValue("Private clients:", server.privateClients);
  SetValue("Max game clients:", server.maxGameClients);
  SetValue("Max clients:", server.maxClients);
  SetValue("Max rate:", server.maxRate);
  SetValue("Max ping:", server.maxPing);
  SetValue("Min ping:", server.minPing);
  ShowLevelShot();

  players_->clear();
  QPixmap empty(16, 16);
  empty.fill(Qt::transparent);
  const QIcon blank(empty);
  for (const PlayerListEntry& entry : view_.players) {
    QListWidgetItem* item = ColoredItem(entry.text);
    // Rows without a picture keep its room, so that the names line up.
    const QIcon icon = PlayerIcon(entry.displaySlot);
    item->setIcon(icon.isNull() ? blank : icon);
    players_->addItem(item);
  }
  course_->clear();
  for (const std::string& line : view_.course) course_->addItem(ColoredItem(line));
  notes_->Show(view_.user, picture_);
  QApplication::restoreOverrideCursor();

  if (sounds_.playMapMusic) sounds_.playMapMusic(view_.musicSources);
  session_.appState().LowerBusy();
  if (!placed_) {
    show();
    const QRect screen = this->screen()->availableGeometry();
    move(screen.center() - rect().center());
    placed_ = true;
  }
  show();
  raise();
  activateWindow();
  tabs_->tabBar()->setFocus();
}

void PropertiesWindow::ShowLevelShot() {
  picture_ = view_.levelShot.picture ? ToQImage(*view_.levelShot.picture) : QImage();
  levelShot_->setPixmap(picture_.isNull() ? QPixmap()
                                          : QPixmap::fromImage(picture_.scaled(
                                                kShotSize, kShotSize, Qt::KeepAspectRatio,
                                                Qt::SmoothTransformation)));
  const bool fullSize = view_.levelShot.picture && ShowsFullSize(*view_.levelShot.picture);
  levelShot_->setCursor(fullSize ? Qt::PointingHandCursor : Qt::ArrowCursor);
  mapLongName_->setCodedText(view_.general.mapLongName);
  // Centred under the picture when it fits its width.
  const bool fits =
      ColoredTextWidth(mapLongName_->fontMetrics(), view_.general.mapLongName) <= kShotSize;
  mapLongName_->setAlignment(fits ? Qt::AlignHCenter : Qt::AlignLeft);
}

void PropertiesWindow::ShowPlaylistButton() {
  const bool add = view_.playlistButton == PlaylistButton::kAdd;
  playlist_->setIcon(PlaylistIcon(view_.playlistButton));
  playlist_->setToolTip(add ? QStringLiteral("Add to Play List")
                            : QStringLiteral("Remove from Play List"));
}

void PropertiesWindow::RefreshUserTab() {
  view_.user = session_.UserTabOf(view_.items[kDemonameColumn]);
  notes_->Show(view_.user, picture_);
}

void PropertiesWindow::ShowPlayer(QListWidgetItem* item) {
  if (session_.appState().isBusy() || item == nullptr) return;
  if (!playerWindow_) playerWindow_ = new PlayerWindow(session_, sounds_, this);
  if (!playerWindow_->ShowPlayer(static_cast<size_t>(players_->row(item)))) return;
  // Right of the pointer, its bottom above it; from the keyboard, the row stands for the pointer.
  const QRect row = players_->visualItemRect(item);
  QPoint pointer = QCursor::pos();
  if (!players_->viewport()->rect().contains(players_->viewport()->mapFromGlobal(pointer))) {
    pointer = players_->viewport()->mapToGlobal(row.center());
  }
  const QRect frame = playerWindow_->frameGeometry();
  const QRect screen = playerWindow_->screen()->availableGeometry();
  const int left = std::clamp(pointer.x() + 20, screen.left(),
                              std::max(screen.left(), screen.right() - frame.width()));
  const int top = std::clamp(pointer.y() - 20 - frame.height(), screen.top(),
                             std::max(screen.top(), screen.bottom() - frame.height()));
  playerWindow_->move(left, top);
}

void PropertiesWindow::ShowFullSize() {
  if (!view_.levelShot.picture || !ShowsFullSize(*view_.levelShot.picture)) return;
  auto* window = new PictureWindow(picture_, this);
  window->setObjectName(QStringLiteral("Full Size Level Shot"));
  window->show();
  window->activateWindow();
}

void PropertiesWindow::closeEvent(QCloseEvent* event) {
  if (session_.appState().isBusy()) {
    event->ignore();
    return;
  }
  if (sounds_.stopMapMusic) sounds_.stopMapMusic();
  if (playerWindow_) playerWindow_->close();
  emit closed();
  QDockWidget::closeEvent(event);
}

void PropertiesWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QDockWidget::keyPressEvent(event);
}

bool PropertiesWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == levelShot_ && event->type() == QEvent::MouseButtonRelease) {
    ShowFullSize();
    return true;
  }
  // Leaving a list clears its selection.
  if ((watched == players_ || watched == course_) && event->type() == QEvent::FocusOut) {
    static_cast<QListWidget*>(watched)->clearSelection();
  }
  return QDockWidget::eventFilter(watched, event);
}

}  // namespace rw::app
