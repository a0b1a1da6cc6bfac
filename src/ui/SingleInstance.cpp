// One running program per user: a second start hands over to the first and ends.
#include "ui/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include "platform/Platform.h"

namespace brisko::ui {
namespace {
constexpr char kActivate[] = "activate\n";
}

QString SingleInstance::DefaultName() {
  QString user = qEnvironmentVariable("USER");
  if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
  // The account id keeps users apart even when the name variable is missing or shared.
  const QString id = QStringLiteral("%1:%2").arg(user, QString::fromStdString(platform::UserAccountId()));
  const QByteArray hash = QCryptographicHash::hash(id.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
  return QStringLiteral("brisko-zip-backup-%1-%2")
      .arg(user.isEmpty() ? QStringLiteral("user") : user, QString::fromLatin1(hash));
}

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() {
  if (server_) server_->close();
}

bool SingleInstance::NotifyRunning(int timeoutMs, int answerWaitMs) const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  // Nobody listening: no instance runs (a channel file a crashed instance left refuses connections).
  if (!socket.waitForConnected(timeoutMs)) return false;
  // Somebody listens: an instance runs, perhaps in the middle of a backup, and answers when it next
  // handles events. It is never taken for dead, which would start a second window beside it.
  socket.write(kActivate);
  socket.waitForBytesWritten(timeoutMs);
  socket.waitForReadyRead(answerWaitMs);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::Listen() {
  if (!server_) {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
  }
  if (server_->listen(name_)) return true;
  // A socket file left by a crashed instance blocks the name; nobody listens on it, so remove it.
  QLocalServer::removeServer(name_);
  return server_->listen(name_);
}

bool SingleInstance::Claim() {
  if (NotifyRunning()) return false;
  if (Listen()) return true;
  // Another instance may have started between the two steps.
  return !NotifyRunning();
}

void SingleInstance::OnNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      const QByteArray line = socket->readAll();
      if (line.startsWith("activate")) {
        socket->write("ok\n");
        socket->flush();
        emit activationRequested();
      }
    });
  }
}

}  // namespace brisko::ui
