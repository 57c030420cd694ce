#pragma once

#include <QAction>
#include <QDockWidget>
#include <QFormLayout>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTabWidget>
#include <functional>
#include <map>

#include "app/colored_cell_delegate.h"
#include "app/colored_label.h"
#include "app/player_window.h"
#include "app/sound_seam.h"
#include "app/user_notes_panel.h"
#include "library/properties.h"
#include "session/session.h"

namespace rw::app {

// "Properties of " a demo: its summary and level shot, the server's settings, the players,
// the match log and the user's notes, and what can be done with the demo from there. It floats
// above the main window or docks at its side.
class PropertiesWindow : public QDockWidget {
  Q_OBJECT

 public:
  PropertiesWindow(Session& session, SoundSeam& sounds, QWidget* parent = nullptr);

  // Reads the row's demo again and shows it; source is the list it was opened from. The
  // program is busy until the map music has been asked for.
  void ShowRow(const ListRow& row, SourceList source);
  // The demo's notes changed.
  void RefreshUserTab();

  const PropertiesView& view() const { return view_; }
  // The demo as the window holds it: PropItems without the icon number.
  ListRow row() const;

  QTabWidget* tabs() const { return tabs_; }
  // The value beside a caption such as "Host name:".
  QLabel* value(const QString& caption) const { return values_.at(caption); }
  QLabel* levelShot() const { return levelShot_; }
  ColoredLabel* mapLongName() const { return mapLongName_; }
  QListWidget* playerList() const { return players_; }
  QListWidget* courseList() const { return course_; }
  UserNotesPanel* userNotes() const { return notes_; }
  QAction* playAction() const { return play_; }
  QAction* playlistAction() const { return playlist_; }
  QAction* userDataAction() const { return userData_; }
  QAction* closeAction() const { return close_; }
  PlayerWindow* playerWindow() const { return playerWindow_; }

  // What the tool bar asks of the main window.
  std::function<void(const ListRow& row)> playDemo;
  std::function<void(const ListRow& row, PlaylistButton action)> changePlayList;
  std::function<void(const ListRow& row)> editUserData;

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* MakeGeneralTab();
  QWidget* MakeServerDetailTab();
  QLabel* AddValue(QFormLayout& form, const QString& caption);
  void SetValue(const QString& caption, const std::string& text);
  void ShowLevelShot();
  void ShowPlaylistButton();
  void ShowPlayer(QListWidgetItem* item);
  void ShowFullSize();

  Session& session_;
  SoundSeam& sounds_;
  PropertiesView view_;
  QImage picture_;
  QTabWidget* tabs_;
  std::map<QString, QLabel*> values_;
  QLabel* levelShot_;
  ColoredLabel* mapLongName_;
  QListWidget* players_;
  QListWidget* course_;
  UserNotesPanel* notes_;
  ColoredCellDelegate delegate_;
  ColoredCellDelegate courseDelegate_;
  QAction* play_;
  QAction* playlist_;
  QAction* userData_;
  QAction* close_;
  QPointer<PlayerWindow> playerWindow_;
  bool placed_ = false;
};

}  // namespace rw::app
