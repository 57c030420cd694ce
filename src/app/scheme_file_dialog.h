#pragma once

#include <QString>
#include <QWidget>
#include <functional>

namespace rw::app {

// Asks for a column scheme file to save or to open, starting in folder (the current folder when
// empty); an empty path is a cancel.
using SchemeFileDialog = std::function<QString(QWidget* parent, const QString& folder)>;

// The file dialogs: "MyScheme.rtw" offered for a save, the scheme filter, ".rtw" added to a
// name without it, and a question before an existing file is replaced.
QString AskSchemeToSave(QWidget* parent, const QString& folder);
QString AskSchemeToOpen(QWidget* parent, const QString& folder);

}  // namespace rw::app
