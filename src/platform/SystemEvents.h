#pragma once

#include <QObject>

// Moments after which the world may have moved on without us: the machine
// woke from suspend (logind's PrepareForSleep on the system bus), or the
// network became reachable again. Quiet where neither source exists.
class SystemEvents : public QObject {
    Q_OBJECT

public:
    static SystemEvents &shared();

signals:
    void resumed();
    void networkReachable();

private:
    SystemEvents();
};
