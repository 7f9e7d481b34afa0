#include "shell/SingleInstance.h"

#include "platform/Diagnostics.h"

#include <QLocalSocket>
#include <QThread>

#include <cstdio>

SingleInstance::SingleInstance(const QString &path, QObject *parent)
    : QObject(parent), m_socketName(path + QStringLiteral(".socket")), m_lock(path + QStringLiteral(".lock"))
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // "activate", then the desktop's token for the later start, if any.
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine() && socket->bytesAvailable() < 4096)
                    return;
                const QByteArray line = socket->readLine(4096).trimmed();
                socket->disconnectFromServer();
                if (line == "activate" || line.startsWith("activate "))
                    emit activationRequested(QString::fromUtf8(line.mid(9)));
            });
        }
    });
}

bool SingleInstance::claim(const QString &launchToken)
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
        if (handOverToRunningInstance(launchToken))
            return false;
        QThread::msleep(100);
    }
    return false;
}

bool SingleInstance::handOverToRunningInstance(const QString &launchToken)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketName);
    if (!socket.waitForConnected(500))
        return false;
    QByteArray token = launchToken.toUtf8();
    token.replace('\n', ' ');
    socket.write("activate " + token.trimmed() + '\n');
    socket.waitForBytesWritten(500);
    socket.disconnectFromServer();
    return true;
}
