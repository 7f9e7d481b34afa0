#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <optional>

#include <QLocalSocket>

// One Quillfen per user and login. The instance that holds the lock file
// listens on a local socket; a later start hands it what it was started
// for (by default: bring the main window forward), then exits. Two starts
// at the same moment leave one running.
//
// On the socket each request is one line: an act ("activate",
// "toggle-panel", "show-window", "refresh") with the desktop's activation
// token after a blank, or "status" / "watch", which the instance answers
// with status lines on the same connection.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `path` names the lock file and the socket, without a suffix.
    explicit SingleInstance(const QString &path, QObject *parent = nullptr);

    // Where this user's instance lives; absent without a private runtime folder.
    static std::optional<QString> userPath();
    static QString socketName(const QString &path) { return path + QStringLiteral(".socket"); }

    // True when this process is now the one instance. False when another one
    // runs: it has been handed `act`, or does not answer. The token the
    // desktop gave this start lets the running instance's window come
    // forward, even from another workspace.
    bool claim(const QString &launchToken = {}, const QByteArray &act = "activate");

signals:
    // An act of a later start, with its activation token or an empty one.
    void actRequested(const QString &act, const QString &token);
    // A connection asking for the status: once, or on every change. The
    // socket is the receiver's to answer; it goes when the client hangs up.
    void statusRequested(QLocalSocket *socket, bool watch);

private:
    bool handOverToRunningInstance(const QString &launchToken, const QByteArray &act);

    QString m_socketName;
    QLockFile m_lock;
    QLocalServer m_server;
};
