#include "app/control_keys_window.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "app/display_text.h"

namespace rw::app {

namespace {

constexpr std::array<std::string ControlKeys::*, ControlKeysWindow::kKeyCount> kKeys = {
    &ControlKeys::fastForward, &ControlKeys::slowMotion, &ControlKeys::faster,
    &ControlKeys::slower,      &ControlKeys::pause,      &ControlKeys::nextDemo};

constexpr std::array<const char*, ControlKeysWindow::kKeyCount> kLabels = {
    "Fast Forward",   "Slow Motion", "Increase Speed",
    "Decrease Speed", "Pause Demo",  "Jump to next Demo"};

}  // namespace

ControlKeysWindow::ControlKeysWindow(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
  setWindowTitle(QStringLiteral("Playback Control Keys"));
  setAccessibleName(windowTitle());
  auto* form = new QFormLayout;
  for (size_t key = 0; key < kKeys.size(); ++key) {
    fields_[key] = new QLineEdit(this);
    fields_[key]->setAccessibleName(QString::fromLatin1(kLabels[key]));
    fields_[key]->setMinimumWidth(180);
    form->addRow(QString::fromLatin1(kLabels[key]), fields_[key]);
  }
  ShowKeys(session.controlKeys());

  auto* box = new QDialogButtonBox(this);
  QPushButton* defaults = box->addButton(QStringLiteral("&Default"), QDialogButtonBox::ResetRole);
  QPushButton* ok = box->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = box->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
  buttons_ = {defaults, ok, cancel};
  for (QPushButton* button : buttons_) button->setAccessibleName(button->text().remove('&'));
  ok->setDefault(true);
  connect(defaults, &QPushButton::clicked, this, [this] { ShowKeys(ControlKeys{}); });
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* whole = new QVBoxLayout(this);
  whole->addLayout(form);
  whole->addWidget(box);
}

QPushButton* ControlKeysWindow::button(const QString& caption) const {
  for (QPushButton* button : buttons_) {
    if (button->text() == caption) return button;
  }
  return nullptr;
}

void ControlKeysWindow::accept() {
  const std::optional<ControlKeys> keys = TypedKeys();
  if (!keys) {
    session_.messages().Show(windowTitle().toStdString(), kNoGameText, MessageIcon::kInformation);
    return;
  }
  session_.ConfirmControlKeys(*keys);
  QDialog::accept();
}

void ControlKeysWindow::ShowKeys(const ControlKeys& keys) {
  for (size_t key = 0; key < kKeys.size(); ++key) fields_[key]->setText(FromText(keys.*kKeys[key]));
}

std::optional<ControlKeys> ControlKeysWindow::TypedKeys() const {
  ControlKeys keys;
  for (size_t key = 0; key < kKeys.size(); ++key) {
    std::optional<std::string> typed = ToGameText(fields_[key]->text());
    if (!typed) return std::nullopt;
    keys.*kKeys[key] = std::move(*typed);
  }
  return keys;
}

void EditControlKeys(Session& session, QWidget* parent) {
  ControlKeysWindow window(session, parent);
  window.exec();
}

}  // namespace rw::app
