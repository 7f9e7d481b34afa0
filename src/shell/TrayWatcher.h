#pragma once

#include <QDBusServiceWatcher>
#include <QObject>
#include <QTimer>

// Waits for a system tray to appear: a StatusNotifierItem watcher registering
// on the session bus, or, on X11, an XEmbed tray manager (looked for every
// few seconds, since Qt tells of no such change).
class TrayWatcher : public QObject {
    Q_OBJECT

public:
    explicit TrayWatcher(QObject *parent = nullptr);

signals:
    // Once; the watcher stops looking then.
    void trayAppeared();

private:
    void check();

    QDBusServiceWatcher m_statusNotifierWatcher;
    QTimer m_poll;
};
