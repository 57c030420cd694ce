#include "app/command_dialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>

namespace rw::app {

QString AskPlayListFile(QWidget* parent, bool save, const QString& folder) {
  QFileDialog dialog(parent,
                     save ? QStringLiteral("Save Playlist") : QStringLiteral("Load Playlist"));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(QStringLiteral("Quake III Arena Playlist File (*.rwt)"));
  dialog.setDefaultSuffix(QStringLiteral("rwt"));
  dialog.setDirectory(folder);
  dialog.selectFile(QStringLiteral("Mydemos.rwt"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

std::optional<QColor> AskColour(QWidget* parent, const QColor& current) {
  const QColor chosen = QColorDialog::getColor(current, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

QString AskFolderToScan(QWidget* parent) {
  return QFileDialog::getExistingDirectory(parent, QStringLiteral("Select path to scan for demos"),
                                           QDir::homePath());
}

}  // namespace rw::app
