#include "shell/SingleInstance.h"

#include "platform/Diagnostics.h"
#include "shell/RuntimeFolder.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <memory>

#include <cstdio>

SingleInstance::SingleInstance(const QString &path, QObject *parent)
    : QObject(parent), m_socketName(socketName(path)), m_lock(path + QStringLiteral(".lock"))
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection())
            serve(socket);
    });
}

void SingleInstance::serve(QLocalSocket *socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (m_connections >= maxConnections) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    ++m_connections;
    connect(socket, &QObject::destroyed, this, [this] { --m_connections; });
    // One request per connection, read once; a client that sends none in
    // time gives its place back.
    auto read = std::make_shared<QMetaObject::Connection>();
    auto asked = std::make_shared<bool>(false);
    QTimer::singleShot(requestDeadlineMs, socket, [socket, asked] {
        if (!*asked)
            socket->abort();
    });
    *read = connect(socket, &QLocalSocket::readyRead, this, [this, socket, read, asked] {
        if (!socket->canReadLine() && socket->bytesAvailable() < 4096)
            return;
        disconnect(*read);
        *asked = true;
        const QByteArray line = socket->readLine(4096).trimmed();
        const QByteArray act = line.split(' ').constFirst();
        if (act == "status" || act == "watch") {
            emit statusRequested(socket, act == "watch");
            return;
        }
        const bool known = act == "activate" || act == "toggle-panel" || act == "show-window" || act == "refresh";
        socket->write(known ? "ok\n" : "unknown request\n");
        socket->disconnectFromServer();
        if (known)
            emit actRequested(QString::fromLatin1(act), QString::fromUtf8(line.mid(act.size() + 1)));
    });
}

std::optional<QString> SingleInstance::userPath()
{
    if (const auto folder = RuntimeFolder::find())
        return *folder + QStringLiteral("/com.quillfen.app");
    return std::nullopt;
}

SingleInstance::Claim SingleInstance::claim(const QString &launchToken, const QByteArray &act)
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
            return Claim::ours;
        }
        if (m_lock.error() != QLockFile::LockFailedError) {
            // Not held by anyone: the lock cannot be made at all.
            std::fputs("Quillfen: cannot create the single-instance lock; running without it\n", stderr);
            return Claim::ours;
        }
        if (const auto answered = handOverToRunningInstance(launchToken, act))
            return *answered ? Claim::handedOver : Claim::noAnswer;
        QThread::msleep(100);
    }
    return Claim::noAnswer;
}

std::optional<bool> SingleInstance::handOverToRunningInstance(const QString &launchToken, const QByteArray &act)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketName);
    if (!socket.waitForConnected(500))
        return std::nullopt;
    QByteArray token = launchToken.toUtf8();
    token.replace('\n', ' ');
    socket.write(act + ' ' + token.trimmed() + '\n');
    // A stopped or hung instance accepts the connection and never answers.
    QDeadlineTimer deadline(answerDeadlineMs);
    while (!socket.canReadLine() && socket.waitForReadyRead(int(deadline.remainingTime()))) { }
    return socket.canReadLine() && socket.readLine().trimmed() == "ok";
}
