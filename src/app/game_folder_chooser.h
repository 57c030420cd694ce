#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <vector>

#include "host/messages.h"

namespace rw::app {

// Asks for the game folder: says what it wants, offers the installations found, and lets the
// user type or browse for another folder.
class GameFolderChooser : public QDialog {
  Q_OBJECT

 public:
  GameFolderChooser(const QString& title, const QString& explanation,
                    const std::vector<FolderOffer>& offers, const QString& start,
                    QWidget* parent = nullptr);

  QString folder() const { return folder_->text(); }

 private:
  void Browse();

  QListWidget* offers_;
  QLineEdit* folder_;
};

}  // namespace rw::app
