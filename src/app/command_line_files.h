#pragma once

#include <QStringList>

namespace rw::app {

// The files a command line names: every argument but the program, "--home DIR" and a first
// argument holding "nosplash". The file manager starts the program with the files a person
// opened.
QStringList FilesOf(const QStringList& arguments);
// The command line with its files made absolute against this process's folder, so that the
// running copy it is handed to finds them.
QStringList WithAbsoluteFiles(QStringList arguments);

}  // namespace rw::app
