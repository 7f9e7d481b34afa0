#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>

class NotificationsStore;
#include <QLocalSocket>
class TrayIcon;

// The one line a status bar reads (waybar's custom module, polybar,
// i3blocks): {"text": "<unread>", "tooltip": "<the tray's tooltip>",
// "class": "unread" | "none" | "error" | "no-token", "unread": <n>}.
// Answers status requests, and writes a new line to every watcher when the
// line changes.
class AppStatus : public QObject {
    Q_OBJECT

public:
    // A watcher with more than this waiting to be sent is dropped.
    static constexpr qint64 maxPendingBytes = 64 * 1024;

    AppStatus(NotificationsStore *store, TrayIcon *tray, QObject *parent = nullptr);

    QByteArray line() const;
    // Writes the line; a watcher gets every later change too, until it hangs
    // up or stops reading.
    void serve(QLocalSocket *socket, bool watch);

signals:
    void changed();

private:
    void follow();

    NotificationsStore *m_store;
    TrayIcon *m_tray;
    QByteArray m_line;
    QList<QPointer<QLocalSocket>> m_watchers;
};
