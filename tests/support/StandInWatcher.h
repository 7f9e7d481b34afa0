#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>

// The part of a StatusNotifierWatcher an item talks to, on a connection of
// its own: it records each registration, may refuse them, says whether a
// host is registered (none at first, as a desktop's watcher without a panel)
// and can say that it dropped an item.
class StandInWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)

public:
    StandInWatcher();
    ~StandInWatcher() override;

    QStringList registrations;
    bool refuse = false;

    bool hostRegistered() const { return m_hostRegistered; }
    // A host comes, announced as watchers announce it.
    void registerHost();
    void dropItem(const QString &service);

public slots:
    void RegisterStatusNotifierItem(const QString &service, const QDBusMessage &message);

private:
    QDBusConnection m_connection;
    bool m_hostRegistered = false;
};
