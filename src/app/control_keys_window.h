#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <optional>

#include "session/session.h"

namespace rw::app {

// "Playback Control Keys": the six game keys that steer a playing demo's speed. Confirming
// hands the fields to the session, which unbinds the keys that changed.
class ControlKeysWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kKeyCount = 6;

  explicit ControlKeysWindow(Session& session, QWidget* parent = nullptr);

  // The fields in the order fast forward, slow motion, faster, slower, pause, next demo.
  QLineEdit* field(int key) const { return fields_[static_cast<size_t>(key)]; }
  // "&Default", "&OK" or "&Cancel"; nullptr for another text.
  QPushButton* button(const QString& caption) const;

  void accept() override;

 private:
  void ShowKeys(const ControlKeys& keys);
  // The keys as the game reads them; nullopt when one holds a character it cannot read.
  std::optional<ControlKeys> TypedKeys() const;

  Session& session_;
  std::array<QLineEdit*, kKeyCount> fields_;
  QList<QPushButton*> buttons_;
};

// "Demo Playback Control Keys..": the window, modal, with the current keys.
void EditControlKeys(Session& session, QWidget* parent);

}  // namespace rw::app
