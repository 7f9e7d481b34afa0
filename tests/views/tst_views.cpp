#include "api/GitHubAPIClient.h"
#include "credentials/KeychainManager.h"
#include "platform/Translations.h"
#include "store/NotificationsStore.h"
#include "views/panel/NotificationsListModel.h"
#include "views/panel/PanelViewModel.h"

#include "BrowserRecorder.h"
#include "QuickItems.h"
#include "FakeGitHubServer.h"
#include "QmlTestEngine.h"
#include "TestEnvironment.h"

#include <QDesktopServices>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>


using Behaviour = ScriptedResponse::Behaviour;

namespace {

QByteArray threads(const QList<std::tuple<QString, bool, QString>> &list)
{
    QJsonArray array;
    int hour = 10;
    for (const auto &[id, unread, fullName] : list) {
        array.append(QJsonObject{
            {"id", id},
            {"unread", unread},
            {"reason", "mention"},
            {"subject", QJsonObject{{"title", "Thread " + id}, {"url", QJsonValue::Null}, {"type", "Issue"}}},
            {"repository", QJsonObject{{"id", 1},
                                       {"name", fullName.section(u'/', 1)},
                                       {"full_name", fullName},
                                       {"owner", QJsonObject{{"login", fullName.section(u'/', 0, 0)}, {"avatar_url", "x"}}},
                                       {"html_url", "x"},
                                       {"private", false}}},
            {"updated_at", QStringLiteral("2024-05-01T%1:00:00Z").arg(hour--, 2, 10, QChar(u'0'))},
        });
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

QQuickItem *child(QQuickWindow *window, const QString &name)
{
    QQuickItem *found = findItem(window, name);
    if (!found)
        qFatal("no item %s", qPrintable(name));
    return found;
}

bool shown(QQuickWindow *window, const QString &name)
{
    QQuickItem *item = findItem(window, name);
    return item && item->isVisible();
}


} // namespace

class TestViews : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        prepareQmlEngine(engine);
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

    void panelWithoutToken()
    {
        store = std::make_unique<NotificationsStore>();
        window = create(QStringLiteral("PanelWindow"));
        QVERIFY(shown(window, "tokenRequired"));
        QVERIFY(!shown(window, "allCaughtUp"));
        QVERIFY(!shown(window, "panelList"));
        QVERIFY(shown(window, "footer"));
        QVERIFY(!shown(window, "countdownText"));
        QVERIFY(child(window, "searchField")->hasActiveFocus());

        // Refresh from the footer: the store's message shows in the banner.
        QVERIFY(QMetaObject::invokeMethod(child(window, "refreshButton"), "clicked"));
        QTRY_VERIFY(shown(window, "errorBanner"));
        QCOMPARE(child(window, "errorText")->property("text").toString(),
                 QStringLiteral("No token available. Please configure in Settings."));
        QCOMPARE(child(window, "errorText")->property("maximumLineCount").toInt(), 2);
        QVERIFY(QMetaObject::invokeMethod(child(window, "dismissButton"), "clicked"));
        QVERIFY(!store->hasError());
        QVERIFY(!shown(window, "errorBanner"));

        // Escape closes the panel, from the search field as from the list.
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

    void panelStatesWithToken()
    {
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_views")), std::nullopt);
        server->enqueue({200, {}, {}, Behaviour::stall});
        GitHubAPIClient::setRequestTimeout(std::chrono::milliseconds(500));
        store = std::make_unique<NotificationsStore>();
        window = create(QStringLiteral("PanelWindow"));
        // First refresh running with nothing to show: an empty list, no countdown.
        QTRY_VERIFY(store->isRefreshing());
        QVERIFY(shown(window, "panelList"));
        QVERIFY(!child(window, "refreshButton")->isEnabled());
        QVERIFY(!shown(window, "countdownText"));

        // It times out: nothing to show any more, all caught up, with the countdown back.
        QTRY_VERIFY(!store->isRefreshing());
        QVERIFY(shown(window, "allCaughtUp"));
        QVERIFY(shown(window, "countdownText"));
        const QString countdown = child(window, "countdownText")->property("text").toString();
        QVERIFY2(countdown == QStringLiteral("Refresh in 5m 0s") || countdown.startsWith(QStringLiteral("Refresh in 4m 5")),
                 qPrintable(countdown));

        server->enqueue({200, threads({{"1", false, "a/x"}, {"2", true, "b/y"}}), {}, Behaviour::respond});
        QCoro::waitFor(store->refresh());
        QVERIFY(shown(window, "panelList"));
        auto *list = child(window, "panelList");
        QTRY_COMPARE(list->property("count").toInt(), 2);

        // Keyboard: down from the search field, then Return opens the thread.
        QVERIFY(child(window, "searchField")->hasActiveFocus());
        QTest::keyClick(window, Qt::Key_Down);
        QVERIFY(list->hasActiveFocus());
        QCOMPARE(list->property("currentIndex").toInt(), 0);
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(QStringLiteral("https://github.com/b/y"))});

        // Unread only, with only read threads left: all caught up.
        QVERIFY(QMetaObject::invokeMethod(child(window, "unreadToggle"), "toggle"));
        QVERIFY(QMetaObject::invokeMethod(child(window, "unreadToggle"), "toggled"));
        QVERIFY(store->unreadOnly());
        QCOMPARE(list->property("count").toInt(), 1);
        server->enqueue({200, {}, {}, Behaviour::respond});
        const qsizetype before = server->requests().size();
        store->toggleRead(QStringLiteral("2"));
        QVERIFY(shown(window, "allCaughtUp"));
        QTRY_COMPARE(server->requests().size(), before + 1);
    }

    void rowHoverShowsButtonsAndHidesDot()
    {
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_views")), std::nullopt);
        server->enqueue({200, threads({{"1", true, "a/x"}}), {}, Behaviour::respond});
        store = std::make_unique<NotificationsStore>();
        window = create(QStringLiteral("PanelWindow"));
        QTRY_VERIFY2(child(window, "panelList")->property("count").toInt() == 1, qPrintable(store->lastError().value_or(QStringLiteral("no error")) + QString::number(store->items().size()) + QStringLiteral(" requests %1 refreshing %2").arg(server->requests().size()).arg(store->isRefreshing())));
        QTRY_VERIFY(findItem(window, "unreadDot"));

        auto *dot = child(window, "unreadDot");
        auto *actions = child(window, "hoverActions");
        QVERIFY(dot->isVisible());
        QCOMPARE(actions->opacity(), 0.0);

        const QPointF middle = dot->mapToScene(QPointF(0, 0));
        QTest::mouseMove(window, middle.toPoint() - QPoint(100, 0));
        QTRY_VERIFY(!dot->isVisible());
        QTRY_COMPARE(actions->opacity(), 1.0);
        auto *markRead = child(window, "markReadButtonControl");
        QVERIFY(markRead->isEnabled());

        QTest::mouseMove(window, QPoint(2, window->height() - 2));
        QTRY_COMPARE(actions->opacity(), 0.0);
        QVERIFY(dot->isVisible());

        server->enqueue({200, {}, {}, Behaviour::respond});
        QVERIFY(QMetaObject::invokeMethod(markRead, "clicked"));
        QCOMPARE(store->items().first().unread, false);
        QVERIFY(!dot->isVisible());
        QVERIFY(!markRead->isEnabled());
        QTRY_COMPARE(server->requests().size(), 2);
        QCOMPARE(server->requests().last().method, "PATCH");
    }

    void windowGroupsFiltersAndCollapses()
    {
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_views")), std::nullopt);
        server->enqueue({200, threads({{"1", true, "a/x"}, {"2", false, "b/y"}, {"3", true, "a/x"}}), {}, Behaviour::respond});
        store = std::make_unique<NotificationsStore>();
        window = create(QStringLiteral("MainWindow"));
        QCOMPARE(window->width(), 720);
        QCOMPARE(window->height(), 520);
        QCOMPARE(window->title(), QStringLiteral("Quillfen"));
        auto *model = window->findChild<NotificationsListModel *>();
        QVERIFY(model);
        auto *list = child(window, "windowList");
        QTRY_VERIFY2(list->property("count").toInt() == 3, qPrintable(store->lastError().value_or(QString())));

        QTRY_VERIFY(findItem(window, "groupHeader:a/x"));
        auto *header = child(window, "groupHeader:a/x");
        QCOMPARE(findItem(header, "groupCount")->property("text").toString(), QStringLiteral("2"));
        QVERIFY(QMetaObject::invokeMethod(header, "clicked"));
        QVERIFY(model->isCollapsed(QStringLiteral("a/x")));
        QCOMPARE(list->property("count").toInt(), 2); // the stand-in row and b/y's row
        QVERIFY(findItem(window, "groupHeader:a/x"));

        // The window's search is its own; the panel's filter stays untouched.
        auto *search = child(window, "searchField");
        search->forceActiveFocus();
        QTest::keyClick(window, 'b');
        QTest::keyClick(window, '/');
        QCOMPARE(model->searchText(), QStringLiteral("b/"));
        QCOMPARE(store->searchText(), QString());
        QCOMPARE(list->property("count").toInt(), 1);

        // One line of error text in the window.
        store->toggleRead(QStringLiteral("2"));
        QVERIFY(shown(window, "errorBanner"));
        QCOMPARE(child(window, "errorText")->property("maximumLineCount").toInt(), 1);
        QCOMPARE(child(window, "errorText")->property("textFormat").toInt(), int(Qt::PlainText));

        // While a refresh runs the button cannot be used.
        server->enqueue({200, {}, {}, Behaviour::stall});
        GitHubAPIClient::setRequestTimeout(std::chrono::milliseconds(300));
        store->requestRefresh();
        QVERIFY(!child(window, "refreshButton")->isEnabled());
        QTRY_VERIFY(child(window, "refreshButton")->isEnabled());
    }

    void listKeysActOnTheCurrentThread()
    {
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_views")), std::nullopt);
        server->enqueue({200, threads({{"1", true, "a/x"}, {"2", true, "a/x"}}), {}, Behaviour::respond});
        store = std::make_unique<NotificationsStore>();
        window = create(QStringLiteral("MainWindow"));
        auto *list = child(window, "windowList");
        QTRY_COMPARE(list->property("count").toInt(), 2);
        server->clearRequests();

        // Letters typed into the search field stay there.
        child(window, "searchField")->forceActiveFocus();
        QTest::keyClick(window, 'r');
        QCOMPARE(window->findChild<NotificationsListModel *>()->searchText(), QStringLiteral("r"));
        QTest::keyClick(window, Qt::Key_Backspace);

        list->forceActiveFocus();
        list->setProperty("currentIndex", 0);
        const struct {
            char key;
            QByteArray method, target;
        } keys[] = {
            {'r', "PATCH", "/notifications/threads/1"},
            {'m', "PUT", "/notifications/threads/1/subscription"},
            {'d', "DELETE", "/notifications/threads/1"},
        };
        for (const auto &k : keys) {
            QTest::keyClick(window, k.key);
            QTRY_VERIFY(!server->requests().isEmpty());
            QCOMPARE(server->requests().last().method, k.method);
            QCOMPARE(server->requests().last().target, k.target);
            server->clearRequests();
        }
        QTRY_COMPARE(list->property("count").toInt(), 1); // done: gone
        list->setProperty("currentIndex", 0);
        browser.opened.clear();
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(QStringLiteral("https://github.com/a/x"))});
    }

    // The panel in German: labels and the store's messages translated.
    void panelInGerman()
    {
        QVERIFY(Translations::install(QLocale(QLocale::German, QLocale::Germany)));
        store = std::make_unique<NotificationsStore>();
        window = create(QStringLiteral("PanelWindow"));
        QCOMPARE(child(window, "tokenRequired")->property("heading").toString(), QStringLiteral("GitHub-Token erforderlich"));
        QCOMPARE(child(window, "settingsButton")->property("text").toString(), QStringLiteral("Einstellungen"));
        QVERIFY(QMetaObject::invokeMethod(child(window, "refreshButton"), "clicked"));
        QTRY_COMPARE(child(window, "errorText")->property("text").toString(),
                     QStringLiteral("Kein Token vorhanden. Bitte in den Einstellungen eintragen."));
        // Back to the language of the source for the other tests.
        QVERIFY(!Translations::install(QLocale(QLocale::English)));
        engine.retranslate();
        QCOMPARE(child(window, "settingsButton")->property("text").toString(), QStringLiteral("Settings"));
    }

private:
    QQuickWindow *create(const QString &type)
    {
        QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/qt/qml/Quillfen/qml/%1.qml").arg(type)));
        if (component.isError())
            qFatal("%s", qPrintable(component.errorString()));
        auto *created = qobject_cast<QQuickWindow *>(
            component.createWithInitialProperties({{QStringLiteral("store"), QVariant::fromValue(store.get())}}));
        if (!created)
            qFatal("%s", qPrintable(component.errorString()));
        created->setProperty("hideOnDeactivate", false);
        created->show();
        created->requestActivate();
        if (!QTest::qWaitForWindowExposed(created))
            qFatal("window not exposed");
        return created;
    }

    QQmlEngine engine;
    std::unique_ptr<FakeGitHubServer> server;
    std::unique_ptr<NotificationsStore> store;
    QPointer<QQuickWindow> window;
    BrowserRecorder browser;
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
