#include "platform/SystemEvents.h"

#include <QCoreApplication>
#include <QDBusAbstractInterface>
#include <QDBusConnection>
#include <QNetworkInformation>

#include <utility>

namespace {

// logind's manager, for its PrepareForSleep signal: true before a suspend,
// false after the resume.
class LoginManager : public QDBusAbstractInterface {
    Q_OBJECT

public:
    explicit LoginManager(QObject *parent)
        : QDBusAbstractInterface(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                                 "org.freedesktop.login1.Manager", QDBusConnection::systemBus(), parent)
    {
    }

signals:
    void PrepareForSleep(bool start);
};

} // namespace

SystemEvents &SystemEvents::shared()
{
    static SystemEvents *events = [] {
        auto *created = new SystemEvents;
        created->setParent(QCoreApplication::instance());
        return created;
    }();
    return *events;
}

SystemEvents::SystemEvents()
{
    if (QDBusConnection::systemBus().isConnected()) {
        auto *login = new LoginManager(this);
        connect(login, &LoginManager::PrepareForSleep, this, [this](bool start) {
            if (!start)
                emit resumed();
        });
    }
}

void SystemEvents::followReachability()
{
    if (std::exchange(m_followingReachability, true))
        return;
    if (QNetworkInformation::loadBackendByName(u"networkmanager")) {
        connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged, this,
                [this](QNetworkInformation::Reachability reachability) {
                    if (reachability == QNetworkInformation::Reachability::Online)
                        emit networkReachable();
                });
    }
}

#include "SystemEvents.moc"
