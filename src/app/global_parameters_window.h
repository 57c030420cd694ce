#pragma once

#include <QDialog>
#include <QLineEdit>

#include "session/session.h"

namespace rw::app {

// "Add global parameter(s) for executing Q3A": the text put in front of the game's command
// line at every start.
class GlobalParametersWindow : public QDialog {
  Q_OBJECT

 public:
  explicit GlobalParametersWindow(Session& session, QWidget* parent = nullptr);

  QLineEdit* field() const { return field_; }
  void accept() override;

 private:
  Session& session_;
  QLineEdit* field_;
};

// "Global Command Line Parameters..": the window, modal, with the current parameters.
void EditGlobalParameters(Session& session, QWidget* parent);

}  // namespace rw::app
