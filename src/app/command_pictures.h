#pragma once

#include <QIcon>
#include <QString>

namespace rw::app {

// A picture of the command strip by its name, bundled with the program (Breeze icons).
inline QIcon CommandPicture(const char* name) {
  return QIcon(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name)));
}

}  // namespace rw::app
