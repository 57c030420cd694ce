#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

namespace rw::app {

// One running copy per user and program folder: a later start hands its command line to the
// running copy over a local socket and ends without showing anything.
class SingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstance(const QString& programFolder, QObject* parent = nullptr);

  // True when a running copy took the command line; this process then ends.
  bool HandOver(const QStringList& arguments);
  // Answers later starts from now on; false when the socket cannot be made or another copy
  // answers there already.
  bool Listen();

 signals:
  void commandLineReceived(const QStringList& arguments);

 private:
  void Answer(QLocalSocket* socket);

  QString name_;
  QLocalServer server_;
};

}  // namespace rw::app
