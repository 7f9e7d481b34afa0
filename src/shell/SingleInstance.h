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
// token after a blank, which the instance answers "ok", or "status" /
// "watch", which it answers with status lines on the same connection. A
// later start waits two seconds at most for the answer. At most
// `maxConnections` are served at once; more are closed at once, and so is
// one that sends no request within five seconds.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    static constexpr int maxConnections = 32;
    static constexpr int answerDeadlineMs = 2000;
    // A connection that sends no request within this is closed.
    static constexpr int requestDeadlineMs = 5000;

    enum class Claim {
        // This process is now the one instance.
        ours,
        // The running instance took the act.
        handedOver,
        // Another instance holds the lock and does not answer.
        noAnswer,
    };

    // `path` names the lock file and the socket, without a suffix.
    explicit SingleInstance(const QString &path, QObject *parent = nullptr);

    // Where this user's instance lives; absent without a private runtime folder.
    static std::optional<QString> userPath();
    static QString socketName(const QString &path) { return path + QStringLiteral(".socket"); }

    // The token the desktop gave this start lets the running instance's
    // window come forward, even from another workspace.
    Claim claim(const QString &launchToken = {}, const QByteArray &act = "activate");

signals:
    // An act of a later start, with its activation token or an empty one.
    void actRequested(const QString &act, const QString &token);
    // A connection asking for the status: once, or on every change. The
    // socket is the receiver's to answer; it goes when the client hangs up.
    void statusRequested(QLocalSocket *socket, bool watch);

private:
    void serve(QLocalSocket *socket);
    // Whether the running instance took it; nullopt when none listens.
    std::optional<bool> handOverToRunningInstance(const QString &launchToken, const QByteArray &act);

    QString m_socketName;
    QLockFile m_lock;
    QLocalServer m_server;
    int m_connections = 0;
};
