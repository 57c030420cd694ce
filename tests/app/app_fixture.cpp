#include "app_fixture.h"

#include <QMimeData>
#include <QTest>
#include <filesystem>

#include "support/test_files.h"

namespace rw::test {

namespace fs = std::filesystem;

AppFixture::AppFixture() {
  // Deleted demos go to a trash of the test's own, on the file system the demos lie on.
  qputenv("XDG_DATA_HOME", dir_.filePath("data").toLocal8Bit());
  fs::create_directories(demos());
  WriteBytes(game() + "/quake3.exe", "MZ");
  for (const char* name : {"demos/tdm.dm3", "demos/duel.dm_48"}) {
    fs::copy_file(TestDataPath(name), demos() + "/" + fs::path(name).filename().string());
  }
  for (const char* name : {"sample_tdm.dm3", "sample_ffa.dm_48", "demo_pack.zip"}) {
    fs::copy_file(std::string(REELWRIGHT_SOURCE_DIR) + "/samples/demos/" + name,
                  demos() + "/" + name);
  }
  fs::create_directories(home());
  WriteConfiguration("");
}

void AppFixture::WriteConfiguration(const std::string& global) {
  WriteBytes(home() + "/Reelwright.cfg",
             "[Global]\r\nq3a_dir=" + game() + "\r\n" + global +
                 "[MainWindow]\r\nleft=425\r\ntop=339\r\nwidth=836\r\nheight=433\r\n");
}

void AppFixture::AllowWriting() {
  WriteConfiguration("work_readonly=0\r\n");
}

void AppFixture::MakeFirstStart() {
  WriteBytes(home() + "/Reelwright.cfg", "[Global]\r\nq3a_dir=" + game() + "\r\n");
}

app::MainWindow& AppFixture::Start() {
  frontEnd = std::make_unique<app::GuiFrontEnd>();
  session = Session::Open({home(), "", true, true}, frontEnd->seams());
  session->LoadTree();
  window = std::make_unique<app::MainWindow>(*session);
  window->show();
  window->FirstListing();
  return *window;
}

bool AppFixture::Close() {
  const bool closed = window->close();
  window.reset();
  session.reset();
  return closed;
}

void AppFixture::ListDemos() {
  QTreeView& tree = *window->folderTree();
  const QAbstractItemModel& model = *tree.model();
  const QModelIndex demos = Child(model, Child(model, model.index(0, 0, {}), "baseq3"), "demos");
  QVERIFY(demos.isValid());
  tree.setCurrentIndex(demos);
}

void DropRows(app::ListView& source, app::ListView& target, QPoint point) {
  if (point.y() < 0) point.setY(target.viewport()->height() - 5);
  QMimeData mime;
  mime.setData(app::ListView::kRowsMime, QByteArray::number(reinterpret_cast<quintptr>(&source)));
  QDragEnterEvent enter(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target.viewport(), &enter);
  QDropEvent drop(QPointF(point), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target.viewport(), &drop);
}

QModelIndex Child(const QAbstractItemModel& model, const QModelIndex& parent, const QString& text) {
  for (int row = 0; row < model.rowCount(parent); ++row) {
    const QModelIndex index = model.index(row, 0, parent);
    if (index.data().toString() == text) return index;
  }
  return {};
}

int RowNamed(const QAbstractItemModel& model, const QString& name) {
  return static_cast<int>(ColumnTexts(model, 0).indexOf(name));
}

QStringList ColumnTexts(const QAbstractItemModel& model, int column) {
  QStringList texts;
  for (int row = 0; row < model.rowCount(); ++row) {
    texts << model.index(row, column).data().toString();
  }
  return texts;
}

}  // namespace rw::test
