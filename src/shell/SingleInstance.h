#pragma once

#include <QLocalServer>
#include <QObject>

// One Quillfen per user: a second start asks the running one to bring its
// main window forward, then exits.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);

    // True when another instance was running and has been told to activate.
    bool handOverToRunningInstance();
    // Starts listening for later instances.
    bool listen();

signals:
    void activationRequested();

private:
    QString m_name;
    QLocalServer m_server;
};
