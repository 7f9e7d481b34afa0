#pragma once

#include <QObject>

// Moments after which the world may have moved on without us: the machine
// woke from suspend (logind's PrepareForSleep on the system bus), or the
// network became reachable again. Quiet where neither source exists.
class SystemEvents : public QObject {
    Q_OBJECT

public:
    static SystemEvents &shared();

    // Starts following the network's reachability through NetworkManager,
    // once a request could not reach its host: a tray whose requests succeed
    // never needs it. Qt's other backend here, GLib's, would bring GIO and its
    // worker threads into the tray for good; without NetworkManager the next
    // poll notices the network instead.
    void followReachability();

signals:
    void resumed();
    void networkReachable();

private:
    SystemEvents();

    bool m_followingReachability = false;
};
