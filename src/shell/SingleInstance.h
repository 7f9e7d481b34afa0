#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

// One Quillfen per user and login. The instance that holds the lock file
// listens on a local socket; a later start asks it to bring its main window
// forward, then exits. Two starts at the same moment leave one running.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `path` names the lock file and the socket, without a suffix.
    explicit SingleInstance(const QString &path, QObject *parent = nullptr);

    // True when this process is now the one instance. False when another one
    // runs: it has been asked to come forward, or does not answer. The
    // token the desktop gave this start lets the running instance's window
    // come forward, even from another workspace.
    bool claim(const QString &launchToken = {});

signals:
    // With the later start's activation token, or an empty one.
    void activationRequested(const QString &token);

private:
    bool handOverToRunningInstance(const QString &launchToken);

    QString m_socketName;
    QLockFile m_lock;
    QLocalServer m_server;
};
