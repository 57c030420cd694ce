#include "app/main_window.h"

#include "app/column_chooser_window.h"
#include "app/display_text.h"
#include "library/column_scheme.h"

namespace rw::app {

ListView& MainWindow::ViewOf(ListKind list) const {
  return list == ListKind::kDemoList ? *demoList_ : *playList_;
}

ListSettings& MainWindow::SettingsOf(ListKind list) {
  return list == ListKind::kDemoList ? session_.settings().demoList : session_.settings().playList;
}

void MainWindow::ShowColumns(ListView& view, const ListSettings& list) {
  view.setUpdatesEnabled(false);
  ApplyColumns(view, list);
  FitColumns(view, list.columns);
  view.setUpdatesEnabled(true);
}

void MainWindow::ChooseColumns(ListKind kind) {
  ListView& view = ViewOf(kind);
  ListSettings& list = SettingsOf(kind);
  // The user may have dragged headers since the layout was last read.
  StoreColumns(view, list);
  ColumnChooserWindow chooser(kind == ListKind::kDemoList
                                  ? QStringLiteral("Choose Demolist Columns")
                                  : QStringLiteral("Choose Playlist Columns"),
                              list.columns, view.palette().color(QPalette::Base), this);
  connect(&chooser, &ColumnChooserWindow::layoutApplied, this,
          [this, &view, &list] { ShowColumns(view, list); });
  chooser.exec();
}

void MainWindow::SaveColumnScheme(ListKind kind) {
  const QString path = askSchemeToSave(this, schemeFolder_);
  if (path.isEmpty()) return;
  ListSettings& list = SettingsOf(kind);
  StoreColumns(ViewOf(kind), list);
  // A file that cannot be written is not reported.
  rw::SaveColumnScheme(session_.files(), path.toStdString(), list.columns);
  schemeFolder_ = FromName(session_.paths().dataFolder);
}

void MainWindow::LoadColumnScheme(ListKind kind) {
  const QString path = askSchemeToOpen(this, schemeFolder_);
  if (path.isEmpty()) return;
  schemeFolder_ = FromName(session_.paths().dataFolder);
  ListSettings& list = SettingsOf(kind);
  // An unreadable or damaged file leaves the list as it is.
  if (rw::LoadColumnScheme(session_.files(), path.toStdString(), list.columns) ==
      SchemeLoad::kLoaded) {
    ShowColumns(ViewOf(kind), list);
  }
}

}  // namespace rw::app
