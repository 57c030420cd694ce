#include <QApplication>
#include <QStatusBar>

#include "app/colour_reference.h"
#include "app/display_text.h"
#include "app/main_window.h"
#include "app/tip_of_the_day.h"
#include "model/list_drag.h"
#include "model/list_rules.h"

namespace rw::app {

const ListRow* MainWindow::SelectedRow(ListKind list) const {
  for (const ListItem& item : ViewOf(list).rows().rows()) {
    if (item.selected) return &item.columns;
  }
  return nullptr;
}

void MainWindow::PlayIt(ListKind list) {
  const RowList& rows = ViewOf(list).rows().rows();
  const bool enabled = list == ListKind::kDemoList
                           ? DemoListMenu(rows, session_.settings().global.work_readonly).playIt
                           : PlayListMenu(rows).playIt;
  const ListRow* row = SelectedRow(list);
  if (!enabled || row == nullptr || session_.appState().isBusy()) return;
  PlayButtonSound("sound\\misc\\menu1.wav");
  session_.sound().FadeOutMusic();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  session_.PlayOneDemo(*row, {});
  QApplication::restoreOverrideCursor();
}

void MainWindow::PlayCurrentList(bool exitAfter) {
  if (!PlayListButtonsEnabled(playList_->rows().rows()) || session_.appState().isBusy()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool launched = session_.PlayList(playList_->rows().rows(), {});
  QApplication::restoreOverrideCursor();
  if (launched && exitAfter) close();
}

void MainWindow::AskLoadPlayList() {
  const QString path = dialogs.playListFile(this, false, FromName(session_.paths().playListFolder));
  if (!path.isEmpty()) LoadPlayList(path);
  ShowToggles();
}

void MainWindow::AskSavePlayList() {
  if (!PlayListButtonsEnabled(playList_->rows().rows())) return;
  const QString path = dialogs.playListFile(this, true, FromName(session_.paths().playListFolder));
  if (!path.isEmpty()) session_.SavePlayList(path.toStdString());
}

void MainWindow::Toggle(bool& setting) {
  setting = !setting;
  ShowToggles();
}

void MainWindow::SetReadOnly(bool readOnly) {
  session_.settings().global.work_readonly = readOnly;
  ShowToggles();
}

void MainWindow::SetViewStyle(ListKind list, int style) {
  SettingsOf(list).ViewStyle = style;
  ApplyListStyles(list);
}

void MainWindow::ApplyListStyles(ListKind list) {
  const ListSettings& settings = SettingsOf(list);
  ListView& view = ViewOf(list);
  view.setShowGrid(settings.GridStyle);
  view.SetFullRowSelect(settings.FullRowSelect);
  view.SetHighlightItems(settings.AutoActivateItems);
  view.SetViewStyle(settings.ViewStyle);
}

void MainWindow::ChooseListColour(ListKind list) {
  ListSettings& settings = SettingsOf(list);
  const std::optional<QColor> colour = dialogs.colour(this, ColorOf(settings.Color));
  if (!colour) return;
  settings.Color = ReferenceOf(*colour);
  ShowListColour(list);
}

void MainWindow::ChooseTreeColour() {
  int32_t& setting = session_.settings().virtualFolders.Color;
  const std::optional<QColor> colour = dialogs.colour(this, ColorOf(setting));
  if (!colour) return;
  setting = ReferenceOf(*colour);
  SetBackground(*tree_, setting);
}

void MainWindow::ChooseFolderFontColour(bool demoClass) {
  const VirtualFolderSettings& folders = session_.settings().virtualFolders;
  const std::optional<QColor> colour = dialogs.colour(
      this, ColorOf(demoClass ? folders.DemoFolderFontColor : folders.NonDemoFolderFontColor));
  if (colour && session_.SetFolderFontColour(demoClass, ReferenceOf(*colour))) {
    ShowTree(session_.tree().selected());
  }
}

void MainWindow::RefreshList(bool reparse) {
  if (reparse) {
    session_.ReparseList(*this);
  } else {
    session_.RefreshList(*this);
  }
  demoList_->Reload();
}

void MainWindow::MoveToPlayList() {
  TakeDroppedRows(*playList_, demoList_, -1);
}

bool MainWindow::RefusedWhileReadOnly(const QString& refused) {
  if (!session_.settings().global.work_readonly) return false;
  statusBar()->showMessage(
      QStringLiteral("Read-only mode: %1 Switch it off with the padlock button or with "
                     "Tools, Work in Read Only Mode.")
          .arg(refused),
      10000);
  return true;
}

void MainWindow::DeleteDemos() {
  if (RefusedWhileReadOnly(QStringLiteral("demo files are not deleted."))) return;
  if (session_.DeleteSelectedDemos()) demoList_->Reload();
}

void MainWindow::RemoveFromPlayList() {
  RemoveSelected(playList_->rows().rows());
  playList_->Reload();
  ShowPanels();
}

void MainWindow::RenameRow(ListView& view) {
  const QModelIndexList rows = view.selectionModel()->selectedRows();
  if (rows.size() != 1 || RefusedWhileReadOnly(QStringLiteral("demos are not renamed."))) return;
  if (!session_.CanRenameDemo(static_cast<size_t>(rows.first().row()))) {
    statusBar()->showMessage(QStringLiteral("A demo inside an archive keeps its name."), 10000);
    return;
  }
  view.edit(rows.first());
}

void MainWindow::ShowTree(FolderNode* selected) {
  treeModel_.Reload();
  ShowExpandedNodes();
  if (selected != nullptr) tree_->setCurrentIndex(treeModel_.IndexOf(selected));
}

void MainWindow::NewFolder() {
  if (RefusedWhileReadOnly(QStringLiteral("no folder is made."))) return;
  FolderNode* node = session_.NewFolder();
  if (node == nullptr) return;
  ShowTree(node);
  tree_->edit(treeModel_.IndexOf(node));
}

void MainWindow::RemoveFolder() {
  session_.RemoveFolderNode();
  ShowTree(session_.tree().selected());
}

void MainWindow::RemoveFolderFromDisk() {
  if (RefusedWhileReadOnly(QStringLiteral("no folder is removed from the disk."))) return;
  const std::optional<std::string> status = session_.RemoveFolderFromDisk();
  if (!status) return;
  ShowTree(session_.tree().selected());
  panels_[0]->setText(FromName(*status));
}

void MainWindow::RenameFolder() {
  const QModelIndex current = tree_->currentIndex();
  if (!current.isValid() || RefusedWhileReadOnly(QStringLiteral("folders are not renamed."))) {
    return;
  }
  tree_->edit(current);
}

void MainWindow::AddPathToScan() {
  const QString folder = dialogs.folderToScan(this);
  if (folder.isEmpty()) return;
  FolderNode& branch =
      session_.AddFolderBranch(folder.toStdString(), [this](const std::string& path) {
        panels_[0]->setText(FromName(path));
        QCoreApplication::processEvents();
      });
  ShowTree(&branch);
  ComeToFront();
}

void MainWindow::RescanBranch() {
  ShowTree(session_.RescanBranch([this](const std::string& path) {
    panels_[0]->setText(FromName(path));
    QCoreApplication::processEvents();
  }));
}

void MainWindow::CutNonDemoFolders() {
  session_.CutNonDemoFolders();
  ShowTree(session_.tree().selected());
}

void MainWindow::ExpandAllFolders(bool expand) {
  for (FolderNode* node : session_.tree().FlatOrder()) node->expanded = expand;
  expand ? tree_->expandAll() : tree_->collapseAll();
}

void MainWindow::ShowTip() {
  bool& tipOfDay = session_.settings().global.tip_of_day;
  TipOfTheDay tips(tipOfDay, this);
  tips.exec();
  tipOfDay = tips.showAtStartUp();
}

}  // namespace rw::app
