#include "api/GitHubAPIClient.h"
#include "shell/QuillfenApp.h"
#include "shell/TrayIcon.h"
#include "shell/tray/StatusNotifierItem.h"
#include "credentials/KeychainManager.h"
#include "store/NotificationsStore.h"
#include "updates/SparkleUpdaterService.h"
#include "views/PanelPlacement.h"

#include "BrowserRecorder.h"
#include "FakeGitHubServer.h"
#include "ThreadJson.h"

#include <QApplication>
#include <QProcess>
#include <QScreen>
#include <QWindow>
#include <QTest>

namespace {

// Counts the badge's red in what the tray host really shows.
int redPixels(const QRect &area)
{
    const QImage shot =
        QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 110 && c.blue() < 110;
        }
    }
    return red;
}

// Whether the bell is drawn light (for a dark panel): its opaque pixels' lightness.
bool lightBell(const QIcon &icon)
{
    const QImage bell = icon.pixmap(22, 22).toImage();
    qreal sum = 0;
    int opaque = 0;
    for (int y = 0; y < bell.height(); ++y) {
        for (int x = 0; x < bell.width(); ++x) {
            if (const QColor c = bell.pixelColor(x, y); c.alpha() > 128) {
                sum += c.lightnessF();
                ++opaque;
            }
        }
    }
    return opaque > 0 && sum / opaque > 0.5;
}

QByteArray xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished();
    return process.readAllStandardOutput();
}

// Where the X server shows the tray host (trayer), which grows as it takes
// in icons.
QRect shownTrayArea()
{
    const QByteArray window = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                       QStringLiteral("--class"), QStringLiteral("^trayer$")})
                                  .split('\n')
                                  .constFirst();
    if (window.isEmpty())
        return {};
    QMap<QByteArray, int> values;
    const QByteArray geometry =
        xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::fromLatin1(window)});
    for (const QByteArray &line : geometry.split('\n')) {
        if (const qsizetype equals = line.indexOf('='); equals > 0)
            values[line.left(equals)] = line.mid(equals + 1).toInt();
    }
    return {values.value("X"), values.value("Y"), values.value("WIDTH"), values.value("HEIGHT")};
}

} // namespace

// Runs on a private X server with a real tray host (trayer).
class TestTrayAndWindows : public QObject {
    Q_OBJECT

private slots:
    void panelPlacement()
    {
        const QRect screen(0, 0, 1280, 800);
        // Under an icon at the top right, kept on screen.
        QCOMPARE(PanelPlacement::position({1270, 30}, {420, 500}, screen), QPoint(860, 34));
        // Over an icon at the bottom.
        QCOMPARE(PanelPlacement::position({600, 790}, {420, 500}, screen), QPoint(390, 286));
        // Larger than the space left: pinned to the top.
        QCOMPARE(PanelPlacement::position({10, 10}, {420, 900}, screen), QPoint(0, 0));

        // A click by an edge was on a desktop panel twice as thick; elsewhere
        // nothing is known.
        QCOMPARE(PanelPlacement::workAreaAround({1080, 777}, screen), QRect(0, 0, 1280, 800 - 46));
        QCOMPARE(PanelPlacement::workAreaAround({200, 12}, screen), QRect(0, 24, 1280, 800 - 24));
        QCOMPARE(PanelPlacement::workAreaAround({640, 400}, screen), screen);
        // No click yet: the corner of the edge the work area leaves out, else the desktop's own.
        QCOMPARE(PanelPlacement::trayCorner(screen, QRect(0, 32, 1280, 768), true), QPoint(1279, 32));
        QCOMPARE(PanelPlacement::trayCorner(screen, QRect(0, 0, 1280, 756), false), QPoint(1279, 755));
        QCOMPARE(PanelPlacement::trayCorner(screen, screen, true), QPoint(1279, 799));
        QCOMPARE(PanelPlacement::trayCorner(screen, screen, false), QPoint(1279, 0));
    }

    void iconFollowsTheUnreadCount()
    {
        FakeGitHubServer server;
        GitHubAPIClient::setBaseUrl(server.baseUrl());
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_tray")), std::nullopt);
        server.enqueue({200, threadsBody({{.id = "1"}}), {}, ScriptedResponse::Behaviour::respond});

        QuillfenApp app;
        app.start();
        QTRY_VERIFY_WITH_TIMEOUT(app.trayIcon()->isVisible(), 10000);
        TrayIcon *tray = app.trayIcon();
        QTRY_COMPARE(tray->toolTip(), QStringLiteral("Quillfen: 1 unread"));
        QCOMPARE(tray->statusNotifierItem()->status(), QStringLiteral("NeedsAttention"));
        QCOMPARE(tray->statusNotifierItem()->iconName(), QStringLiteral("quillfen-tray-unread-symbolic"));
        // Docked in the tray host at the top right of the screen.
        QTRY_VERIFY(tray->geometry().isValid());
        QVERIFY2(tray->geometry().top() < 40 && tray->geometry().left() > 640,
                 qPrintable(QStringLiteral("%1,%2").arg(tray->geometry().x()).arg(tray->geometry().y())));
        QTRY_VERIFY(redPixels(tray->geometry()) > 4);

        server.enqueue({200, threadsBody({{.id = "1", .unread = false}}), {}, ScriptedResponse::Behaviour::respond});
        QCoro::waitFor(app.store()->refresh());
        QCOMPARE(tray->toolTip(), QStringLiteral("Quillfen: 0 unread"));
        QCOMPARE(tray->statusNotifierItem()->status(), QStringLiteral("Active"));
        QCOMPARE(tray->statusNotifierItem()->iconName(), QStringLiteral("quillfen-tray-symbolic"));
        QTRY_COMPARE(redPixels(tray->geometry()), 0);

        // The desktop turns dark, and back, while Quillfen runs: the bell follows.
        const QPalette light = QApplication::palette();
        QApplication::setPalette(QPalette(QColor(0x31, 0x36, 0x3b), QColor(0x31, 0x36, 0x3b)));
        QVERIFY(lightBell(tray->statusNotifierItem()->icon()));
        QApplication::setPalette(light);
        QVERIFY(!lightBell(tray->statusNotifierItem()->icon()));

        // The panel drops down under the icon and toggles; the main window is single.
        const QPoint anchor(tray->geometry().center().x(), tray->geometry().bottom());
        app.togglePanel(anchor);
        QTRY_VERIFY(app.panelWindow() && app.panelWindow()->isVisible());
        QVERIFY(app.panelWindow()->y() >= anchor.y());
        // Closed by a click only once the user is looking at it.
        QTRY_VERIFY(app.panelWindow()->isActive());
        app.togglePanel(anchor);
        QVERIFY(!app.panelWindow()->isVisible());
        app.togglePanel(anchor);
        QTRY_VERIFY(app.panelWindow()->isActive());
        // The click that takes the focus away (onto the icon) closes it; the
        // icon's own click right after does not reopen it.
        QWindow elsewhere;
        elsewhere.show();
        elsewhere.requestActivate();
        QTRY_VERIFY(!app.panelWindow()->isVisible());
        app.togglePanel(anchor);
        QVERIFY(!app.panelWindow()->isVisible());
        QTest::qWait(350);
        app.togglePanel(anchor);
        QTRY_VERIFY(app.panelWindow()->isVisible());
        // Closed by Escape, it opens at the next click, however soon.
        QTRY_VERIFY(app.panelWindow()->isActive());
        QTest::keyClick(app.panelWindow(), Qt::Key_Escape);
        QVERIFY(!app.panelWindow()->isVisible());
        app.togglePanel(anchor);
        QVERIFY(app.panelWindow()->isVisible());
        // With no click point (the command line), where the last click put it.
        const QPoint placed = app.panelWindow()->position();
        QTest::keyClick(app.panelWindow(), Qt::Key_Escape);
        app.togglePanel(QPoint());
        QTRY_VERIFY(app.panelWindow()->isVisible());
        QCOMPARE(app.panelWindow()->position(), placed);

        // Opening a window closes the panel.
        app.showMainWindow();
        QVERIFY(!app.panelWindow()->isVisible());
        QWindow *first = app.mainWindow();
        app.showMainWindow();
        QCOMPARE(app.mainWindow(), first);
        first->close();
        QTRY_VERIFY(!app.mainWindow());
        app.showSettings();
        QWindow *settings = app.settingsWindow();
        app.showSettings();
        QCOMPARE(app.settingsWindow(), settings);
    }

    void doubleClickLeavesThePanelOpen()
    {
        QuillfenApp app;
        app.start();
        // A click reaches the icon once Quillfen knows where the tray host shows it.
        // A click reaches the icon once the tray host has taken it in where
        // Quillfen knows it is.
        QTRY_VERIFY(app.trayIcon()->geometry().isValid() && shownTrayArea().contains(app.trayIcon()->geometry()));
        const QPoint centre = app.trayIcon()->geometry().center();
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"),
                                   {QStringLiteral("mousemove"), QString::number(centre.x()),
                                    QString::number(centre.y()), QStringLiteral("click"), QStringLiteral("--repeat"),
                                    QStringLiteral("2"), QStringLiteral("--delay"), QStringLiteral("80"),
                                    QStringLiteral("1")}),
                 0);
        QTRY_VERIFY(app.panelWindow() && app.panelWindow()->isVisible());
        // A negative: the second click, 80 ms after the first, has long been
        // handled by then.
        QTest::qWait(400);
        QVERIFY(app.panelWindow()->isVisible());
    }

    void updateFoundByTheUserIsShown()
    {
        QuillfenApp app;
        BrowserRecorder browser({QStringLiteral("https"), QStringLiteral("http")});
        AppcastItem item;
        item.version = QStringLiteral("9.0");
        item.shortVersionString = QStringLiteral("9.0 <b>beta</b>");
        item.description = QStringLiteral("Faster refresh.");
        item.downloadUrl = QUrl(QStringLiteral("https://quillfen.app/download/9.0"));
        emit SparkleUpdaterService::shared().updateFoundForUser(item);

        QWindow *update = nullptr;
        for (QWindow *window : QGuiApplication::topLevelWindows()) {
            if (window->title() == u"Quillfen Update" && window->isVisible())
                update = window;
        }
        QVERIFY(update);
        QCOMPARE(update->property("version").toString(), QStringLiteral("9.0 <b>beta</b>"));
        // The window's download button asks the host, which opens https only.
        QObject *actions = update->property("actions").value<QObject *>();
        QVERIFY(actions);
        QVERIFY(QMetaObject::invokeMethod(actions, "downloadRequested", Q_ARG(QUrl, item.downloadUrl)));
        QVERIFY(QMetaObject::invokeMethod(actions, "downloadRequested",
                                          Q_ARG(QUrl, QUrl(QStringLiteral("http://quillfen.app/x")))));
        QCOMPARE(browser.opened, QList<QUrl>{item.downloadUrl});
        update->close();
    }
};

QTEST_MAIN(TestTrayAndWindows)
#include "tst_tray_and_windows.moc"
