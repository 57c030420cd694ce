#include "app/help_window.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace rw::app {

HelpWindow::HelpWindow(const QString& folder, const QString& page, QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  setWindowTitle(QString::fromLatin1(kTitle));
  setAccessibleName(windowTitle());
  setAttribute(Qt::WA_DeleteOnClose);
  browser_->setAccessibleName(QStringLiteral("Help page"));
  browser_->setOpenExternalLinks(true);
  auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
  auto* back = new QPushButton(QStringLiteral("&Back"), this);
  contents->setAccessibleName(QStringLiteral("Contents"));
  back->setAccessibleName(QStringLiteral("Back"));
  back->setEnabled(false);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(contents, &QPushButton::clicked, browser_, &QTextBrowser::home);
  // F1 toggles the help from here too, as the pages say.
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
          &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addStretch();
  auto* whole = new QVBoxLayout(this);
  whole->addLayout(buttons);
  whole->addWidget(browser_, 1);
  resize(680, 540);

  if (folder.isEmpty()) {
    browser_->setPlainText(
        QStringLiteral("The help pages were not found. They belong in the "
                       "folder share/reelwright/help of the installation."));
    return;
  }
  browser_->setSearchPaths({folder});
  browser_->setSource(QUrl::fromLocalFile(QDir(folder).filePath(page)));
}

QString HelpFolder() {
  const QStringList candidates = {QDir(QCoreApplication::applicationDirPath())
                                      .filePath(QStringLiteral("../share/reelwright/help")),
                                  QStringLiteral(REELWRIGHT_HELP_SOURCE)};
  for (const QString& folder : candidates) {
    if (QFileInfo::exists(QDir(folder).filePath(QStringLiteral("index.html")))) {
      return QDir::cleanPath(folder);
    }
  }
  return {};
}

void ToggleHelp(QWidget* owner) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->windowTitle() == QLatin1String(HelpWindow::kTitle)) {
      window->close();
      return;
    }
  }
  auto* help = new HelpWindow(HelpFolder(), QStringLiteral("index.html"), owner);
  help->show();
}

}  // namespace rw::app
