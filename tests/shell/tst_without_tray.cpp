#include "shell/QuillfenApp.h"
#include "shell/TrayIcon.h"

#include "QuickItems.h"
#include "StandInWatcher.h"

#include <QApplication>
#include <QProcess>
#include <QQuickWindow>
#include <QTest>

// Runs on a private X server that has no tray until the test starts one.
class TestWithoutTray : public QObject {
    Q_OBJECT

private slots:
    void mainWindowLeadsToSettingsUntilATrayAppears()
    {
        // A StatusNotifierItem watcher with no host to draw the item counts as no tray.
        StandInWatcher watcher;
        QuillfenApp app;
        app.start();
        QVERIFY(!app.trayIcon()->isVisible());
        QVERIFY(QGuiApplication::quitOnLastWindowClosed());
        auto *main = qobject_cast<QQuickWindow *>(app.mainWindow());
        QVERIFY(main);
        QTRY_VERIFY(main->isVisible());

        QVERIFY(click(main, QStringLiteral("settingsButton")));
        QVERIFY(app.settingsWindow());
        QTRY_VERIFY(app.settingsWindow()->isVisible());

        // A tray host started later is used without a restart.
        QProcess trayer;
        trayer.start(QStringLiteral("trayer"),
                     {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                      QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request"),
                      QStringLiteral("--height"), QStringLiteral("32")});
        QVERIFY(trayer.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(app.trayIcon()->isVisible() && app.trayIcon()->geometry().isValid(), 10000);
        QVERIFY(!QGuiApplication::quitOnLastWindowClosed());
        QCOMPARE(watcher.registrations.size(), 1);
        trayer.kill();
        trayer.waitForFinished();
    }
};

QTEST_MAIN(TestWithoutTray)
#include "tst_without_tray.moc"
