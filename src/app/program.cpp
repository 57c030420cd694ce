#include "app/program.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <memory>

#include "app/command_line_files.h"
#include "app/gui_front_end.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/start_up_picture.h"
#include "app/termination_signal.h"
#include "host/posix/posix_file_system.h"

namespace rw::app {

namespace {

// --home DIR picks the program folder, as on the command line.
std::string HomeOption(const QStringList& arguments) {
  const qsizetype at = arguments.indexOf(QStringLiteral("--home"));
  return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toStdString() : std::string();
}

}  // namespace

int RunProgram(const QStringList& arguments) {
  const std::string home = HomeOption(arguments);
  // The folder the session takes, so that the guard and the session agree.
  const std::string programFolder = Session::ProgramFolder(home);
  SingleInstance instance(QString::fromStdString(programFolder));
  const QStringList commandLine = WithAbsoluteFiles(arguments);
  if (instance.HandOver(commandLine)) return 0;
  instance.Listen();
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/reelwright.png")));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.reelwright.Reelwright"));

  GuiFrontEnd frontEnd;
  PosixFileSystem files;
  const bool noSplash =
      ReadNoSplash(files, frontEnd.messages(), DeriveProgramPaths(programFolder, "").configFile);
  std::unique_ptr<StartUpPicture> picture;
  if (ShowsStartUpPicture(noSplash, arguments.size() > 1 ? arguments[1].toStdString() : "")) {
    picture = std::make_unique<StartUpPicture>();
    picture->show();
    picture->Play();
  }

  const SessionOptions options{home, "", true, true};
  const std::unique_ptr<Session> session = Session::Open(options, frontEnd.seams());
  if (!session) {
    Session::ForgetConfiguration(options);
    return 1;
  }
  session->LoadTree();
  session->RemoveTemporaryFiles();

  MainWindow window(*session);
  frontEnd.messages().SetParent(&window);
  session->sound().StartUp(frontEnd.soundDriver(), frontEnd.soundTimer());
  // Queued: opening a file serves the event loop, which must not delete the socket that is
  // still delivering the command line.
  QObject::connect(
      &instance, &SingleInstance::commandLineReceived, &window,
      [&window](const QStringList& received) {
        window.ComeToFront();
        for (const QString& file : FilesOf(received)) window.OpenFile(file);
      },
      Qt::QueuedConnection);
  TerminationSignal termination;
  QObject::connect(&termination, &TerminationSignal::requested, &window, &MainWindow::EndOnRequest);
  if (picture) picture->finish(&window);
  window.show();
  QTimer::singleShot(0, &window, [&window, files = FilesOf(commandLine)] {
    window.FirstListing();
    for (const QString& file : files) window.OpenFile(file);
    window.ShowTipOfTheDay();
  });
  return QApplication::exec();
}

}  // namespace rw::app
