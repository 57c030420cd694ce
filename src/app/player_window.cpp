#include "app/player_window.h"

#include <QCloseEvent>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPropertyAnimation>
#include <QVBoxLayout>

#include "app/display_text.h"
#include "app/picture_window.h"

namespace rw::app {

namespace {

constexpr int kHeadSize = 64;
constexpr int kTeamSize = 48;
constexpr int kModelIconSize = 32;

const QStringList kRows = {
    "Score:",      "Class:",    "Team:",      "Teamscore:", "Accuracy:", "Impressives:",
    "Excellents:", "Perfects:", "Gauntlets:", "Captures:",  "Defends:",  "Assists:"};

QColor TeamColourOf(TeamColour colour) {
  switch (colour) {
    case TeamColour::kRed:
      return Qt::red;
    case TeamColour::kAqua:
      return Qt::cyan;
    case TeamColour::kNone:
      break;
  }
  return Qt::white;
}

}  // namespace

PlayerWindow::PlayerWindow(Session& session, SoundSeam& sounds, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      session_(session),
      sounds_(sounds),
      editor_(session.files(), session.messages(), session.paths().playerFolder),
      nameBox_(new NameBox(this)),
      head_(new QLabel(this)),
      modelIcon_(new QLabel(this)),
      team_(new QLabel(this)),
      leader_(new QLabel(QStringLiteral("Leader"), this)),
      description_(new QPlainTextEdit(this)),
      ok_(new QPushButton(QStringLiteral("&OK"), this)),
      cancel_(new QPushButton(QStringLiteral("&Cancel"), this)),
      apply_(new QPushButton(QStringLiteral("&Apply"), this)) {
  setWindowTitle(QStringLiteral("Player Description"));
  QPalette dark = palette();
  dark.setColor(QPalette::Window, QColor(32, 32, 32));
  dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
  dark.setColor(QPalette::Base, Qt::black);
  dark.setColor(QPalette::Text, Qt::white);
  setPalette(dark);
  setAutoFillBackground(true);

  head_->setFixedSize(kHeadSize, kHeadSize);
  head_->setAlignment(Qt::AlignCenter);
  head_->setAutoFillBackground(true);
  QPalette black = head_->palette();
  black.setColor(QPalette::Window, Qt::black);
  head_->setPalette(black);
  head_->setGraphicsEffect(new QGraphicsOpacityEffect(head_));
  head_->setAccessibleName(QStringLiteral("Head"));
  modelIcon_->setFixedSize(kModelIconSize, kModelIconSize);
  modelIcon_->setAccessibleName(QStringLiteral("Model"));
  team_->setFixedSize(kTeamSize, kTeamSize);
  team_->setAccessibleName(QStringLiteral("Team Picture"));
  QFont bold = leader_->font();
  bold.setBold(true);
  leader_->setFont(bold);

  auto* pictures = new QVBoxLayout;
  pictures->addWidget(head_);
  pictures->addWidget(modelIcon_, 0, Qt::AlignHCenter);
  pictures->addStretch(1);
  pictures->addWidget(team_, 0, Qt::AlignHCenter);
  auto* grid = new QGridLayout;
  for (const QString& caption : kRows) AddRow(caption);
  grid->setVerticalSpacing(1);
  for (int row = 0; row < kRows.size(); ++row) {
    grid->addWidget(captions_[kRows[row]], row, 0);
    grid->addWidget(values_[kRows[row]], row, 1);
  }
  grid->addWidget(leader_, 2, 2);
  grid->setColumnStretch(1, 1);
  auto* middle = new QHBoxLayout;
  middle->addLayout(pictures);
  middle->addLayout(grid, 1);

  description_->setAccessibleName(QStringLiteral("Description"));
  description_->setPlaceholderText(QStringLiteral("Your notes on this player"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* button : {ok_, cancel_, apply_}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(nameBox_, 0, Qt::AlignHCenter);
  layout->addLayout(middle);
  layout->addWidget(description_, 1);
  layout->addLayout(buttons);
  resize(340, 400);

  connect(description_, &QPlainTextEdit::textChanged, this, [this] {
    if (filling_) return;
    editor_.SetLines(UserTextLines(description_->toPlainText()));
    apply_->setEnabled(editor_.applyEnabled());
  });
  connect(apply_, &QPushButton::clicked, this, [this] { Apply(); });
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (apply_->isEnabled() && !Apply()) return;
    close();
  });
  connect(cancel_, &QPushButton::clicked, this, &QWidget::close);
}

void PlayerWindow::AddRow(const QString& caption) {
  captions_[caption] = new QLabel(caption, this);
  auto* value = new QLabel(this);
  value->setAccessibleName(caption.chopped(1));
  value->setTextInteractionFlags(Qt::TextSelectableByMouse);
  values_[caption] = value;
}

void PlayerWindow::SetValue(const QString& caption, const std::string& text, bool shown) {
  values_[caption]->setText(FromText(text));
  values_[caption]->setVisible(shown);
  captions_[caption]->setVisible(shown);
}

bool PlayerWindow::ShowPlayer(size_t n) {
  std::optional<PlayerView> view = session_.DescribePlayer(n);
  if (!view) return false;
  view_ = std::move(*view);
  setWindowTitle(FromText(view_.caption));
  nameBox_->setName(view_.name);

  filling_ = true;
  editor_.Load(view_.name);
  description_->setPlainText(UserTextOfLines(editor_.lines()));
  filling_ = false;
  apply_->setEnabled(editor_.applyEnabled());

  SetValue("Score:", view_.score, true);
  SetValue("Class:", view_.playerClass, true);
  SetValue("Team:", view_.teamName, view_.teamRowsShown);
  QPalette team = values_["Team:"]->palette();
  team.setColor(QPalette::WindowText, TeamColourOf(view_.teamColour));
  values_["Team:"]->setPalette(team);
  leader_->setPalette(team);
  leader_->setVisible(view_.leaderShown);
  SetValue("Teamscore:", view_.redScore + ":" + view_.blueScore, view_.teamRowsShown);
  const std::pair<const char*, const std::string*> awards[] = {
      {"Accuracy:", &view_.accuracy},     {"Impressives:", &view_.impressives},
      {"Excellents:", &view_.excellents}, {"Perfects:", &view_.perfects},
      {"Gauntlets:", &view_.gauntlets},   {"Captures:", &view_.captures},
      {"Defends:", &view_.defends},       {"Assists:", &view_.assists}};
  for (const auto& [caption, text] : awards) SetValue(caption, *text, !text->empty());
  ShowPictures();
  if (sounds_.playTaunt) sounds_.playTaunt(view_.taunts);
  show();
  raise();
  return true;
}

QImage PlayerWindow::FirstPicture(const std::vector<ArchiveMember>& members) const {
  for (const ArchiveMember& member : members) {
    const std::optional<Image> picture = session_.PictureFromArchive(member.archive, member.member);
    if (picture) return ToQImage(*picture);
  }
  return {};
}

void PlayerWindow::ShowPictures() {
  const QImage head = FirstPicture(view_.headPictures);
  head_->setPixmap(head.isNull()
                       ? QPixmap()
                       : QPixmap::fromImage(head.scaled(kHeadSize, kHeadSize, Qt::KeepAspectRatio,
                                                        Qt::SmoothTransformation)));
  auto* fade = new QPropertyAnimation(head_->graphicsEffect(), "opacity", this);
  fade->setDuration(800);
  fade->setStartValue(0.0);
  fade->setEndValue(1.0);
  fade->start(QAbstractAnimation::DeleteWhenStopped);

  QImage model;
  if (!view_.archive.empty()) {
    model = FirstPicture({{view_.archive, "models\\players\\" + view_.modelIcon}});
  }
  modelIcon_->setPixmap(model.isNull() ? QPixmap()
                                       : QPixmap::fromImage(model.scaled(
                                             kModelIconSize, kModelIconSize, Qt::KeepAspectRatio,
                                             Qt::SmoothTransformation)));
  modelIcon_->setVisible(!model.isNull());
  QImage team;
  if (view_.teamPicture) team = FirstPicture({*view_.teamPicture});
  team_->setPixmap(team.isNull()
                       ? QPixmap()
                       : QPixmap::fromImage(team.scaled(kTeamSize, kTeamSize, Qt::KeepAspectRatio,
                                                        Qt::SmoothTransformation)));
}

bool PlayerWindow::Apply() {
  const bool saved = editor_.Apply();
  apply_->setEnabled(editor_.applyEnabled());
  return saved;
}

void PlayerWindow::closeEvent(QCloseEvent* event) {
  if (session_.appState().isBusy()) {
    event->ignore();
    return;
  }
  if (sounds_.releaseTaunt) sounds_.releaseTaunt();
  event->accept();
}

void PlayerWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace rw::app
