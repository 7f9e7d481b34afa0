#include "FakeNotificationServer.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {
const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
}

FakeNotificationServer::FakeNotificationServer(QStringList capabilities, QObject *parent)
    : QObject(parent), m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                                  QStringLiteral("fake-notification-server"))),
      m_capabilities(std::move(capabilities))
{
    if (!m_connection.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                     QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties)
        || !m_connection.registerService(serviceName))
        qFatal("cannot own %s: %s", qPrintable(serviceName), qPrintable(m_connection.lastError().message()));
}

FakeNotificationServer::~FakeNotificationServer()
{
    m_connection.unregisterService(serviceName);
    m_connection.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-notification-server"));
}

QStringList FakeNotificationServer::GetCapabilities()
{
    return m_capabilities;
}

uint FakeNotificationServer::Notify(const QString &appName, uint replacesId, const QString &appIcon,
                                    const QString &summary, const QString &body, const QStringList &actions,
                                    const QVariantMap &hints, int expireTimeout)
{
    m_calls.append({appName, replacesId, appIcon, summary, body, hints, expireTimeout, actions, m_nextId});
    emit notified();
    return m_nextId++;
}

void FakeNotificationServer::invokeAction(uint id, const QString &key)
{
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"), serviceName,
                                                     QStringLiteral("ActionInvoked"));
    signal << id << key;
    m_connection.send(signal);
}

void FakeNotificationServer::sendActivationToken(uint id, const QString &token)
{
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"), serviceName,
                                                     QStringLiteral("ActivationToken"));
    signal << id << token;
    m_connection.send(signal);
}

void FakeNotificationServer::close(uint id)
{
    QDBusMessage closed = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"), serviceName,
                                                     QStringLiteral("NotificationClosed"));
    closed << id << uint(2); // dismissed by the user
    m_connection.send(closed);
}

QString FakeNotificationServer::GetServerInformation(QString &vendor, QString &version, QString &specVersion)
{
    vendor = QStringLiteral("Quillfen tests");
    version = QStringLiteral("1");
    specVersion = QStringLiteral("1.2");
    return QStringLiteral("fake");
}

void FakeNotificationServer::setInhibited(bool inhibited)
{
    m_inhibited = inhibited;
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << serviceName << QVariantMap{{QStringLiteral("Inhibited"), inhibited}} << QStringList();
    m_connection.send(signal);
}
