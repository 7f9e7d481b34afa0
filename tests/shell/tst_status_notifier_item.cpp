#include "shell/TrayIcon.h"
#include "shell/tray/StatusNotifierItem.h"

#include "shell/tray/DBusTrayTypes.h"

#include "StandInWatcher.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

namespace {

// What a host hears from the item.
class HostEar : public QObject {
    Q_OBJECT

signals:
    void heard(const QString &status);

public slots:
    void hear(const QString &status) { emit heard(status); }
};

// A call as a host makes it, from a connection of its own, answered while
// the event loop runs.
QDBusMessage hostCall(const QString &service, const QString &path, const QString &interface, const QString &method,
                      const QVariantList &arguments)
{
    QDBusConnection host = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("host"));
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(arguments);
    QDBusPendingCall pending = host.asyncCall(call, 5000);
    if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 6000))
        return {};
    return pending.reply();
}

QVariant itemProperty(const StatusNotifierItem &item, const QString &name)
{
    const QDBusMessage reply = hostCall(item.serviceName(), QStringLiteral("/StatusNotifierItem"),
                                        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                                        {QStringLiteral("org.kde.StatusNotifierItem"), name});
    return reply.arguments().isEmpty() ? QVariant() : reply.arguments().at(0).value<QDBusVariant>().variant();
}

} // namespace

class TestStatusNotifierItem : public QObject {
    Q_OBJECT

private slots:
    void statusFollowsAttention_data()
    {
        QTest::addColumn<bool>("attention");
        QTest::addColumn<QString>("status");
        QTest::newRow("unread") << true << "NeedsAttention";
        QTest::newRow("all read") << false << "Active";
    }

    void statusFollowsAttention()
    {
        QFETCH(bool, attention);
        QFETCH(QString, status);
        QMenu menu;
        StatusNotifierItem item(&menu);
        item.setNeedsAttention(!attention);
        HostEar ear;
        QSignalSpy heard(&ear, &HostEar::heard);
        QVERIFY(QDBusConnection::sessionBus().connect(item.serviceName(), QStringLiteral("/StatusNotifierItem"),
                                                      QStringLiteral("org.kde.StatusNotifierItem"),
                                                      QStringLiteral("NewStatus"), &ear, SLOT(hear(QString))));
        item.setNeedsAttention(attention);
        item.setToolTip(QStringLiteral("Quillfen: 4 unread"), QStringLiteral("github.com: 1 unread"));
        QTRY_COMPARE(heard.size(), 1);
        QCOMPARE(heard.at(0).at(0).toString(), status);
        QCOMPARE(itemProperty(item, QStringLiteral("Status")).toString(), status);
        QCOMPARE(itemProperty(item, QStringLiteral("Category")).toString(), QStringLiteral("Communications"));
        const auto toolTip = qdbus_cast<DBusToolTip>(itemProperty(item, QStringLiteral("ToolTip")));
        QCOMPARE(toolTip.title, QStringLiteral("Quillfen: 4 unread"));
        QCOMPARE(toolTip.description, QStringLiteral("github.com: 1 unread"));
    }

    // What a host asks of the menu: an entry or property that is not there
    // is an error at once, never a call left to time out.
    void menuAnswers_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("answer");
        QTest::newRow("a label") << "GetProperty" << QVariantList{1, "label"} << "Show";
        QTest::newRow("a default") << "GetProperty" << QVariantList{1, "visible"} << "true";
        QTest::newRow("unknown entry") << "GetProperty" << QVariantList{99, "label"}
                                       << "org.freedesktop.DBus.Error.InvalidArgs";
        QTest::newRow("unknown property")
            << "GetProperty" << QVariantList{1, "colour"} << "org.freedesktop.DBus.Error.InvalidArgs";
        QTest::newRow("the layout") << "GetLayout" << QVariantList{0, -1, QStringList()} << "1";
        QTest::newRow("unknown parent") << "GetLayout" << QVariantList{99, -1, QStringList()}
                                        << "org.freedesktop.DBus.Error.InvalidArgs";
    }

    void menuAnswers()
    {
        QFETCH(QString, method);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, answer);
        QMenu menu;
        menu.addAction(QStringLiteral("Show"));
        StatusNotifierItem item(&menu);
        const QDBusMessage reply = hostCall(item.serviceName(), item.menuPath().path(),
                                            QStringLiteral("com.canonical.dbusmenu"), method, arguments);
        if (reply.type() == QDBusMessage::ErrorMessage) {
            QCOMPARE(reply.errorName(), answer);
        } else {
            QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
            const QVariant first = reply.arguments().at(0);
            const bool variant = first.metaType() == QMetaType::fromType<QDBusVariant>();
            QCOMPARE(variant ? first.value<QDBusVariant>().variant().toString() : first.toString(), answer);
        }
    }

    // The middle click opens the main window; the wheel changes nothing.
    void clicksAndWheel_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<int>("secondary");
        QTest::newRow("middle click") << "SecondaryActivate" << QVariantList{10, 10} << 1;
        QTest::newRow("wheel") << "Scroll" << QVariantList{120, "vertical"} << 0;
    }

    void clicksAndWheel()
    {
        QFETCH(QString, method);
        QFETCH(QVariantList, arguments);
        QFETCH(int, secondary);
        QMenu menu;
        StatusNotifierItem item(&menu);
        QSignalSpy activated(&item, &StatusNotifierItem::activated);
        QSignalSpy secondaryActivated(&item, &StatusNotifierItem::secondaryActivated);
        const QDBusMessage reply = hostCall(item.serviceName(), QStringLiteral("/StatusNotifierItem"),
                                            QStringLiteral("org.kde.StatusNotifierItem"), method, arguments);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(secondaryActivated.size(), secondary);
        QCOMPARE(activated.size(), 0);
    }

    // The pixmap bell for hosts without the icon theme: flat, in one colour
    // that stands out from the panel's, about 16 px in a 22 px cell.
    void bellIsDrawnForThePanel_data()
    {
        QTest::addColumn<QColor>("panel");
        QTest::addColumn<bool>("lightBell");
        QTest::newRow("dark panel") << QColor(0x31, 0x36, 0x3b) << true;
        QTest::newRow("light panel") << QColor(0xef, 0xf0, 0xf1) << false;
    }

    void bellIsDrawnForThePanel()
    {
        QFETCH(QColor, panel);
        QFETCH(bool, lightBell);
        const QPalette before = QApplication::palette();
        QPalette palette = before;
        palette.setColor(QPalette::Window, panel);
        QApplication::setPalette(palette);
        const QImage bell = TrayIcon::bellIcon(false).pixmap(22, 22).toImage();
        QApplication::setPalette(before);
        QCOMPARE(bell.size(), QSize(22, 22));
        QRect drawn;
        int otherSide = 0;
        for (int y = 0; y < bell.height(); ++y) {
            for (int x = 0; x < bell.width(); ++x) {
                const QColor pixel = bell.pixelColor(x, y);
                if (pixel.alpha() == 0)
                    continue;
                drawn |= QRect(x, y, 1, 1);
                // No rim or halo in a colour of the panel's side.
                otherSide += pixel.alpha() > 64 && (pixel.lightnessF() > 0.5) != lightBell;
            }
        }
        QVERIFY2(drawn.width() <= 17 && drawn.height() <= 17,
                 qPrintable(QStringLiteral("%1x%2").arg(drawn.width()).arg(drawn.height())));
        QCOMPARE(otherSide, 0);
    }

    void registersAgainOnlyWhenItsItemIsDropped()
    {
        QMenu menu;
        StatusNotifierItem item(&menu);
        StandInWatcher watcher;
        watcher.registerHost();
        QTRY_COMPARE(watcher.registrations, QStringList{item.serviceName()});

        // Another item dropped, then this one (named as GNOME's extension
        // names an item it found by itself): only this one registers again.
        watcher.dropItem(QStringLiteral(":1.999@/StatusNotifierItem"));
        watcher.dropItem(QDBusConnection::sessionBus().baseService() + QStringLiteral("@/StatusNotifierItem"));
        QTRY_COMPARE(watcher.registrations.size(), 2);
        QCOMPARE(watcher.registrations.last(), item.serviceName());
        QTRY_VERIFY(item.isShown());
    }

    // Shown only once the watcher took the item and a host draws it.
    void shownOnlyWithAHost_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("registered, no host yet") << false;
        QTest::newRow("refused") << true;
    }

    void shownOnlyWithAHost()
    {
        QFETCH(bool, refused);
        StandInWatcher watcher;
        watcher.refuse = refused;
        QMenu menu;
        StatusNotifierItem item(&menu);
        QTRY_COMPARE(watcher.registrations.size(), 1);
        // Time for the watcher's answer and the question about a host.
        QTest::qWait(300);
        QVERIFY(!item.isShown());
        watcher.registerHost();
        QTest::qWait(300);
        QCOMPARE(item.isShown(), !refused);
    }
};

QTEST_MAIN(TestStatusNotifierItem)
#include "tst_status_notifier_item.moc"
