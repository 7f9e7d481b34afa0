#include "credentials/KeychainManager.h"
#include "platform/Translations.h"
#include "settings/Preferences.h"
#include "store/NotificationsStore.h"
#include "updates/SparkleUpdaterService.h"
#include "views/panel/NotificationsListModel.h"
#include "views/settings/SettingsViewModel.h"

#include "BrowserRecorder.h"
#include "QmlTestEngine.h"
#include "QuickItems.h"
#include "TestEnvironment.h"

#include <QFont>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QTest>

// One smoke test a window, rendered offscreen against the real keyring: what
// the view models cannot show, that the QML binds to them and that its keys,
// hovers and clicks reach them.
class TestViews : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        prepareQmlEngine(engine);
        SparkleUpdaterService::shared().setFeedURLForTesting(QStringLiteral("http://127.0.0.1:9/appcast.xml"));
    }

    void init()
    {
        server = std::make_unique<FakeGitHubServer>();
        useFakeGitHub(*server);
        QCOMPARE(KeychainManager::deleteToken(), std::nullopt);
    }

    void cleanup()
    {
        delete window;
        store.reset();
    }

    void panel()
    {
        store = std::make_unique<NotificationsStore>();
        window = create(QStringLiteral("PanelWindow"));
        QTRY_VERIFY(shown(window, "tokenRequired"));
        QVERIFY(child(window, "searchField")->hasActiveFocus());

        // The store's message shows in a two-line banner until dismissed.
        QVERIFY(click(window, "refreshButton"));
        QTRY_COMPARE(child(window, "errorText")->property("text").toString(),
                     QStringLiteral("No token available. Please configure in Settings."));
        QCOMPARE(child(window, "errorText")->property("maximumLineCount").toInt(), 2);
        QVERIFY(click(window, "dismissButton"));
        QVERIFY(!shown(window, "errorBanner"));

        server->enqueue(listAnswer({{.id = "1", .unread = false, .fullName = "a/x"}, {.id = "2", .fullName = "b/y"}}));
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_views")), std::nullopt);
        auto *list = child(window, "panelList");
        QTRY_COMPARE(list->property("count").toInt(), 2);

        // Hovering a row trades its unread dot for the actions.
        QTRY_VERIFY(findItem(window, "unreadDot"));
        auto *dot = child(window, "unreadDot");
        auto *actions = child(window, "hoverActions");
        QVERIFY(dot->isVisible());
        QCOMPARE(actions->opacity(), 0.0);
        QTest::mouseMove(window, dot->mapToScene(QPointF(-100, 0)).toPoint());
        QTRY_COMPARE(actions->opacity(), 1.0);
        QVERIFY(!dot->isVisible());
        QTest::mouseMove(window, QPoint(2, window->height() - 2));
        QTRY_COMPARE(actions->opacity(), 0.0);

        // Down from the search field, Return opens the thread, Escape closes.
        QTest::keyClick(window, Qt::Key_Down);
        QVERIFY(list->hasActiveFocus());
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(QStringLiteral("https://github.com/b/y"))});
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

    void mainWindow()
    {
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_views")), std::nullopt);
        server->enqueue(
            listAnswer({{.id = "1", .updatedAt = "2024-05-01T10:00:00Z", .fullName = "a/x"},
                        {.id = "2", .unread = false, .updatedAt = "2024-05-01T08:00:00Z", .fullName = "b/y"},
                        {.id = "3", .updatedAt = "2024-05-01T09:00:00Z", .fullName = "a/x"}}));
        store = std::make_unique<NotificationsStore>();
        window = create(QStringLiteral("MainWindow"));
        auto *model = window->findChild<NotificationsListModel *>();
        auto *list = child(window, "windowList");
        QTRY_COMPARE(list->property("count").toInt(), 3);

        QTRY_VERIFY(findItem(window, "groupHeader:a/x"));
        QCOMPARE(findItem(child(window, "groupHeader:a/x"), "groupCount")->property("text").toString(),
                 QStringLiteral("2"));
        QVERIFY(click(window, "groupHeader:a/x"));
        QVERIFY(model->isCollapsed(QStringLiteral("a/x")));
        QVERIFY(click(window, "groupHeader:a/x"));

        // Letters go to the search field when it has focus, to the current thread otherwise.
        child(window, "searchField")->forceActiveFocus();
        QTest::keyClick(window, 'r');
        QCOMPARE(model->searchText(), QStringLiteral("r"));
        QCOMPARE(store->searchText(), QString());
        QTest::keyClick(window, Qt::Key_Backspace);
        server->clearRequests();
        list->forceActiveFocus();
        const struct {
            char key;
            QByteArray method, target;
        } keys[] = {
            {'r', "PATCH", "/notifications/threads/1"},
            {'m', "PUT", "/notifications/threads/1/subscription"},
            {'d', "DELETE", "/notifications/threads/1"},
        };
        for (const auto &k : keys) {
            list->setProperty("currentIndex", 0);
            server->enqueue(answer(200));
            QTest::keyClick(window, k.key);
            QTRY_VERIFY(!server->requests().isEmpty());
            QCOMPARE(server->requests().last().method, k.method);
            QCOMPARE(server->requests().last().target, k.target);
            server->clearRequests();
        }

        // The window's banner keeps to one line of plain text.
        server->enqueue(answer(500));
        store->requestRefresh();
        QTRY_VERIFY(shown(window, "errorBanner"));
        QCOMPARE(child(window, "errorText")->property("maximumLineCount").toInt(), 1);
        QCOMPARE(child(window, "errorText")->property("textFormat").toInt(), int(Qt::PlainText));

        // At its narrowest, with the longest reason chosen, every action stays in the window.
        model->setSelectedReason(int(NotificationReason::review_requested));
        window->resize(window->minimumSize());
        for (const char *button : {"refreshButton", "markAllReadButton", "settingsButton"}) {
            QQuickItem *item = child(window, button);
            QTRY_VERIFY2(item->mapToScene(QPointF(item->width(), 0)).x() <= window->width(), button);
        }
    }

    void panelInGerman()
    {
        QVERIFY(Translations::install(QLocale(QLocale::German, QLocale::Germany)));
        store = std::make_unique<NotificationsStore>();
        window = create(QStringLiteral("PanelWindow"));
        QCOMPARE(child(window, "tokenRequired")->property("heading").toString(),
                 QStringLiteral("GitHub-Token erforderlich"));
        QCOMPARE(child(window, "settingsButton")->property("text").toString(), QStringLiteral("Einstellungen"));
        QVERIFY(click(window, "refreshButton"));
        QTRY_COMPARE(child(window, "errorText")->property("text").toString(),
                     QStringLiteral("Kein Token vorhanden. Bitte in den Einstellungen eintragen."));
        // Back to the language of the source for the other tests.
        QVERIFY(Translations::install(QLocale(QLocale::English)));
        engine.retranslate();
        QCOMPARE(child(window, "settingsButton")->property("text").toString(), QStringLiteral("Settings"));
    }

    // Sizes follow a desktop font larger than the 10 pt they are drawn for
    // (read when the views start: an engine of its own).
    void largerDesktopFontEnlargesTheWindow()
    {
        const QFont normal = QGuiApplication::font();
        QFont larger = normal;
        larger.setPointSizeF(15);
        QGuiApplication::setFont(larger);
        QQmlEngine own;
        prepareQmlEngine(own);
        std::unique_ptr<QQuickWindow> large(showWindow(own, QStringLiteral("SettingsWindow")));
        QGuiApplication::setFont(normal);
        QCOMPARE(large->width(), 900);
        QCOMPARE(child(large.get(), "tokenField")->property("font").value<QFont>().pixelSize(), 18);
    }

    void settingsWindow()
    {
        Preferences::setRefreshInterval(45);
        Preferences::setUpdateChannel(QStringLiteral("beta"));
        window = showWindow(engine, QStringLiteral("SettingsWindow"));
        auto *model = window->findChild<SettingsViewModel *>();
        QVERIFY(!child(window, "saveTokenButton")->isEnabled());
        QVERIFY(!child(window, "soundToggle")->isEnabled());
        QTRY_VERIFY(child(window, "permissionWarning")->isVisible()); // no notification service here
        QCOMPARE(child(window, "intervalPicker")->property("currentIndex").toInt(), -1);
        QCOMPARE(child(window, "channelPicker")->property("currentIndex").toInt(), 1);
        model->setRefreshInterval(600);
        QCOMPARE(child(window, "intervalPicker")->property("currentIndex").toInt(), 3);

        // Ctrl+Return saves, and only with text; Delete shows once a token is saved.
        child(window, "tokenField")->forceActiveFocus();
        QTest::keyClick(window, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(!model->hasStatusMessage());
        QTest::keyClick(window, Qt::Key_G);
        QTest::keyClick(window, Qt::Key_H);
        QCOMPARE(model->tokenInput(), QStringLiteral("gh"));
        QVERIFY(!child(window, "deleteTokenButton")->isVisible());
        QTest::keyClick(window, Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE(model->statusMessage(), QStringLiteral("Token saved successfully!"));
        QVERIFY(child(window, "deleteTokenButton")->isVisible());
    }

private:
    QQuickWindow *create(const QString &type)
    {
        return showWindow(engine, type, {{QStringLiteral("store"), QVariant::fromValue(store.get())}});
    }

    QQmlEngine engine;
    std::unique_ptr<FakeGitHubServer> server;
    std::unique_ptr<NotificationsStore> store;
    QPointer<QQuickWindow> window;
    BrowserRecorder browser;
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
