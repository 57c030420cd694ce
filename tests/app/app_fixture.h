#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "app/gui_front_end.h"
#include "app/main_window.h"
#include "session/session.h"

namespace rw::test {

// A program folder, a trash ($XDG_DATA_HOME/Trash below trashHome()) and a game whose
// baseq3/demos holds the real demos of the test data and
// the bundled sample archive: tdm.dm3, duel.dm_48, sample_tdm.dm3, sample_ffa.dm_48, and in
// demo_pack.zip archived_tdm.dm3 and matches/archived_ffa.dm_48 (as unzip -l lists them).
class AppFixture {
 public:
  AppFixture();

  std::string home() const { return dir_.filePath("home").toStdString(); }
  std::string game() const { return dir_.filePath("game").toStdString(); }
  std::string demos() const { return game() + "/baseq3/demos"; }
  std::string trashHome() const { return dir_.filePath("data").toStdString(); }

  // The configuration of a user who ran the program before (the main window at its designed
  // size) with these lines of "Global" added; before Start.
  void WriteConfiguration(const std::string& global);
  // The configuration of a user who turned read-only mode off; before Start.
  void AllowWriting();
  // A configuration without the main window's size: a first start; before Start.
  void MakeFirstStart();
  // A session and a main window as the program builds them; the first listing has run.
  app::MainWindow& Start();
  // Closes the window as the user does (the exit save runs) and forgets it.
  bool Close();
  // Selects baseq3/demos below the game folder in the tree, which lists it.
  void ListDemos();

  std::unique_ptr<app::GuiFrontEnd> frontEnd;
  std::unique_ptr<Session> session;
  std::unique_ptr<app::MainWindow> window;

 private:
  QTemporaryDir dir_;
};

// Drops the selected rows of source at point of target as a drag of the user does; a point
// with a negative y is on target's empty space below its rows.
void DropRows(app::ListView& source, app::ListView& target, QPoint point = {5, -5});

// The texts of one column of a view, top to bottom.
QStringList ColumnTexts(const QAbstractItemModel& model, int column);
// The first child of parent whose text is text; invalid when there is none.
QModelIndex Child(const QAbstractItemModel& model, const QModelIndex& parent, const QString& text);
// The row whose first column reads name; -1 when there is none.
int RowNamed(const QAbstractItemModel& model, const QString& name);

}  // namespace rw::test
