#pragma once

#include <QObject>

// Moments after which the world may have moved on without us: the machine
// woke from suspend (logind's PrepareForSleep on the system bus), or the
// network became reachable again. Quiet where neither source exists.
class SystemEvents : public QObject {
    Q_OBJECT

public:
    static SystemEvents &shared();

    // Starts following the network's reachability, once a request could not
    // reach its host. Until then no backend is loaded: the one that works
    // without NetworkManager brings in GIO, a few megabytes that a tray
    // whose requests succeed never needs.
    void followReachability();

signals:
    void resumed();
    void networkReachable();

private:
    SystemEvents();

    bool m_followingReachability = false;
};
