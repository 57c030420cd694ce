#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "app/colored_combo_box.h"
#include "library/user_data_editor.h"
#include "model/list_rules.h"
#include "session/session.h"

namespace rw::app {

// "Edit User Data of " a demo: the point of view, the rating, the web link and the description
// the user keeps on every demo of that name.
class UserDataWindow : public QWidget {
  Q_OBJECT

 public:
  explicit UserDataWindow(Session& session, QWidget* parent = nullptr);

  // Loads the notes of demoName; row is the list row it was opened from, when known, players
  // the player table of the demo read last.
  void Fill(std::optional<RowRef> row, const std::string& demoName, const DemoLocation& location,
            const std::vector<TPlayer>& players);

  // Puts the keyboard focus into a value's control; the description with all its text selected.
  void FocusField(UserDataField field);

  ColoredComboBox* pov() const { return pov_; }
  QLineEdit* rating() const { return rating_; }
  QComboBox* web() const { return web_; }
  QPlainTextEdit* description() const { return description_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  QPushButton* applyButton() const { return apply_; }

  // After each save: what was saved and which row shows it now.
  std::function<void(const UserDataEditor::Saved& saved)> saved;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowState();
  void ShowWebColour();
  void Apply();

  Session& session_;
  UserDataEditor editor_;
  ColoredComboBox* pov_;
  QLineEdit* rating_;
  QComboBox* web_;
  QPlainTextEdit* description_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* apply_;
  bool filling_ = false;
};

}  // namespace rw::app
