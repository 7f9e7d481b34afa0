#include "api/GitHubAPIClient.h"
#include "credentials/KeychainManager.h"
#include "credentials/TokenState.h"
#include "model/SampleNotifications.h"
#include "platform/DesktopNotifications.h"
#include "platform/Diagnostics.h"
#include "platform/NoticeCenter.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"
#include "store/NotificationsStore.h"

#include "BrowserRecorder.h"
#include "FakeNotificationServer.h"
#include "ModelThreads.h"
#include "TestEnvironment.h"

#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

const ScriptedResponse stalled{200, {}, {}, ScriptedResponse::Behaviour::stall};

const GHNotification &find(const NotificationsStore &store, const QString &id)
{
    static const GHNotification none;
    const auto found =
        std::find_if(store.items().begin(), store.items().end(), [&](const auto &t) { return t.id == id; });
    return found == store.items().end() ? none : *found;
}

bool answered(const NotificationsStore &store)
{
    return QTest::qWaitFor([&] { return store.tokenStatus() != TokenState::Status::Checking; }, 20000);
}

} // namespace

class TestNotificationsStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Diagnostics::setSinkForTesting([this](const QString &line) { diagnostics << line; });
    }

    void init()
    {
        server = std::make_unique<FakeGitHubServer>();
        useFakeGitHub(*server);
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_store")), std::nullopt);
        browser.opened.clear();
        diagnostics.clear();
    }

    void withoutTokenShowsTheSamples()
    {
        QCOMPARE(KeychainManager::deleteToken(), std::nullopt);
        NotificationsStore store;
        // Nothing until the secret store answers; a refresh asked for meanwhile waits for the answer.
        QVERIFY(store.items().isEmpty());
        store.requestRefresh();
        QVERIFY(answered(store));
        QCOMPARE(store.items(), sampleNotifications());
        QVERIFY(!store.timersRunning());
        QTRY_COMPARE(store.lastError(), QStringLiteral("No token available. Please configure in Settings."));

        // A new interval starts the timers all the same; their ticks only say so again.
        Preferences::setRefreshInterval(1);
        NoticeCenter::instance().post(QString::fromLatin1(Notices::refreshIntervalChanged), 1);
        QTRY_VERIFY(store.timersRunning());
        store.dismissError();
        QTRY_VERIFY(store.hasError());
        QVERIFY(server->requests().isEmpty());
    }

    void fetchesOnceFailsSoftlyAndCountsDown()
    {
        server->enqueue(listAnswer({{"1"}, {"2", false}}));
        NotificationsStore store;
        QVERIFY(answered(store));
        QCOMPARE(store.secondsUntilRefresh(), 300);
        // The first fetch is out; a refresh asked meanwhile sends nothing.
        QVERIFY(store.isRefreshing());
        QCoro::waitFor(store.refresh());
        // The interval is read afresh when the fetch ends.
        Preferences::setRefreshInterval(900);
        QTRY_COMPARE(ids(store.items()), (QStringList{"1", "2"}));
        QCOMPARE(server->requests().size(), 1);
        QCOMPARE(server->requests()[0].target, "/notifications?all=true&per_page=50");
        QVERIFY(store.secondsUntilRefresh() >= 899);
        QCOMPARE(store.unreadCount(), 1);
        QTRY_VERIFY(store.secondsUntilRefresh() < 899);

        // Failures keep the items; the next good fetch clears the message.
        const QList<GHNotification> before = store.items();
        server->enqueue(answer(500));
        QCoro::waitFor(store.refresh());
        QCOMPARE(store.lastError(), QStringLiteral("GitHub API error: HTTP 500"));
        QCOMPARE(store.items(), before);
        QCOMPARE(store.secondsUntilRefresh(), 900);
        server->enqueue(answer(200, "[{\"id\":1}]"));
        QCoro::waitFor(store.refresh());
        QVERIFY(
            store.lastError()->startsWith(QStringLiteral("Failed to parse GitHub response: element 0, key \"id\"")));
        QCOMPARE(store.items(), before);
        server->enqueue(listAnswer({{"3"}}));
        QCoro::waitFor(store.refresh());
        QVERIFY(!store.hasError());
        QCOMPARE(ids(store.items()), QStringList{"3"});
        // Unknown threads are passed over.
        store.toggleRead(QStringLiteral("nope"));
        store.toggleMute(QStringLiteral("nope"));
        QVERIFY(!store.hasError());
    }

    void alertsOnlyForNewThreadsAfterTheFirstFetch()
    {
        FakeNotificationServer notifications;
        Preferences::setNotificationsEnabled(true);
        server->enqueue(listAnswer({{"1"}, {"2"}}));
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 2);

        WireThread review{.id = "3",
                          .title = "Add <b>retry</b> & budget",
                          .reason = "review_requested",
                          .fullName = "octo/api"};
        server->enqueue(listAnswer({review, {"1"}, {"2"}, {"4", false}}));
        QCoro::waitFor(store.refresh());
        QTRY_COMPARE(notifications.calls().size(), 1);
        const auto single = notifications.calls().at(0);
        QCOMPARE(single.summary, review.title);
        QCOMPARE(single.body, QStringLiteral("octo/api\nReview requested"));
        QCOMPARE(single.hints.value("suppress-sound"), QVariant(true));

        QList<WireThread> many{{"1"}, {"2"}, {"3"}, {"4", false}};
        for (int i = 0; i < 100; ++i)
            many.append({QString::number(100 + i)});
        server->enqueue(listAnswer(many));
        Preferences::setNotificationSoundEnabled(true);
        QCoro::waitFor(store.refresh());
        QTRY_COMPARE(notifications.calls().size(), 2);
        const auto summary = notifications.calls().at(1);
        QCOMPARE(summary.summary, QStringLiteral("New GitHub Notifications"));
        QCOMPARE(summary.body, QStringLiteral("100 new notifications"));
        QCOMPARE(summary.hints.value("sound-name"), QVariant(QStringLiteral("message-new-instant")));

        // Switched off: neither notification nor sound.
        Preferences::setNotificationsEnabled(false);
        diagnostics.clear();
        server->enqueue(listAnswer({{"900"}}));
        QCoro::waitFor(store.refresh());
        QTest::qWait(200);
        QCOMPARE(notifications.calls().size(), 2);
        QVERIFY(diagnostics.isEmpty());
    }

    void alertsWithoutNotificationService()
    {
        Preferences::setNotificationsEnabled(true);
        NotificationsStore store;
        QStringList trayMessages;
        DesktopNotifications::setFallback([&](const QString &title, const QString &text) {
            trayMessages << title + u'|' + text;
            return true;
        });
        store.notifyNewNotifications({sampleNotifications().at(0), sampleNotifications().at(1)});
        QCOMPARE(trayMessages, QStringList{"New GitHub Notifications|2 new notifications"});
        DesktopNotifications::setFallback({});
        store.notifyNewNotifications({sampleNotifications().at(0)});
        QCOMPARE(diagnostics, QStringList{"Failed to show notification: no notification service on the session bus"});
    }

    void savingOrDeletingTheTokenStartsAfresh()
    {
        FakeNotificationServer notifications;
        Preferences::setNotificationsEnabled(true);
        QCOMPARE(KeychainManager::deleteToken(), std::nullopt);
        NotificationsStore store;
        QVERIFY(answered(store));

        // Saved: the samples go at once, and the first fetch fills an empty list without alerts.
        server->enqueue(listAnswer({{"1"}, {"501", false}}));
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_later")), std::nullopt);
        QVERIFY(store.items().isEmpty());
        QTRY_COMPARE(ids(store.items()), (QStringList{"1", "501"}));
        QTest::qWait(200);
        QVERIFY(notifications.calls().isEmpty());

        // Deleted while a fetch and a thread action are out: their answers
        // change nothing, and nothing more is sent.
        server->setHandler([](const RecordedRequest &) { return stalled; });
        store.requestRefresh();
        store.toggleMute(QStringLiteral("1"));
        QTRY_COMPARE(server->requests().size(), 3);
        QCOMPARE(KeychainManager::deleteToken(), std::nullopt);
        QCOMPARE(store.items(), sampleNotifications());
        QVERIFY(!store.timersRunning() && !store.isRefreshing());
        server->setHandler({});
        QTest::qWait(300);
        QCOMPARE(store.items(), sampleNotifications());
        QCOMPARE(server->requests().size(), 3);
    }

    void waitsForASlowSecretStore()
    {
        TokenState::shared().setReaderForTesting([] {
            QThread::msleep(800);
            return KeychainManager::getToken();
        });
        server->enqueue(listAnswer({{"1"}}));
        NotificationsStore store;
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] { ++ticks; });
        tick.start(50);
        QTest::qWait(400);
        // The event loop kept turning while the secret store was silent.
        QVERIFY(ticks >= 2);
        QTRY_COMPARE(ids(store.items()), QStringList{"1"});
        TokenState::shared().setReaderForTesting({});
    }

    // Read and mute show at once and roll back when GitHub refuses, even
    // after a fetch moved the thread; a thread gone by then is skipped.
    void threadActionsRollBackOnFailure()
    {
        GitHubAPIClient::setRequestTimeout(std::chrono::milliseconds(400));
        server->enqueue(listAnswer({{"1"}, {"2"}, {"3", false}}));
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 3);

        server->enqueue(answer(404, "{\"message\":\"Not Found\"}"));
        store.toggleRead(QStringLiteral("2"));
        QCOMPARE(find(store, "2").unread, false);
        QTRY_COMPARE(find(store, "2").unread, true);
        QCOMPARE(store.lastError(), QStringLiteral("Invalid response from GitHub API"));
        QCOMPARE(server->requests()[1].method, "PATCH");
        QCOMPARE(server->requests()[1].target, "/notifications/threads/2");
        store.toggleRead(QStringLiteral("3"));
        QCOMPARE(store.lastError(), QStringLiteral("Cannot mark as unread. GitHub API limitation."));

        server->enqueue(stalled);
        store.toggleRead(QStringLiteral("1"));
        server->enqueue(listAnswer({{"5"}, {"2"}, {"1"}}));
        QTRY_COMPARE(server->requests().size(), 3);
        QCoro::waitFor(store.refresh());
        QCOMPARE(find(store, "1").unread, false);
        store.dismissError();
        QTRY_VERIFY(store.hasError());
        QCOMPARE(ids(store.items(), [](const GHNotification &t) { return t.unread; }), (QStringList{"5", "2", "1"}));

        server->enqueue(answer(500));
        store.toggleMute(QStringLiteral("2"));
        QCOMPARE(find(store, "2").muted, true);
        QTRY_COMPARE(find(store, "2").muted, false);
        QCOMPARE(server->requests().last().body, "{\"ignored\":true}");

        store.dismissError();
        server->enqueue(stalled);
        store.toggleMute(QStringLiteral("5"));
        server->enqueue(listAnswer({{"2"}}));
        QTRY_COMPARE(server->requests().size(), 6);
        QCoro::waitFor(store.refresh());
        QTRY_VERIFY(store.hasError());
        QCOMPARE(ids(store.items()), QStringList{"2"});
    }

    void opensOnlyGitHubPages()
    {
        server->enqueue(listAnswer({{.id = "1", .url = "https://api.github.com/repos/octo/hooks/pulls/5"},
                                    {.id = "2", .url = "javascript:alert(1)//api.github.com/repos/x/y/issues/1"},
                                    {.id = "3", .url = "http://github.com/octo/hooks/issues/1"}}));
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 3);
        for (const char *id : {"3", "2", "1", "nope"})
            store.open(QString::fromLatin1(id));
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(QStringLiteral("https://github.com/octo/hooks/pull/5"))});
    }

    void destroyedWhileRequestsAreOut()
    {
        GitHubAPIClient::setRequestTimeout(std::chrono::milliseconds(300));
        server->enqueue(listAnswer({{"1"}}));
        auto store = std::make_unique<NotificationsStore>();
        QTRY_COMPARE(store->items().size(), 1);
        server->setHandler([](const RecordedRequest &) { return stalled; });
        store->requestRefresh();
        store->toggleRead(QStringLiteral("1"));
        store->toggleMute(QStringLiteral("1"));
        QTRY_COMPARE(server->requests().size(), 4);
        store.reset();
        QTest::qWait(600);
    }

private:
    std::unique_ptr<FakeGitHubServer> server;
    BrowserRecorder browser{{"https", "http", "javascript"}};
    QStringList diagnostics;
};

QTEST_MAIN(TestNotificationsStore)
#include "tst_notifications_store.moc"
