#include <QItemSelectionModel>

#include "app/display_text.h"
#include "app/main_window.h"
#include "model/demo_file_commands.h"

namespace rw::app {

namespace {

// Demos read for their players each time the program waits; a few, so it keeps answering.
constexpr size_t kPlayersReadAtOnce = 4;

}  // namespace

void MainWindow::FilterDemoList(const QString& text) {
  const std::optional<QueryError> error = session_.FilterDemoList(text.toStdString());
  // A text that does not parse leaves the rows as they were and says why.
  const QString why = error ? QString::fromStdString(QueryErrorText(*error)) : QString();
  filterBox_->setToolTip(why);
  filterBox_->setAccessibleDescription(why);
  filterBox_->setStyleSheet(error ? QStringLiteral("QLineEdit { color: #c00000; }") : QString());
  if (error) {
    panels_[1]->setText(why);
    return;
  }
  demoList_->Reload();
}

void MainWindow::ShowFilterCount() {
  const SortedRows& rows = session_.demoList();
  panelTexts_.DemoListFiltered(!rows.filtered() ? std::nullopt
                                                : std::optional<std::pair<size_t, size_t>>(
                                                      {rows.RowCount(), rows.TotalCount()}));
}

void MainWindow::StartReadingPlayers() {
  if (!playerReading_->isActive()) playerReading_->start();
}

void MainWindow::ReadSomePlayers() {
  // Never inside a listing or another long operation.
  if (session_.appState().isBusy()) return;
  if (session_.ReadMissingPlayers(kPlayersReadAtOnce) == 0) {
    playerReading_->stop();
    return;
  }
  // The filter box may now find demos by the players just read.
  if (session_.RefilterDemoList()) demoList_->Reload();
}

void MainWindow::ShowFindDemos() {
  if (!findDemos_) {
    findDemos_ = new FindDemosWindow(session_, this);
    findDemos_->setAttribute(Qt::WA_DeleteOnClose);
    // As from the demo list: one result, not while busy, and its file still there.
    connect(findDemos_, &FindDemosWindow::propertiesRequested, this, [this] {
      const RowList& rows = findDemos_->results()->rows().rows();
      const std::optional<size_t> index =
          RowForProperties(session_.files(), session_.messages(), rows, session_.appState());
      if (index) OpenProperties(rows[*index].columns, SourceList::kDemoList);
    });
    connect(findDemos_, &FindDemosWindow::showInFolderRequested, this, &MainWindow::ShowInFolder);
    connect(findDemos_, &FindDemosWindow::foldersListed, this, &MainWindow::StartReadingPlayers);
  }
  findDemos_->show();
  findDemos_->raise();
  findDemos_->activateWindow();
  findDemos_->queryBox()->setFocus();
}

void MainWindow::ShowInFolder(const ListRow& row) {
  if (session_.appState().isBusy()) return;
  const std::string folder = FolderOfLocation(LocationOfRow(row));
  FolderNode* node = session_.tree().FindNodeByPath(folder);
  if (node == nullptr) return;
  if (!filterBox_->text().isEmpty()) filterBox_->clear();
  const QModelIndex index = treeModel_.IndexOf(node);
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) tree_->expand(up);
  tree_->scrollTo(index);
  // Selecting the node lists its folder, unless the list shows it already.
  tree_->setCurrentIndex(index);
  const RowList& rows = session_.demoList().rows();
  const std::string key = RowKey(row);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (RowKey(rows[i].columns) != key) continue;
    const QModelIndex found = demoList_->model()->index(static_cast<int>(i), 0);
    demoList_->selectionModel()->setCurrentIndex(
        found, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    demoList_->scrollTo(found);
    break;
  }
  raise();
  activateWindow();
  demoList_->setFocus();
}

}  // namespace rw::app
