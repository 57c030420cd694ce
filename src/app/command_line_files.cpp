#include "app/command_line_files.h"

#include <QFileInfo>

namespace rw::app {

namespace {

bool IsFile(const QStringList& arguments, qsizetype at) {
  if (at == 0) return false;
  if (arguments[at] == QLatin1String("--home")) return false;
  if (arguments[at - 1] == QLatin1String("--home")) return false;
  return at != 1 || !arguments[at].contains(QLatin1String("nosplash"));
}

}  // namespace

QStringList FilesOf(const QStringList& arguments) {
  QStringList files;
  for (qsizetype at = 0; at < arguments.size(); ++at) {
    if (IsFile(arguments, at)) files << arguments[at];
  }
  return files;
}

QStringList WithAbsoluteFiles(QStringList arguments) {
  for (qsizetype at = 0; at < arguments.size(); ++at) {
    if (IsFile(arguments, at)) arguments[at] = QFileInfo(arguments[at]).absoluteFilePath();
  }
  return arguments;
}

}  // namespace rw::app
