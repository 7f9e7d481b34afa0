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
            emit activationRequested();
            socket->disconnectFromServer();
        }
    });
}

bool SingleInstance::claim()
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
        if (handOverToRunningInstance())
            return false;
        QThread::msleep(100);
    }
    return false;
}

bool SingleInstance::handOverToRunningInstance()
{
    QLocalSocket socket;
    socket.connectToServer(m_socketName);
    if (!socket.waitForConnected(500))
        return false;
    socket.write("activate\n");
    socket.waitForBytesWritten(500);
    socket.disconnectFromServer();
    return true;
}
