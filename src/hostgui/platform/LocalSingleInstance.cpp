#include "platform/LocalSingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

#include <unistd.h>

namespace tov::platform {

namespace {
constexpr int kWaitMs = 1000;
const QByteArray kRestore = QByteArrayLiteral("restore\n");
} // namespace

LocalSingleInstance::LocalSingleInstance(const QString& programFolder) {
    const QByteArray key = QDir(programFolder).canonicalPath().toUtf8() + '|' +
                           QByteArray::number(static_cast<qulonglong>(::getuid()));
    name_ = QStringLiteral("tov2sf-") +
            QString::fromLatin1(
                QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

bool LocalSingleInstance::otherCopyRunning() {
    {
        QLocalSocket probe;
        probe.connectToServer(name_);
        if (probe.waitForConnected(kWaitMs)) {
            probe.disconnectFromServer();
            return true;
        }
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A socket left behind by a copy that died.
        QLocalServer::removeServer(name_);
        server_->listen(name_);
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kRestore) && handler_) {
                    handler_();
                }
            });
        }
    });
    return false;
}

void LocalSingleInstance::restoreOtherCopy(const QString& title) {
    Q_UNUSED(title); // the socket already names the running copy
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(kWaitMs)) {
        socket.write(kRestore);
        socket.waitForBytesWritten(kWaitMs);
        socket.disconnectFromServer();
    }
}

void LocalSingleInstance::onRestoreRequested(std::function<void()> handler) {
    handler_ = std::move(handler);
}

} // namespace tov::platform
