#pragma once

#include <QDialog>
#include <QString>

namespace rw::app {

// "&About": the program's name and version, its licence and the libraries it is built on.
class AboutWindow : public QDialog {
  Q_OBJECT

 public:
  explicit AboutWindow(QWidget* parent = nullptr);
};

// The libraries with the versions this build was compiled against, one per line.
QString LibraryVersions();

void ShowAbout(QWidget* parent);

}  // namespace rw::app
