#include "StandInWatcher.h"

namespace {
const QString serviceName = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString objectPath = QStringLiteral("/StatusNotifierWatcher");
} // namespace

StandInWatcher::StandInWatcher()
    : m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("stand-in-watcher")))
{
    if (!m_connection.registerObject(objectPath, this,
                                     QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties)
        || !m_connection.registerService(serviceName))
        qFatal("cannot own %s: %s", qPrintable(serviceName), qPrintable(m_connection.lastError().message()));
}

StandInWatcher::~StandInWatcher()
{
    m_connection.unregisterService(serviceName);
    m_connection.unregisterObject(objectPath);
    QDBusConnection::disconnectFromBus(QStringLiteral("stand-in-watcher"));
}

void StandInWatcher::RegisterStatusNotifierItem(const QString &service, const QDBusMessage &message)
{
    registrations << service;
    if (refuse) {
        message.setDelayedReply(true);
        m_connection.send(message.createErrorReply(QDBusError::AccessDenied, QStringLiteral("no icons here")));
    }
}

void StandInWatcher::registerHost()
{
    m_hostRegistered = true;
    m_connection.send(
        QDBusMessage::createSignal(objectPath, serviceName, QStringLiteral("StatusNotifierHostRegistered")));
}

void StandInWatcher::dropItem(const QString &service)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(objectPath, serviceName, QStringLiteral("StatusNotifierItemUnregistered"));
    signal << service;
    m_connection.send(signal);
}
