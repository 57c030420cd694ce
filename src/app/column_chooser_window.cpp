#include "app/column_chooser_window.h"

#include <QBoxLayout>

namespace rw::app {

ColumnChooserWindow::ColumnChooserWindow(const QString& title, ColumnLayout& layout,
                                         const QColor& background, QWidget* parent)
    : QDialog(parent),
      layout_(layout),
      chooser_(layout),
      checkList_(new QListWidget(this)),
      up_(AddButton(QStringLiteral("&Up"))),
      down_(AddButton(QStringLiteral("&Down"))),
      show_(AddButton(QStringLiteral("&Show"))),
      hide_(AddButton(QStringLiteral("&Hide"))),
      ok_(AddButton(QStringLiteral("&OK"))),
      cancel_(AddButton(QStringLiteral("&Cancel"))),
      apply_(AddButton(QStringLiteral("&Apply"))) {
  setWindowTitle(title);
  setModal(true);
  checkList_->setAccessibleName(QStringLiteral("Columns"));
  checkList_->setSelectionMode(QAbstractItemView::SingleSelection);
  QPalette palette = checkList_->palette();
  palette.setColor(QPalette::Base, background);
  checkList_->setPalette(palette);
  for (size_t i = 0; i < chooser_.entries().size(); ++i) {
    auto* item = new QListWidgetItem(checkList_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  }
  ok_->setDefault(true);

  auto* moves = new QVBoxLayout;
  for (QPushButton* button : {up_, down_, show_, hide_}) moves->addWidget(button);
  moves->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(checkList_, 1);
  top->addLayout(moves);
  auto* closing = new QHBoxLayout;
  closing->addStretch();
  for (QPushButton* button : {ok_, cancel_, apply_}) closing->addWidget(button);
  auto* whole = new QVBoxLayout(this);
  whole->addLayout(top, 1);
  whole->addLayout(closing);
  resize(360, 420);

  connect(checkList_, &QListWidget::currentRowChanged, this, [this](int row) {
    chooser_.Select(row);
    Refresh();
  });
  connect(checkList_, &QListWidget::itemChanged, this, &ColumnChooserWindow::CheckChanged);
  connect(up_, &QPushButton::clicked, this, [this] {
    chooser_.MoveUp();
    Refresh();
  });
  connect(down_, &QPushButton::clicked, this, [this] {
    chooser_.MoveDown();
    Refresh();
  });
  connect(show_, &QPushButton::clicked, this, [this] {
    chooser_.Show();
    Refresh();
  });
  connect(hide_, &QPushButton::clicked, this, [this] {
    chooser_.Hide();
    Refresh();
  });
  connect(apply_, &QPushButton::clicked, this, &ColumnChooserWindow::Apply);
  connect(ok_, &QPushButton::clicked, this, [this] {
    Apply();
    accept();
  });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  Refresh();
}

QPushButton* ColumnChooserWindow::button(const QString& caption) const {
  for (QPushButton* button : buttons_) {
    if (button->text() == caption) return button;
  }
  return nullptr;
}

QPushButton* ColumnChooserWindow::AddButton(const QString& caption) {
  auto* button = new QPushButton(caption, this);
  // Screen readers speak the caption without its mnemonic mark.
  button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
  buttons_.append(button);
  return button;
}

void ColumnChooserWindow::Apply() {
  if (!chooser_.applyEnabled()) return;
  chooser_.Apply(layout_);
  Refresh();
  emit layoutApplied();
}

void ColumnChooserWindow::CheckChanged(QListWidgetItem* item) {
  const int row = checkList_->row(item);
  chooser_.Select(row);
  chooser_.SetChecked(row, item->checkState() == Qt::Checked);
  // A refused uncheck puts the mark back.
  Refresh();
}

void ColumnChooserWindow::Refresh() {
  const QSignalBlocker blocker(checkList_);
  const std::vector<ChooserEntry>& entries = chooser_.entries();
  for (int row = 0; row < checkList_->count(); ++row) {
    QListWidgetItem* item = checkList_->item(row);
    const ChooserEntry& entry = entries[static_cast<size_t>(row)];
    item->setText(QString::fromStdString(entry.header));
    item->setCheckState(entry.checked ? Qt::Checked : Qt::Unchecked);
  }
  checkList_->setCurrentRow(chooser_.selected());
  up_->setEnabled(chooser_.canMoveUp());
  down_->setEnabled(chooser_.canMoveDown());
  show_->setEnabled(chooser_.canShow());
  hide_->setEnabled(chooser_.canHide());
  apply_->setEnabled(chooser_.applyEnabled());
}

}  // namespace rw::app
