#include "platform/DesktopNotifications.h"
#include "platform/Diagnostics.h"

#include <QCoro/QCoroTask>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QTest>

// A session bus that starts the notification daemon on demand, as it starts
// dunst, mako or xfce4-notifyd: nobody owns the name until the first alert.
class TestOnDemandNotifications : public QObject {
    Q_OBJECT

private slots:
    void anActivatableServiceIsUsedAndStarted()
    {
        QStringList diagnostics;
        Diagnostics::setSinkForTesting([&](const QString &line) { diagnostics << line; });
        const QString name = QString::fromLatin1(DesktopNotifications::serviceName);
        QVERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(name).value());

        // Counts as authorized, before it runs.
        QVERIFY(DesktopNotifications::isServiceAvailable());
        const auto query = QCoro::waitFor(DesktopNotifications::queryService());
        QVERIFY(query.available);
        QVERIFY(!query.error);

        // The alert starts the daemon and reaches it.
        DesktopNotifications::post(
            {QStringLiteral("Fix the build"), QStringLiteral("octo/hooks"), QStringLiteral("Mention")});
        const auto received = [] {
            QFile log(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/notifications.log"));
            return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(received(), QByteArray("Fix the build\n"), 10000);
        QVERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(name).value());
        QVERIFY(diagnostics.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestOnDemandNotifications)
#include "tst_on_demand_notifications.moc"
