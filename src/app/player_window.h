#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <map>
#include <optional>

#include "app/name_box.h"
#include "app/sound_seam.h"
#include "library/player_description.h"
#include "session/session.h"

namespace rw::app {

// "Player Description": one player of the properties window's demo, its pictures from the
// game's archives, and the user's description of every player of that name.
class PlayerWindow : public QWidget {
  Q_OBJECT

 public:
  PlayerWindow(Session& session, SoundSeam& sounds, QWidget* parent = nullptr);

  // Shows the n-th named player of the demo read last; an unsaved description is dropped.
  bool ShowPlayer(size_t n);

  const PlayerView& view() const { return view_; }
  NameBox* nameBox() const { return nameBox_; }
  // The value beside a caption such as "Score:"; hidden rows are hidden widgets.
  QLabel* value(const QString& caption) const { return values_.at(caption); }
  QLabel* leader() const { return leader_; }
  QLabel* headPicture() const { return head_; }
  QLabel* modelIcon() const { return modelIcon_; }
  QLabel* teamPicture() const { return team_; }
  QPlainTextEdit* description() const { return description_; }
  QPushButton* applyButton() const { return apply_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void AddRow(const QString& caption);
  void SetValue(const QString& caption, const std::string& text, bool shown);
  // The first of the members that loads; a null picture when none does.
  QImage FirstPicture(const std::vector<ArchiveMember>& members) const;
  void ShowPictures();
  bool Apply();

  Session& session_;
  SoundSeam& sounds_;
  PlayerDescriptionEditor editor_;
  PlayerView view_;
  NameBox* nameBox_;
  QLabel* head_;
  QLabel* modelIcon_;
  QLabel* team_;
  QLabel* leader_;
  std::map<QString, QLabel*> captions_;
  std::map<QString, QLabel*> values_;
  QPlainTextEdit* description_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* apply_;
  bool filling_ = false;
};

}  // namespace rw::app
