#include "app/find_demos_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "app/display_text.h"
#include "model/column_model.h"

namespace rw::app {

namespace {

// A pause in typing long enough to search.
constexpr int kTypingPauseMs = 300;

// The demo list's columns as the user left them, and "Location" after them.
void ShowColumns(ListView& view, const ColumnLayout& layout) {
  QHeaderView* header = view.horizontalHeader();
  if (IsColumnPermutation(layout.order)) {
    for (int visual = 0; visual < static_cast<int>(kColumnCount); ++visual) {
      header->moveSection(header->visualIndex(layout.order[static_cast<size_t>(visual)]), visual);
    }
  }
  for (int column = 0; column < static_cast<int>(kColumnCount); ++column) {
    const int32_t width = layout.widths[static_cast<size_t>(column)];
    header->setSectionHidden(column, width == 0 && column != kLocationColumn);
    if (width > 0) header->resizeSection(column, width);
  }
  header->moveSection(header->visualIndex(kLocationColumn), static_cast<int>(kColumnCount) - 1);
  header->resizeSection(kLocationColumn, 260);
}

}  // namespace

FindDemosWindow::FindDemosWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window),
      session_(session),
      rows_(session.locale(), session.settings().demoList.columns.sortColumn,
            session.settings().demoList.columns.sortAscending),
      query_(new QLineEdit(this)),
      status_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      results_(new ListView(rows_, QStringLiteral("Found Demos"), this)),
      showInFolder_(new QPushButton(QStringLiteral("&Show in Folder"), this)),
      properties_(new QPushButton(QStringLiteral("&Properties.."), this)) {
  setWindowTitle(QStringLiteral("Find Demos"));
  query_->setAccessibleName(QStringLiteral("Query"));
  query_->setPlaceholderText(
      QStringLiteral("fatal1ty map:q3wcp9 type:ctf rating:>=4 after:2001-05-01 -mod:osp"));
  query_->setClearButtonEnabled(true);
  status_->setAccessibleName(QStringLiteral("Search Status"));
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  progress_->setAccessibleName(QStringLiteral("Listing"));
  progress_->setVisible(false);
  auto* close = new QPushButton(QStringLiteral("&Close"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(status_, 1);
  buttons->addWidget(progress_, 1);
  buttons->addWidget(showInFolder_);
  buttons->addWidget(properties_);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(query_);
  layout->addWidget(results_, 1);
  layout->addLayout(buttons);
  ShowColumns(*results_, session.settings().demoList.columns);
  results_->horizontalHeader()->setSortIndicatorShown(true);
  results_->horizontalHeader()->setSortIndicator(
      session.settings().demoList.columns.sortColumn,
      session.settings().demoList.columns.sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
  results_->installEventFilter(this);
  // Results are dragged onto the play list; nothing is dropped here.
  results_->setAcceptDrops(false);
  resize(960, 520);

  typing_.setSingleShot(true);
  typing_.setInterval(kTypingPauseMs);
  connect(&typing_, &QTimer::timeout, this, &FindDemosWindow::Search);
  connect(query_, &QLineEdit::textEdited, this, [this] { typing_.start(); });
  connect(query_, &QLineEdit::returnPressed, this, &FindDemosWindow::Search);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(results_, &QAbstractItemView::doubleClicked, properties_, &QPushButton::click);
  connect(properties_, &QPushButton::clicked, this, &FindDemosWindow::propertiesRequested);
  connect(showInFolder_, &QPushButton::clicked, this, [this] {
    if (const ListRow* row = SelectedResult()) emit showInFolderRequested(*row);
  });
  connect(results_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    QHeaderView* header = results_->horizontalHeader();
    const bool ascending = header->sortIndicatorSection() != column ||
                           header->sortIndicatorOrder() == Qt::DescendingOrder;
    rows_.SetSort(column, ascending);
    rows_.Resort();
    results_->Reload();
    header->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
  });
  const auto enableButtons = [this] {
    const bool one = results_->selectionModel()->selectedRows().size() == 1;
    showInFolder_->setEnabled(one);
    properties_->setEnabled(one);
  };
  connect(results_->selectionModel(), &QItemSelectionModel::selectionChanged, this, enableButtons);
  connect(&results_->rowModel(), &QAbstractItemModel::modelReset, this, enableButtons);
  enableButtons();
}

void FindDemosWindow::Search() {
  typing_.stop();
  // A search asked for while the folders are being listed runs once that is done.
  if (searching_) {
    searchAgain_ = true;
    return;
  }
  const QString text = query_->text();
  const ParsedQuery parsed = ParseDemoQuery(text.toStdString());
  if (parsed.error) {
    ShowError(QString::fromStdString(QueryErrorText(*parsed.error)));
    return;
  }
  searching_ = true;
  const std::vector<std::string> folders = session_.TreeFolders();
  const bool complete = session_.IndexFolders(folders, false, *this);
  emit foldersListed();
  const FoundRows found = session_.FindDemos(parsed.query, folders, kShownResults);
  rows_.Clear();
  for (const ListRow& row : found.rows) rows_.Append(row);
  results_->Reload();
  for (int column = 0; column < static_cast<int>(kColumnCount); ++column) {
    if (session_.settings().demoList.columns.widths[static_cast<size_t>(column)] < 0) {
      results_->resizeColumnToContents(column);
    }
  }
  QString line =
      QStringLiteral("%1 item(s) found in %2 folder(s).").arg(found.total).arg(folders.size());
  if (found.total > found.rows.size()) {
    line += QStringLiteral(" The first %1 are shown.").arg(found.rows.size());
  }
  if (!complete) line += QStringLiteral(" Listing stopped: folders not yet listed are left out.");
  status_->setStyleSheet({});
  status_->setText(line);
  searching_ = false;
  if (searchAgain_) {
    searchAgain_ = false;
    QTimer::singleShot(0, this, &FindDemosWindow::Search);
  }
}

void FindDemosWindow::ShowError(const QString& text) {
  status_->setStyleSheet(QStringLiteral("color: #c00000"));
  status_->setText(text);
}

const ListRow* FindDemosWindow::SelectedResult() const {
  const QModelIndexList selected = results_->selectionModel()->selectedRows();
  if (selected.size() != 1) return nullptr;
  return &results_->rowModel().RowAt(selected.front().row());
}

void FindDemosWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    // Escape stops a listing; otherwise it closes the window.
    if (searching_) {
      session_.appState().SetEscape();
    } else {
      close();
    }
    return;
  }
  QWidget::keyPressEvent(event);
}

bool FindDemosWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == results_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      properties_->click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void FindDemosWindow::Started() {
  progress_->setRange(0, 0);
  progress_->setVisible(true);
  status_->setVisible(false);
  QApplication::setOverrideCursor(Qt::BusyCursor);
}

void FindDemosWindow::ShowProgress(const ScanProgress& progress) {
  progress_->setRange(0, static_cast<int>(progress.entriesFound));
  progress_->setValue(static_cast<int>(progress.entriesDone));
  progress_->setFormat(QStringLiteral("Listing %1 of %2: %3")
                           .arg(std::min(progress.entriesDone + 1, progress.entriesFound))
                           .arg(progress.entriesFound)
                           .arg(FromName(progress.parsing)));
  // Keeps the window answering; Escape reaches the listing through here.
  QCoreApplication::processEvents();
}

void FindDemosWindow::Finished() {
  progress_->setVisible(false);
  status_->setVisible(true);
  QApplication::restoreOverrideCursor();
}

}  // namespace rw::app
