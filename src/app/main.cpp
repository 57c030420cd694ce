#include <QApplication>

#include "app/program.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Reelwright"));
  QApplication::setApplicationVersion(QStringLiteral("1.32"));
  return rw::app::RunProgram(QApplication::arguments());
}
