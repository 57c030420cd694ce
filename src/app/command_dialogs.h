#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

namespace rw::app {

// A play list file to load, or to save to (asking before an existing file is replaced),
// starting in folder; empty when the user cancelled.
QString AskPlayListFile(QWidget* parent, bool save, const QString& folder);
// A colour chooser opening with current; nullopt when cancelled.
std::optional<QColor> AskColour(QWidget* parent, const QColor& current);
// "Add Path to Scan for Demos": a folder, empty when cancelled.
QString AskFolderToScan(QWidget* parent);

// The dialogs the commands open, replaceable so that tests can answer in the user's place.
struct CommandDialogs {
  std::function<QString(QWidget*, bool, const QString&)> playListFile = AskPlayListFile;
  std::function<std::optional<QColor>(QWidget*, const QColor&)> colour = AskColour;
  std::function<QString(QWidget*)> folderToScan = AskFolderToScan;
};

}  // namespace rw::app
