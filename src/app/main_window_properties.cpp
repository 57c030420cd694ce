#include <QApplication>
#include <QCursor>
#include <QHeaderView>

#include "app/main_window.h"
#include "model/demo_file_commands.h"
#include "model/list_drag.h"
#include "model/list_rules.h"

namespace rw::app {

namespace {

std::optional<size_t> OneSelected(const RowList& rows) {
  if (SelectedCount(rows) != 1) return std::nullopt;
  size_t index = 0;
  while (!rows[index].selected) ++index;
  return index;
}

}  // namespace

void MainWindow::ShowProperties(ListKind list) {
  const RowList& rows = ViewOf(list).rows().rows();
  const std::optional<size_t> index =
      RowForProperties(session_.files(), session_.messages(), rows, session_.appState());
  if (!index) return;
  OpenProperties(rows[*index].columns,
                 list == ListKind::kDemoList ? SourceList::kDemoList : SourceList::kPlayList);
}

void MainWindow::OpenPropertiesOfRow(const ListRow& row) {
  if (session_.appState().isBusy()) return;
  OpenProperties(row, SourceList::kDemoList);
}

void MainWindow::OpenProperties(const ListRow& row, SourceList source) {
  if (!properties_) {
    properties_ = new PropertiesWindow(session_, sounds, this);
    // Floating at first; the user may dock it at either side.
    properties_->setFloating(true);
    properties_->hide();
    addDockWidget(Qt::RightDockWidgetArea, properties_);
    properties_->playDemo = [this](const ListRow& demo) { session_.PlayOneDemo(demo, {}); };
    properties_->changePlayList = [this](const ListRow& demo, PlaylistButton action) {
      ChangePlayList(demo, action);
    };
    properties_->editUserData = [this](const ListRow& demo) { EditUserDataOf(std::nullopt, demo); };
    // While the window is open, rows are not dragged between the lists.
    connect(properties_, &PropertiesWindow::closed, this, [this] {
      // It is deleted once the close has been handled.
      properties_ = nullptr;
      demoList_->setDragEnabled(true);
      playList_->setDragEnabled(true);
      if (userData_) userData_->close();
    });
    demoList_->setDragEnabled(false);
    playList_->setDragEnabled(false);
  }
  properties_->ShowRow(row, source);
}

void MainWindow::ChangePlayList(const ListRow& row, PlaylistButton action) {
  RowList& plays = playList_->rows().rows();
  if (action == PlaylistButton::kAdd) {
    SetPlayListVisible(true);
    AppendToPlayList(plays, row);
  } else {
    RemoveSelected(plays);
  }
  playList_->Reload();
  if (!plays.empty())
    playList_->scrollTo(playList_->model()->index(static_cast<int>(plays.size()) - 1, 0));
  ShowPanels();
}

void MainWindow::EditUserData(ListKind list) {
  const RowList& rows = ViewOf(list).rows().rows();
  const std::optional<size_t> index = OneSelected(rows);
  if (!index) return;
  EditUserDataOf(RowRef{list, *index}, rows[*index].columns);
}

bool MainWindow::MakeUserDataWindow() {
  if (userData_) return false;
  userData_ = new UserDataWindow(session_, this);
  userData_->saved = [this](const UserDataEditor::Saved& saved) { ShowSavedNotes(saved); };
  return true;
}

void MainWindow::EditUserDataOf(std::optional<RowRef> row, const ListRow& columns) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // The properties window has read that demo already.
  if (!properties_) session_.ReadRowDemo(columns);
  QApplication::restoreOverrideCursor();
  if (MakeUserDataWindow()) {
    const ListView& view = row && row->list == ListKind::kPlayList ? *playList_ : *demoList_;
    const int left =
        view.mapToGlobal(QPoint(0, 0)).x() + view.horizontalHeader()->sectionSize(0) + 10;
    userData_->move(left, std::max(0, QCursor::pos().y() - userData_->frameGeometry().height()));
  }
  userData_->Fill(row, columns[kDemonameColumn], LocationOfRow(columns),
                  session_.reader().State().Players);
}

void MainWindow::EditUserDataAtCell(const QModelIndex& index) {
  const std::optional<UserDataField> field = FieldOfColumn(static_cast<size_t>(index.column()));
  if (!field || properties_ || session_.appState().isBusy()) return;
  demoList_->selectRow(index.row());
  const ListRow& columns = demoList_->rowModel().RowAt(index.row());
  QApplication::setOverrideCursor(Qt::WaitCursor);
  session_.ReadRowDemo(columns);
  QApplication::restoreOverrideCursor();
  if (MakeUserDataWindow()) {
    const QPoint pointer = QCursor::pos();
    userData_->move(pointer.x() + demoList_->columnWidth(index.column()),
                    pointer.y() - userData_->frameGeometry().height() / 2);
  }
  userData_->Fill(RowRef{ListKind::kDemoList, static_cast<size_t>(index.row())},
                  columns[kDemonameColumn], LocationOfRow(columns),
                  session_.reader().State().Players);
  userData_->FocusField(*field);
}

void MainWindow::ShowSavedNotes(const UserDataEditor::Saved& saved) {
  // Only the notes' cells changed: the rows, the selection and the current row stay.
  if (saved.row) ViewOf(saved.row->list).rowModel().ColumnsChanged(kPovColumn, kDescriptionColumn);
  if (properties_) properties_->RefreshUserTab();
}

}  // namespace rw::app
