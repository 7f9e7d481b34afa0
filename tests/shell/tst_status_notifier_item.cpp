#include "shell/tray/StatusNotifierItem.h"

#include <QDBusConnection>
#include <QMenu>
#include <QTest>

namespace {

// The part of a StatusNotifierWatcher an item talks to: it records each
// registration and can say that it dropped an item.
class StandInWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")

public:
    QStringList registrations;

public slots:
    void RegisterStatusNotifierItem(const QString &service) { registrations << service; }

signals:
    void StatusNotifierItemUnregistered(const QString &service);
};

} // namespace

class TestStatusNotifierItem : public QObject {
    Q_OBJECT

private slots:
    void registersAgainOnlyWhenItsItemIsDropped()
    {
        QMenu menu;
        StatusNotifierItem item(&menu);
        StandInWatcher watcher;
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY(bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                                   QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
        QVERIFY(bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));
        QTRY_COMPARE(watcher.registrations, QStringList{item.serviceName()});

        // Another item dropped, then this one (named as GNOME's extension
        // names an item it found by itself): only this one registers again.
        emit watcher.StatusNotifierItemUnregistered(QStringLiteral(":1.999@/StatusNotifierItem"));
        emit watcher.StatusNotifierItemUnregistered(bus.baseService() + QStringLiteral("@/StatusNotifierItem"));
        QTRY_COMPARE(watcher.registrations.size(), 2);
        QCOMPARE(watcher.registrations.last(), item.serviceName());
        QVERIFY(item.isShown());
    }
};

QTEST_MAIN(TestStatusNotifierItem)
#include "tst_status_notifier_item.moc"
