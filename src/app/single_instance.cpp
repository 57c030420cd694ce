#include "app/single_instance.h"

#include <unistd.h>
#include <QCryptographicHash>
#include <QDataStream>
#include <QLocalSocket>

namespace rw::app {

namespace {

constexpr int kWaitMs = 5000;
// A copy that took the connection is alive; it answers once its start-up has reached its
// event loop, which on a busy machine can take a while.
constexpr int kAnswerWaitMs = 60000;

}  // namespace

SingleInstance::SingleInstance(const QString& programFolder, QObject* parent) : QObject(parent) {
  // The folder may hold any characters; its hash names the socket.
  const QByteArray folder =
      QCryptographicHash::hash(programFolder.toUtf8(), QCryptographicHash::Sha256).toHex();
  name_ =
      QStringLiteral("reelwright-%1-%2").arg(getuid()).arg(QString::fromLatin1(folder.left(16)));
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) Answer(socket);
  });
}

bool SingleInstance::HandOver(const QStringList& arguments) {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kWaitMs)) return false;
  QByteArray message;
  QDataStream stream(&message, QIODevice::WriteOnly);
  stream << arguments;
  socket.write(message);
  if (!socket.waitForBytesWritten(kWaitMs) || !socket.waitForReadyRead(kAnswerWaitMs)) {
    return false;
  }
  return socket.readAll() == "1";
}

bool SingleInstance::Listen() {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  // Listening puts a new socket in the place of one there, so a copy that runs is asked first;
  // one that crashed leaves its socket behind, unanswered.
  QLocalSocket probe;
  probe.connectToServer(name_);
  if (probe.waitForConnected(kWaitMs)) return false;
  QLocalServer::removeServer(name_);
  return server_.listen(name_);
}

void SingleInstance::Answer(QLocalSocket* socket) {
  connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
    QStringList arguments;
    QDataStream stream(socket->readAll());
    stream >> arguments;
    socket->write("1");
    socket->flush();
    emit commandLineReceived(arguments);
  });
}

}  // namespace rw::app
