#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// Owns org.freedesktop.Notifications on the test's session bus, over a
// connection of its own, and records every Notify call.
class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
    // The desktop's do-not-disturb, as GNOME's and Plasma's servers tell it.
    Q_PROPERTY(bool Inhibited READ inhibited)

public:
    struct Call {
        QString appName;
        uint replacesId = 0;
        QString appIcon;
        QString summary;
        QString body;
        QVariantMap hints;
        int expireTimeout = 0;
        QStringList actions;
        uint id = 0;
    };

    explicit FakeNotificationServer(QStringList capabilities = {QStringLiteral("body")}, QObject *parent = nullptr);
    ~FakeNotificationServer() override;

    const QList<Call> &calls() const { return m_calls; }
    // What the server sends when the user clicks an alert or one of its buttons.
    void invokeAction(uint id, const QString &key);
    // What Plasma sends just before the action of a click.
    void sendActivationToken(uint id, const QString &token);
    void close(uint id);
    bool inhibited() const { return m_inhibited; }
    // Announced through PropertiesChanged.
    void setInhibited(bool inhibited);

public slots:
    QStringList GetCapabilities();
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int expireTimeout);
    QString GetServerInformation(QString &vendor, QString &version, QString &specVersion);

signals:
    void notified();

private:
    QDBusConnection m_connection;
    QStringList m_capabilities;
    QList<Call> m_calls;
    uint m_nextId = 1;
    bool m_inhibited = false;
};
