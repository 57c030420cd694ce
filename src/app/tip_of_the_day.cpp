#include "app/tip_of_the_day.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

namespace rw::app {

namespace {

const char* const kTips[] = {
    "Drop a folder from your file manager onto the folder tree: it becomes a new branch, and "
    "every sub-folder that holds demos shows in black.",
    "Demos inside ZIP, PK3 and self-extracting archives are listed beside the plain ones; "
    "the \"Archive Location\" column tells where inside the archive they lie.",
    "A folder is read once: its summaries are kept in the file \"rwt_scan\" inside it, so the "
    "next listing of it is immediate.",
    "Press Escape to stop a long listing. Select the folder again to list it in full.",
    "Click a column header to sort by it; click it again to reverse the order. The order, the "
    "widths and the places of the columns are kept until the next start.",
    "Drag demos from the demo list to the play list to build your own show; drag a play list "
    "row onto another to move it, or back to the demo list to take it out.",
    "Press F2 to give a demo file a new name; the extension of its game version is added for "
    "you. Turn read-only mode off first.",
    "Drag demos onto a folder of the tree to move their files there.",
};
constexpr int kTipCount = static_cast<int>(sizeof kTips / sizeof kTips[0]);

}  // namespace

TipOfTheDay::TipOfTheDay(bool showAtStartUp, QWidget* parent)
    : QDialog(parent),
      tip_(new QLabel(this)),
      showAtStartUp_(new QCheckBox(QStringLiteral("&Show tips at start-up"), this)),
      index_(QRandomGenerator::global()->bounded(kTipCount)) {
  setWindowTitle(QStringLiteral("Tip of the Day"));
  setAccessibleName(windowTitle());
  tip_->setWordWrap(true);
  tip_->setMinimumSize(360, 90);
  tip_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  tip_->setText(QString::fromUtf8(kTips[index_]));
  showAtStartUp_->setChecked(showAtStartUp);
  showAtStartUp_->setAccessibleName(QStringLiteral("Show tips at start-up"));

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* next = buttons->addButton(QStringLiteral("&Next Tip"), QDialogButtonBox::ActionRole);
  next->setAccessibleName(QStringLiteral("Next Tip"));
  QPushButton* close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::AcceptRole);
  close->setAccessibleName(QStringLiteral("Close"));
  close->setDefault(true);
  connect(next, &QPushButton::clicked, this, &TipOfTheDay::NextTip);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(QStringLiteral("<b>Did you know...</b>"), this);
  layout->addWidget(heading);
  layout->addWidget(tip_, 1);
  layout->addWidget(showAtStartUp_);
  layout->addWidget(buttons);
}

void TipOfTheDay::NextTip() {
  index_ = (index_ + 1) % kTipCount;
  tip_->setText(QString::fromUtf8(kTips[index_]));
}

}  // namespace rw::app
