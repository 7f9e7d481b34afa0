#include "shell/AppStatus.h"

#include "shell/TrayIcon.h"
#include "store/NotificationsStore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>

AppStatus::AppStatus(NotificationsStore *store, TrayIcon *tray, QObject *parent)
    : QObject(parent), m_store(store), m_tray(tray)
{
    // Queued: the tray's tooltip follows the same signals first.
    for (auto signal : {&NotificationsStore::itemsChanged, &NotificationsStore::lastErrorChanged,
                        &NotificationsStore::tokenStatusChanged})
        connect(store, signal, this, &AppStatus::follow, Qt::QueuedConnection);
    m_line = line();
}

QByteArray AppStatus::line() const
{
    const int unread = m_store->unreadCount();
    QString kind = unread > 0 ? QStringLiteral("unread") : QStringLiteral("none");
    if (m_store->tokenStatus() == TokenState::Status::Missing)
        kind = QStringLiteral("no-token");
    else if (m_store->hasError() || m_store->tokenStatus() == TokenState::Status::Unavailable
             || m_store->tokenStatus() == TokenState::Status::Locked)
        kind = QStringLiteral("error");
    const QJsonObject status{{QStringLiteral("text"), QString::number(unread)},
                             {QStringLiteral("tooltip"), m_tray->toolTip()},
                             {QStringLiteral("class"), kind},
                             {QStringLiteral("unread"), unread}};
    return QJsonDocument(status).toJson(QJsonDocument::Compact) + '\n';
}

void AppStatus::serve(QLocalSocket *socket, bool watch)
{
    socket->write(m_line);
    if (!watch) {
        socket->disconnectFromServer();
        return;
    }
    m_watchers.append(socket);
}

void AppStatus::follow()
{
    const QByteArray now = line();
    if (now == m_line)
        return;
    m_line = now;
    m_watchers.removeAll(nullptr);
    for (const QPointer<QLocalSocket> &watcher : std::as_const(m_watchers)) {
        // A watcher that does not read would make its lines pile up here.
        if (watcher->bytesToWrite() > maxPendingBytes)
            watcher->abort();
        else
            watcher->write(m_line);
    }
    m_watchers.removeAll(nullptr);
    emit changed();
}
