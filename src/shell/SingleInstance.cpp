#include "shell/SingleInstance.h"

#include "platform/Diagnostics.h"
#include "shell/RuntimeFolder.h"

#include <QLocalSocket>
#include <QThread>

#include <memory>

#include <cstdio>

SingleInstance::SingleInstance(const QString &path, QObject *parent)
    : QObject(parent), m_socketName(socketName(path)), m_lock(path + QStringLiteral(".lock"))
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // One request per connection, read once.
            auto read = std::make_shared<QMetaObject::Connection>();
            *read = connect(socket, &QLocalSocket::readyRead, this, [this, socket, read] {
                if (!socket->canReadLine() && socket->bytesAvailable() < 4096)
                    return;
                disconnect(*read);
                const QByteArray line = socket->readLine(4096).trimmed();
                const QByteArray act = line.split(' ').constFirst();
                if (act == "status" || act == "watch") {
                    emit statusRequested(socket, act == "watch");
                    return;
                }
                socket->disconnectFromServer();
                if (act == "activate" || act == "toggle-panel" || act == "show-window" || act == "refresh")
                    emit actRequested(QString::fromLatin1(act), QString::fromUtf8(line.mid(act.size() + 1)));
            });
        }
    });
}

std::optional<QString> SingleInstance::userPath()
{
    if (const auto folder = RuntimeFolder::find())
        return *folder + QStringLiteral("/com.quillfen.app");
    return std::nullopt;
}

bool SingleInstance::claim(const QString &launchToken, const QByteArray &act)
{
    // The holder of the lock may still be starting: give it two seconds to
    // listen. A lock left by a crashed instance is taken over at once.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (m_lock.tryLock(0)) {
            // A socket left by a crashed instance would refuse the name.
            QLocalServer::removeServer(m_socketName);
            m_server.setSocketOptions(QLocalServer::UserAccessOption);
            if (!m_server.listen(m_socketName))
                Diagnostics::print(QStringLiteral("Later starts cannot reach this one: ") + m_server.errorString());
            return true;
        }
        if (m_lock.error() != QLockFile::LockFailedError) {
            // Not held by anyone: the lock cannot be made at all.
            std::fputs("Quillfen: cannot create the single-instance lock; running without it\n", stderr);
            return true;
        }
        if (handOverToRunningInstance(launchToken, act))
            return false;
        QThread::msleep(100);
    }
    return false;
}

bool SingleInstance::handOverToRunningInstance(const QString &launchToken, const QByteArray &act)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketName);
    if (!socket.waitForConnected(500))
        return false;
    QByteArray token = launchToken.toUtf8();
    token.replace('\n', ' ');
    socket.write(act + ' ' + token.trimmed() + '\n');
    socket.waitForBytesWritten(500);
    socket.disconnectFromServer();
    return true;
}
