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

#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

const ScriptedResponse stalled{200, {}, {}, ScriptedResponse::Behaviour::stall};
const auto unread = [](const GHNotification &thread) { return thread.unread; };
const auto muted = [](const GHNotification &thread) { return thread.muted; };

} // namespace

class TestNotificationsStore : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        server = std::make_unique<FakeGitHubServer>();
        useFakeGitHub(*server);
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_store")), std::nullopt);
        diagnostics.clear();
        Diagnostics::setSinkForTesting([this](const QString &line) { diagnostics << line; });
    }

    // Without a token the samples show. Saving one starts afresh, and so does
    // deleting it while a fetch and a thread action are out.
    void theTokenDecidesWhatShows()
    {
        FakeNotificationServer notifications;
        Preferences::setNotificationsEnabled(true);
        QCOMPARE(KeychainManager::deleteToken(), std::nullopt);
        // A slow secret store: the event loop turns meanwhile, the list stays
        // empty, and a refresh asked for waits for the answer.
        TokenState::shared().setReaderForTesting([] {
            QThread::msleep(800);
            return KeychainManager::getToken();
        });
        NotificationsStore store;
        QTimer tick;
        QSignalSpy ticks(&tick, &QTimer::timeout);
        tick.start(50);
        store.requestRefresh();
        QTest::qWait(400);
        QVERIFY(ticks.size() >= 2);
        QVERIFY(store.items().isEmpty());
        QVERIFY(QTest::qWaitFor([&] { return store.tokenStatus() != TokenState::Status::Checking; }, 20000));
        TokenState::shared().setReaderForTesting({});
        QCOMPARE(store.items(), sampleNotifications());
        QVERIFY(!store.timersRunning());
        QTRY_COMPARE(store.lastError(), QStringLiteral("No token available. Please configure in Settings."));

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

        // A new interval starts the timers all the same; their ticks only say so again.
        Preferences::setRefreshInterval(1);
        NoticeCenter::instance().post(QString::fromLatin1(Notices::refreshIntervalChanged), 1);
        QTRY_VERIFY(store.timersRunning());
        store.dismissError();
        QTRY_VERIFY(store.hasError());
        QCOMPARE(store.items(), sampleNotifications());
        QCOMPARE(server->requests().size(), 3);
    }

    // A fetch at a time, failures that keep the list, the countdown, and
    // opening: only GitHub's own pages, whatever a thread's address says.
    void fetchesFailsSoftlyCountsDownAndOpens()
    {
        server->enqueue(listAnswer({{"1"}, {"2", false}}));
        NotificationsStore store;
        QVERIFY(QTest::qWaitFor([&] { return store.tokenStatus() != TokenState::Status::Checking; }, 20000));
        QCOMPARE(store.secondsUntilRefresh(), 300);
        // The first fetch is out; a refresh asked meanwhile sends nothing.
        QVERIFY(store.isRefreshing());
        QCoro::waitFor(store.refresh());
        // The interval is read afresh when the fetch ends.
        Preferences::setRefreshInterval(240);
        QTRY_COMPARE(ids(store.items()), (QStringList{"1", "2"}));
        // One fetch; the badge counting unread threads only is checked by
        // tst_quieting's quietTimeEndsWithOneSummary.
        QCOMPARE(server->requests().size(), 1);
        QVERIFY(store.secondsUntilRefresh() >= 239);
        QTRY_VERIFY(store.secondsUntilRefresh() < 239);

        // Failures, unreadable or refused, keep the items and say why (each
        // message: tst_github_api_client's statusRules); the next good fetch
        // clears the message.
        const QList<GHNotification> before = store.items();
        for (const ScriptedResponse &failure : {answer(200, "[{\"id\":1}]"), answer(500)}) {
            server->enqueue(failure);
            QCoro::waitFor(store.refresh());
            QVERIFY(store.hasError());
            QCOMPARE(store.items(), before);
        }
        QCOMPARE(store.lastError(), QStringLiteral("GitHub API error: HTTP 500"));
        QCOMPARE(store.secondsUntilRefresh(), 240);
        server->enqueue(listAnswer({{.id = "3", .url = "https://api.github.com/repos/octo/hooks/pulls/5"},
                                    {.id = "4", .url = "javascript:alert(1)//api.github.com/repos/x/y/issues/1"},
                                    {.id = "5", .url = "http://github.com/octo/hooks/issues/1"}}));
        QCoro::waitFor(store.refresh());
        QVERIFY(!store.hasError());

        // Only GitHub's own pages open (thread 3, fetched just now); unknown
        // threads are passed over.
        BrowserRecorder browser{{"https", "http", "javascript"}};
        for (const char *id : {"5", "4", "3", "nope"})
            store.open(QString::fromLatin1(id));
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(QStringLiteral("https://github.com/octo/hooks/pull/5"))});
        store.toggleRead(QStringLiteral("nope"));
        store.toggleMute(QStringLiteral("nope"));
        QVERIFY(!store.hasError());
    }

    void alertsOnlyForNewThreadsAfterTheFirstFetch()
    {
        // A server that plays the sound itself (tst_notification_sound: one bell).
        FakeNotificationServer notifications({QStringLiteral("body"), QStringLiteral("sound")});
        Preferences::setNotificationsEnabled(true);
        server->enqueue(listAnswer({{"1"}, {"2"}}));
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 2);

        // The title goes as sent: a summary is plain text. Silent unless asked
        // for (tst_quieting's quietTimeEndsWithOneSummary checks the hint).
        const WireThread review{.id = "3", .title = "a < b & c", .reason = "review_requested", .fullName = "octo/api"};
        server->enqueue(listAnswer({review, {"1"}, {"2"}, {"4", false}}));
        QCoro::waitFor(store.refresh());
        QTRY_COMPARE(notifications.calls().size(), 1);
        QCOMPARE(notifications.calls().at(0).summary, review.title);
        QCOMPARE(notifications.calls().at(0).body, QStringLiteral("octo/api\nReview requested"));

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

    // Read and mute show at once and roll back when GitHub refuses, even
    // after a fetch moved the thread; a thread gone by then is skipped. The
    // requests' paths and bodies: tst_github_api_client's requestShapes.
    void threadActionsRollBackOnFailure()
    {
        GitHubAPIClient::setRequestTimeout(std::chrono::milliseconds(400));
        server->enqueue(listAnswer({{"1"}, {"2"}, {"3", false}}));
        auto store = std::make_unique<NotificationsStore>();
        QTRY_COMPARE(store->items().size(), 3);

        server->enqueue(answer(404, "{\"message\":\"Not Found\"}"));
        store->toggleRead(QStringLiteral("2"));
        QCOMPARE(ids(store->items(), unread), QStringList{"1"});
        QTRY_COMPARE(ids(store->items(), unread), (QStringList{"1", "2"}));
        QCOMPARE(store->lastError(), QStringLiteral("GitHub API error (404): Not Found"));
        store->toggleRead(QStringLiteral("3"));
        QCOMPARE(store->lastError(), QStringLiteral("Cannot mark as unread. GitHub API limitation."));

        server->enqueue(stalled);
        store->toggleRead(QStringLiteral("1"));
        server->enqueue(listAnswer({{"5"}, {"2"}, {"1"}}));
        QTRY_COMPARE(server->requests().size(), 3);
        QCoro::waitFor(store->refresh());
        QCOMPARE(ids(store->items(), unread), (QStringList{"5", "2"}));
        store->dismissError();
        QTRY_VERIFY(store->hasError());
        QCOMPARE(ids(store->items(), unread), (QStringList{"5", "2", "1"}));

        server->enqueue(answer(500));
        store->toggleMute(QStringLiteral("2"));
        QCOMPARE(ids(store->items(), muted), QStringList{"2"});
        QTRY_VERIFY(ids(store->items(), muted).isEmpty());

        store->dismissError();
        server->enqueue(stalled);
        store->toggleMute(QStringLiteral("5"));
        server->enqueue(listAnswer({{"2"}}));
        QTRY_COMPARE(server->requests().size(), 6);
        QCoro::waitFor(store->refresh());
        QTRY_VERIFY(store->hasError());
        QCOMPARE(ids(store->items()), QStringList{"2"});

        // Destroyed while a fetch and both actions are out: their answers,
        // time-outs here, come to no store and do no harm.
        server->setHandler([](const RecordedRequest &) { return stalled; });
        store->requestRefresh();
        store->toggleRead(QStringLiteral("2"));
        store->toggleMute(QStringLiteral("2"));
        QTRY_COMPARE(server->requests().size(), 9);
        store.reset();
        QTest::qWait(600);
    }

private:
    std::unique_ptr<FakeGitHubServer> server;
    QStringList diagnostics;
};

QTEST_MAIN(TestNotificationsStore)
#include "tst_notifications_store.moc"
