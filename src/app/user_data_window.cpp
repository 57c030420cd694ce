#include "app/user_data_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/display_text.h"
#include "text/web_link.h"

namespace rw::app {

namespace {

QLabel* Heading(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

UserDataWindow::UserDataWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      session_(session),
      editor_(session.files(), session.messages(), session.paths().userDataFolder),
      pov_(new ColoredComboBox(this)),
      rating_(new QLineEdit(this)),
      web_(new QComboBox(this)),
      description_(new QPlainTextEdit(this)),
      ok_(new QPushButton(QStringLiteral("&OK"), this)),
      cancel_(new QPushButton(QStringLiteral("&Cancel"), this)),
      apply_(new QPushButton(QStringLiteral("&Apply"), this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Edit User Data"));
  pov_->setAccessibleName(QStringLiteral("Point of view"));
  rating_->setAccessibleName(QStringLiteral("Rating"));
  rating_->setMaxLength(3);
  rating_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), rating_));
  rating_->setFixedWidth(rating_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
  web_->setAccessibleName(QStringLiteral("Web"));
  web_->setEditable(true);
  web_->setInsertPolicy(QComboBox::NoInsert);
  for (std::string_view prefix : kWebPrefixes) web_->addItem(FromText(prefix));
  web_->lineEdit()->installEventFilter(this);
  description_->setAccessibleName(QStringLiteral("Description"));
  ok_->setDefault(true);

  auto* fields = new QGridLayout;
  fields->addWidget(Heading(QStringLiteral("Point of view"), pov_, this), 0, 0);
  fields->addWidget(Heading(QStringLiteral("Rating"), rating_, this), 0, 1);
  fields->addWidget(pov_, 1, 0);
  fields->addWidget(rating_, 1, 1);
  fields->addWidget(Heading(QStringLiteral("Web"), web_, this), 2, 0, 1, 2);
  fields->addWidget(web_, 3, 0, 1, 2);
  fields->setColumnStretch(0, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* button : {ok_, cancel_, apply_}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(Heading(QStringLiteral("Description"), description_, this));
  layout->addWidget(description_, 1);
  layout->addLayout(buttons);
  resize(380, 340);

  connect(pov_, &QComboBox::activated, this, [this](int index) {
    if (filling_ || index < 0) return;
    editor_.ChoosePov(static_cast<size_t>(index));
    ShowState();
  });
  connect(rating_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (!editor_.SetRating(ToUserText(text))) rating_->setText(FromUserText(editor_.rating()));
    ShowState();
  });
  connect(web_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (filling_) return;
    editor_.SetWeb(ToUserText(text));
    ShowState();
  });
  connect(description_, &QPlainTextEdit::textChanged, this, [this] {
    if (filling_) return;
    editor_.SetDescription(UserTextLines(description_->toPlainText()));
    ShowState();
  });
  connect(apply_, &QPushButton::clicked, this, [this] { Apply(); });
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (editor_.applyEnabled()) Apply();
    close();
  });
  connect(cancel_, &QPushButton::clicked, this, &QWidget::close);
}

void UserDataWindow::Fill(std::optional<RowRef> row, const std::string& demoName,
                          const DemoLocation& location, const std::vector<TPlayer>& players) {
  filling_ = true;
  editor_.Fill(row, demoName, location, players);
  setWindowTitle(FromName(editor_.caption()));
  pov_->clear();
  for (const std::string& entry : editor_.povEntries()) pov_->addCodedItem(entry);
  rating_->setText(FromUserText(editor_.rating()));
  web_->setEditText(FromUserText(editor_.web()));
  description_->setPlainText(UserTextOfLines(editor_.description()));
  filling_ = false;
  ShowState();
  show();
  raise();
  activateWindow();
}

void UserDataWindow::FocusField(UserDataField field) {
  switch (field) {
    case UserDataField::kPointOfView:
      pov_->setFocus();
      break;
    case UserDataField::kRating:
      rating_->setFocus();
      break;
    case UserDataField::kWeb:
      web_->setFocus();
      break;
    case UserDataField::kDescription:
      description_->setFocus();
      description_->selectAll();
      break;
  }
}

void UserDataWindow::ShowState() {
  const std::optional<size_t> selection = editor_.povSelection();
  // No point of view shows as "<<NO POV ENTRY>>", from where the arrow keys reach the players.
  pov_->setCurrentIndex(selection ? static_cast<int>(*selection) : 0);
  apply_->setEnabled(editor_.applyEnabled());
  ShowWebColour();
}

void UserDataWindow::ShowWebColour() {
  QPalette palette = web_->lineEdit()->palette();
  palette.setColor(QPalette::Text, editor_.webColor() == WebTextColor::kGrey ? QColor(128, 128, 128)
                                                                             : QColor(0, 0, 0));
  web_->lineEdit()->setPalette(palette);
}

void UserDataWindow::Apply() {
  const UserDataEditor::Saved result = session_.ApplyNotes(editor_);
  ShowState();
  if (saved) saved(result);
}

void UserDataWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool UserDataWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == web_->lineEdit() && event->type() == QEvent::FocusIn) {
    editor_.FocusWeb();
    ShowWebColour();
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace rw::app
