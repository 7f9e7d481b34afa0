#include "shell/StatusInterface.h"

#include "platform/Diagnostics.h"
#include "shell/QuillfenApp.h"
#include "shell/TrayIcon.h"
#include "store/NotificationsStore.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

StatusInterface::StatusInterface(QuillfenApp *app, QObject *parent) : QObject(parent), m_app(app)
{
    m_announced = unreadCount();
    connect(app->store(), &NotificationsStore::itemsChanged, this, &StatusInterface::announce);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (!bus.registerObject(QString::fromLatin1(objectPath), this,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties)
        || !bus.registerService(QString::fromLatin1(serviceName)))
        Diagnostics::print(QStringLiteral("Cannot offer %1 on the session bus: %2")
                               .arg(QLatin1StringView(serviceName), bus.lastError().message()));
}

StatusInterface::~StatusInterface()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QString::fromLatin1(objectPath));
    bus.unregisterService(QString::fromLatin1(serviceName));
}

uint StatusInterface::unreadCount() const
{
    return uint(m_app->store()->unreadCount());
}

void StatusInterface::TogglePanel()
{
    m_app->togglePanel(m_app->trayIcon()->anchor());
}

void StatusInterface::ShowWindow()
{
    m_app->showMainWindow();
}

void StatusInterface::Refresh()
{
    m_app->store()->requestRefresh();
}

void StatusInterface::MarkAllAsRead()
{
    m_app->store()->markAllAsRead();
}

void StatusInterface::announce()
{
    const uint count = unreadCount();
    if (count == m_announced)
        return;
    m_announced = count;
    QDBusMessage signal =
        QDBusMessage::createSignal(QString::fromLatin1(objectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("com.quillfen.App1") << QVariantMap{{QStringLiteral("UnreadCount"), count}}
           << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
