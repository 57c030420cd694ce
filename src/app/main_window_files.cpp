#include "app/main_window.h"

#include <QTimer>

#include "app/display_text.h"
#include "demo/demo_generation.h"

namespace rw::app {

void MainWindow::OpenFile(const QString& path) {
  // A copy started meanwhile hands its files over from inside the listing's loop.
  if (listing_ || session_.appState().isBusy()) {
    QTimer::singleShot(100, this, [this, path] { OpenFile(path); });
    return;
  }
  if (path.endsWith(QLatin1String(".rwt"), Qt::CaseInsensitive)) {
    LoadPlayList(path);
    return;
  }
  const std::string demoPath = path.toStdString();
  if (!IsDemoExtension(ExtensionOf(demoPath))) return;
  const std::vector<ListRow> rows = session_.RowsOf(ScanEntry::DemoFile(demoPath), *this);
  // Reading showed "Parsing" where the demo list's summary stays.
  panels_[1]->setText(FromMessage(panelTexts_.panel1()));
  if (!rows.empty()) emit demoFileOpened(rows.front());
}

}  // namespace rw::app
