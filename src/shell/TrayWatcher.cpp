#include "shell/TrayWatcher.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QSystemTrayIcon>

using namespace std::chrono_literals;

TrayWatcher::TrayWatcher(QObject *parent)
    : QObject(parent), m_statusNotifierWatcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                                               QDBusConnection::sessionBus(),
                                               QDBusServiceWatcher::WatchForRegistration)
{
    connect(&m_statusNotifierWatcher, &QDBusServiceWatcher::serviceRegistered, this, &TrayWatcher::check);
    if (QGuiApplication::platformName() == u"xcb") {
        connect(&m_poll, &QTimer::timeout, this, &TrayWatcher::check);
        m_poll.start(2s);
    }
}

void TrayWatcher::check()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_poll.stop();
    m_statusNotifierWatcher.disconnect(this);
    emit trayAppeared();
}
