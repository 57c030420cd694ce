#include "app/game_folder_chooser.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/display_text.h"

namespace rw::app {

GameFolderChooser::GameFolderChooser(const QString& title, const QString& explanation,
                                     const std::vector<FolderOffer>& offers, const QString& start,
                                     QWidget* parent)
    : QDialog(parent), offers_(new QListWidget(this)), folder_(new QLineEdit(this)) {
  setWindowTitle(title);
  setAccessibleName(title);
  auto* text = new QLabel(explanation, this);
  text->setWordWrap(true);

  auto* found = new QLabel(offers.empty() ? QStringLiteral("No installation was found on this "
                                                           "computer; give its folder below.")
                                          : QStringLiteral("&Installations found:"),
                           this);
  found->setBuddy(offers_);
  offers_->setAccessibleName(QStringLiteral("Installations found"));
  offers_->setVisible(!offers.empty());
  for (const FolderOffer& offer : offers) {
    auto* item = new QListWidgetItem(
        FromName(offer.folder) + QStringLiteral("\n    ") + FromName(offer.description), offers_);
    item->setData(Qt::UserRole, FromName(offer.folder));
  }
  connect(offers_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (item != nullptr) folder_->setText(item->data(Qt::UserRole).toString());
  });
  connect(offers_, &QListWidget::itemActivated, this, &QDialog::accept);

  auto* label = new QLabel(QStringLiteral("&Folder:"), this);
  label->setBuddy(folder_);
  folder_->setAccessibleName(QStringLiteral("Game folder"));
  folder_->setText(start);
  folder_->setMinimumWidth(420);
  for (int row = 0; row < offers_->count(); ++row) {
    if (offers_->item(row)->data(Qt::UserRole).toString() == start) offers_->setCurrentRow(row);
  }
  auto* browse = new QPushButton(QStringLiteral("&Browse.."), this);
  browse->setAccessibleName(QStringLiteral("Browse"));
  connect(browse, &QPushButton::clicked, this, &GameFolderChooser::Browse);

  auto* box = new QDialogButtonBox(this);
  QPushButton* ok = box->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = box->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
  ok->setAccessibleName(QStringLiteral("OK"));
  cancel->setAccessibleName(QStringLiteral("Cancel"));
  ok->setDefault(true);
  ok->setEnabled(!start.isEmpty());
  connect(folder_, &QLineEdit::textChanged, ok,
          [ok](const QString& text) { ok->setEnabled(!text.isEmpty()); });
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(folder_, 1);
  row->addWidget(browse);
  auto* whole = new QVBoxLayout(this);
  whole->addWidget(text);
  whole->addWidget(found);
  whole->addWidget(offers_);
  whole->addLayout(row);
  whole->addWidget(box);
  folder_->setFocus();
}

void GameFolderChooser::Browse() {
  const QString start = folder_->text().isEmpty() ? QDir::homePath() : folder_->text();
  const QString chosen = QFileDialog::getExistingDirectory(this, windowTitle(), start);
  if (!chosen.isEmpty()) folder_->setText(chosen);
}

}  // namespace rw::app
