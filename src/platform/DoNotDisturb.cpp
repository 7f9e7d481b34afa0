#include "platform/DoNotDisturb.h"

#include "platform/DesktopNotifications.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace {

const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

} // namespace

DoNotDisturb &DoNotDisturb::shared()
{
    // Goes with the application, before the bus connection it listens on.
    static DoNotDisturb *instance = [] {
        auto *created = new DoNotDisturb;
        created->setParent(QCoreApplication::instance());
        return created;
    }();
    return *instance;
}

DoNotDisturb::DoNotDisturb()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString service = QString::fromLatin1(DesktopNotifications::serviceName);
    bus.connect(service, objectPath, propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    auto *watcher = new QDBusServiceWatcher(service, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &DoNotDisturb::ask);
    ask();
}

void DoNotDisturb::ask()
{
    QDBusMessage get = QDBusMessage::createMethodCall(QString::fromLatin1(DesktopNotifications::serviceName),
                                                      objectPath, propertiesInterface, QStringLiteral("Get"));
    get << QString::fromLatin1(DesktopNotifications::serviceName) << QStringLiteral("Inhibited");
    // Asking must not start a notification daemon that is not running.
    get.setAutoStartService(false);
    auto *call = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *finished) {
        const QDBusPendingReply<QDBusVariant> reply = *finished;
        setInhibited(!reply.isError() && reply.value().variant().toBool());
        finished->deleteLater();
    });
}

void DoNotDisturb::propertiesChanged(const QString &interface, const QVariantMap &changed,
                                     const QStringList &invalidated)
{
    if (interface != QLatin1StringView(DesktopNotifications::serviceName))
        return;
    if (changed.contains(QStringLiteral("Inhibited")))
        setInhibited(changed.value(QStringLiteral("Inhibited")).toBool());
    else if (invalidated.contains(QStringLiteral("Inhibited")))
        ask();
}

void DoNotDisturb::setInhibited(bool inhibited)
{
    if (inhibited == m_inhibited)
        return;
    m_inhibited = inhibited;
    emit inhibitedChanged(inhibited);
}
