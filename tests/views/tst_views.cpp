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
#include <QPalette>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QTest>

using namespace Qt::StringLiterals;

// One smoke test a window, rendered offscreen against the real keyring: what
// the view models cannot show, that the QML binds to them and that its keys,
// hovers and clicks reach them.
class TestViews : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        prepareQmlEngine(engine);
        SparkleUpdaterService::shared().setFeedURLForTesting(u"http://127.0.0.1:9/appcast.xml"_s);
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
        // Opened in German: its own texts and the store's message are translated.
        QVERIFY(Translations::install(QLocale(QLocale::German, QLocale::Germany)));
        window = create(u"PanelWindow"_s);
        QTRY_VERIFY(shown(window, "tokenRequired"));
        QVERIFY(child(window, "searchField")->hasActiveFocus());
        QCOMPARE(child(window, "tokenRequired")->property("heading").toString(), u"GitHub-Token erforderlich"_s);
        QCOMPARE(child(window, "settingsButton")->property("text").toString(), u"Einstellungen"_s);

        // The store's message shows in a two-line banner until dismissed.
        QVERIFY(click(window, "refreshButton"));
        QTRY_COMPARE(child(window, "errorText")->property("text").toString(),
                     u"Kein Token vorhanden. Bitte in den Einstellungen eintragen."_s);
        QCOMPARE(child(window, "errorText")->property("maximumLineCount").toInt(), 2);
        QVERIFY(click(window, "dismissButton"));
        QVERIFY(!shown(window, "errorBanner"));

        // Back to the language of the source, for the rest of the run too.
        QVERIFY(Translations::install(QLocale(QLocale::English)));
        engine.retranslate();
        QCOMPARE(child(window, "settingsButton")->property("text").toString(), u"Settings"_s);

        server->enqueue(listAnswer({{.id = "1", .unread = false, .fullName = "a/x"}, {.id = "2", .fullName = "b/y"}}));
        QCOMPARE(KeychainManager::saveToken(u"ghp_views"_s), std::nullopt);
        auto *list = child(window, "panelList");
        QTRY_COMPARE(list->property("count").toInt(), 2);

        // Hovering a row trades its unread dot for the actions.
        QTRY_VERIFY(findItem(window, "unreadDot"));
        auto *dot = child(window, "unreadDot");
        QVERIFY(dot->isVisible());
        QTest::mouseMove(window, dot->mapToScene(QPointF(-100, 0)).toPoint());
        QTRY_COMPARE(child(window, "hoverActions")->opacity(), 1.0);
        QVERIFY(!dot->isVisible());
        QTest::mouseMove(window, QPoint(2, window->height() - 2));
        QTRY_COMPARE(child(window, "hoverActions")->opacity(), 0.0);

        // Down from the search field, Return opens the thread, Escape closes.
        QTest::keyClick(window, Qt::Key_Down);
        QVERIFY(list->hasActiveFocus());
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(u"https://github.com/b/y"_s)});
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

    // A desktop that turns dark while a window is open recolours it: the
    // panel's own buttons and field, and the Qt Quick Controls of the others.
    void viewsFollowPaletteChange_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QPalette::ColorRole>("role");
        QTest::newRow("panel button") << u"PanelWindow"_s << u"settingsButton"_s << u"foreground"_s
                                      << QPalette::ButtonText;
        QTest::newRow("panel flat button")
            << u"PanelWindow"_s << u"openWindowButton"_s << u"foreground"_s << QPalette::WindowText;
        QTest::newRow("panel field") << u"PanelWindow"_s << u"searchField"_s << u"color"_s << QPalette::Text;
        QTest::newRow("main window switch")
            << u"MainWindow"_s << u"unreadSwitch"_s << u"palette.windowText"_s << QPalette::WindowText;
    }

    void viewsFollowPaletteChange()
    {
        QFETCH(QString, type);
        QFETCH(QString, item);
        QFETCH(QString, property);
        QFETCH(QPalette::ColorRole, role);
        window = create(type);
        const QPalette before = QGuiApplication::palette();
        const QPalette dark(QColor(0x29, 0x2c, 0x30), QColor(0x20, 0x23, 0x26));
        QGuiApplication::setPalette(dark);
        // "palette.windowText": a role of the control's palette.
        const QStringList path = property.split(u'.');
        const auto colour = [&] {
            QVariant value = child(window, item)->property(qPrintable(path.first()));
            if (path.size() > 1)
                value = value.value<QObject *>()->property(qPrintable(path.last()));
            return value.value<QColor>();
        };
        QTRY_COMPARE(colour(), dark.color(role));
        QCOMPARE(window->color(), dark.color(QPalette::Window));
        QGuiApplication::setPalette(before);
    }

    void mainWindow()
    {
        QCOMPARE(KeychainManager::saveToken(u"ghp_views"_s), std::nullopt);
        server->enqueue(
            listAnswer({{.id = "1", .updatedAt = "2024-05-01T10:00:00Z", .fullName = "a/x"},
                        {.id = "2", .unread = false, .updatedAt = "2024-05-01T08:00:00Z", .fullName = "b/y"},
                        {.id = "3", .updatedAt = "2024-05-01T09:00:00Z", .fullName = "a/x"}}));
        window = create(u"MainWindow"_s);
        auto *model = window->findChild<NotificationsListModel *>();
        auto *list = child(window, "windowList");
        QTRY_COMPARE(list->property("count").toInt(), 3);

        QTRY_VERIFY(findItem(window, "groupHeader:a/x"));
        QCOMPARE(findItem(child(window, "groupHeader:a/x"), "groupCount")->property("text").toString(), u"2"_s);
        QVERIFY(click(window, "groupHeader:a/x"));
        QVERIFY(model->isCollapsed(u"a/x"_s));
        QVERIFY(click(window, "groupHeader:a/x"));

        // Letters go to the search field when it has focus, to the current thread otherwise.
        child(window, "searchField")->forceActiveFocus();
        QTest::keyClick(window, 'r');
        QCOMPARE(model->searchText(), u"r"_s);
        QCOMPARE(store->searchText(), QString());
        QTest::keyClick(window, Qt::Key_Backspace);
        list->forceActiveFocus();
        const std::pair<char, QByteArray> keys[] = {{'r', "PATCH /notifications/threads/1"},
                                                    {'m', "PUT /notifications/threads/1/subscription"},
                                                    {'d', "DELETE /notifications/threads/1"}};
        for (const auto &[key, request] : keys) {
            server->clearRequests();
            list->setProperty("currentIndex", 0);
            server->enqueue(answer(200));
            QTest::keyClick(window, key);
            QTRY_VERIFY(!server->requests().isEmpty());
            QCOMPARE(server->requests().last().method + ' ' + server->requests().last().target, request);
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

    // Sizes follow a desktop font larger than the 10 pt they are drawn for
    // (read when the views start: an engine of its own).
    void largerDesktopFontEnlargesTheWindow()
    {
        const QFont normal = QGuiApplication::font();
        QGuiApplication::setFont(QFont(normal.family(), 15));
        QQmlEngine own;
        prepareQmlEngine(own);
        std::unique_ptr<QQuickWindow> large(showWindow(own, u"SettingsWindow"_s));
        QGuiApplication::setFont(normal);
        QCOMPARE(large->width(), 900);
        QCOMPARE(child(large.get(), "tokenField")->property("font").value<QFont>().pixelSize(), 18);
    }

    void settingsWindow()
    {
        Preferences::setRefreshInterval(45);
        Preferences::setUpdateChannel(u"beta"_s);
        window = showWindow(engine, u"SettingsWindow"_s);
        auto *model = window->findChild<SettingsViewModel *>();
        QVERIFY(!child(window, "saveTokenButton")->isEnabled());
        QVERIFY(!child(window, "soundToggle")->isEnabled());
        QTRY_VERIFY(child(window, "permissionWarning")->isVisible()); // no notification service here
        QCOMPARE(child(window, "intervalPicker")->property("currentIndex").toInt(), -1);
        QCOMPARE(child(window, "channelPicker")->property("currentIndex").toInt(), 1);
        model->setRefreshInterval(600);
        QCOMPARE(child(window, "intervalPicker")->property("currentIndex").toInt(), 3);

        // Typed into the field, Ctrl+Return saves; Delete shows once a token is saved.
        child(window, "tokenField")->forceActiveFocus();
        QTest::keyClick(window, Qt::Key_G);
        QVERIFY(!child(window, "deleteTokenButton")->isVisible());
        QTest::keyClick(window, Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE(model->statusMessage(), u"Token saved successfully!"_s);
        QVERIFY(child(window, "deleteTokenButton")->isVisible());
    }

private:
    // A window of the store's, on a store of its own.
    QQuickWindow *create(const QString &type)
    {
        store = std::make_unique<NotificationsStore>();
        return showWindow(engine, type, {{u"store"_s, QVariant::fromValue(store.get())}});
    }

    QQmlEngine engine;
    std::unique_ptr<FakeGitHubServer> server;
    std::unique_ptr<NotificationsStore> store;
    QPointer<QQuickWindow> window;
    BrowserRecorder browser;
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
