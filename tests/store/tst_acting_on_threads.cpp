#include "credentials/KeychainManager.h"
#include "platform/Activation.h"
#include "platform/NoticeCenter.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"
#include "store/NotificationsStore.h"

#include "BrowserRecorder.h"
#include "FakeNotificationServer.h"
#include "ModelThreads.h"
#include "TestEnvironment.h"

#include <QJsonDocument>
#include <QTest>

namespace {

const auto unread = [](const GHNotification &thread) { return thread.unread; };

} // namespace

// Alerts that can be acted on, and the actions on many threads at once.
class TestActingOnThreads : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        server = std::make_unique<FakeGitHubServer>();
        useFakeGitHub(*server);
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_actions")), std::nullopt);
        Preferences::setNotificationsEnabled(true);
    }

    void alertsCanBeActedOn()
    {
        const QStringList capabilities{QStringLiteral("body"), QStringLiteral("actions")};
        std::optional<FakeNotificationServer> notifications(std::in_place, capabilities);
        BrowserRecorder browser;
        server->enqueue(listAnswer({{"1"}}));
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 1);

        server->enqueue(listAnswer({{"1"}, {.id = "2", .url = "https://api.github.com/repos/octo/hooks/issues/7"}}));
        QCoro::waitFor(store.refresh());
        QTRY_COMPARE(notifications->calls().size(), 1);
        const auto alert = notifications->calls().at(0);
        QCOMPARE(alert.actions, (QStringList{"default", "Open", "mark-read", "Mark as Read"}));
        // Its buttons stay usable from the server's history.
        QCOMPARE(alert.hints.value("resident"), QVariant(true));
        QCOMPARE(alert.hints.value("category"), QVariant(QStringLiteral("x-quillfen.thread")));

        // A click opens the thread as its row does, in a browser that gets
        // the server's activation token; the button marks it read (with the
        // row's request: tst_views' mainWindow).
        notifications->sendActivationToken(alert.id, QStringLiteral("plasma-token-1"));
        notifications->invokeAction(alert.id, QStringLiteral("default"));
        QTRY_COMPARE(browser.opened, QList<QUrl>{QUrl(QStringLiteral("https://github.com/octo/hooks/issues/7"))});
        QCOMPARE(browser.activationTokens, QStringList{"plasma-token-1"});
        QVERIFY(!qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
        server->enqueue(answer(205));
        notifications->invokeAction(alert.id, QStringLiteral("mark-read"));
        QTRY_COMPARE(server->requests().size(), 3);
        QCOMPARE(ids(store.items(), unread), QStringList{"1"});

        // Several new threads: a click shows them.
        server->enqueue(listAnswer({{"1"}, {"3"}, {"4"}}));
        QCoro::waitFor(store.refresh());
        QTRY_COMPARE(notifications->calls().size(), 2);
        const uint several = notifications->calls().at(1).id;
        // The window that shows them may come forward with the server's token.
        QStringList shownWithTokens;
        connect(&store, &NotificationsStore::alertActivated, this,
                [&shownWithTokens] { shownWithTokens.append(Activation::token()); });
        notifications->sendActivationToken(several, QStringLiteral("plasma-token-2"));
        notifications->invokeAction(several, QStringLiteral("default"));
        QTRY_COMPARE(shownWithTokens, QStringList{"plasma-token-2"});
        QVERIFY(Activation::token().isEmpty());

        // An alert whose thread has gone does nothing; a closed one neither.
        const qsizetype requests = server->requests().size();
        notifications->invokeAction(alert.id, QStringLiteral("mark-read"));
        notifications->invokeAction(alert.id, QStringLiteral("default"));
        notifications->close(several);
        notifications->invokeAction(several, QStringLiteral("default"));
        QTest::qWait(300);
        QCOMPARE(server->requests().size(), requests);
        QCOMPARE(browser.opened.size(), 1);
        QCOMPARE(shownWithTokens.size(), 1);

        // Nor one from before the notification server restarted: the new
        // server's ids start again, so an id it sends is never one of ours.
        server->enqueue(listAnswer({{"1"}, {"3"}, {"4"}, {"5"}}));
        QCoro::waitFor(store.refresh());
        QTRY_COMPARE(notifications->calls().size(), 3);
        const uint beforeRestart = notifications->calls().at(2).id;
        notifications.emplace(capabilities);
        notifications->invokeAction(beforeRestart, QStringLiteral("default"));
        QTest::qWait(300);
        QCOMPARE(browser.opened.size(), 1);
    }

    void actionsOnManyThreads()
    {
        server->enqueue(listAnswer({{"1"}, {"2"}, {.id = "3", .fullName = "we ird/re#po"}, {"4", false}}));
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 4);

        // Refused: everything comes back.
        server->enqueue(answer(500));
        store.markAllAsRead();
        QVERIFY(ids(store.items(), unread).isEmpty()); // at once
        QTRY_COMPARE(ids(store.items(), unread), (QStringList{"1", "2", "3"}));
        QCOMPARE(store.lastError(), QStringLiteral("GitHub API error: HTTP 500"));

        // 202: GitHub finishes in the background; success all the same.
        server->enqueue(answer(202));
        store.markRepositoryAsRead(QStringLiteral("we ird/re#po"));
        QTRY_COMPARE(server->requests().last().target, "/repos/we%20ird/re%23po/notifications");
        QTest::qWait(100);
        QCOMPARE(ids(store.items(), unread), (QStringList{"1", "2"}));

        // Done: gone at once, back in its place when GitHub refuses (the
        // request itself: tst_views' mainWindow).
        server->enqueue(answer(404));
        store.markAsDone(QStringLiteral("2"));
        QCOMPARE(ids(store.items()), (QStringList{"1", "3", "4"}));
        QTRY_COMPARE(ids(store.items()), (QStringList{"1", "2", "3", "4"}));
        server->enqueue(answer(204));
        store.markAsDone(QStringLiteral("2"));
        QTRY_COMPARE(server->requests().size(), 5);
        QTest::qWait(100);
        QCOMPARE(store.items().size(), 3);
    }

    // Done on a later page, then a 304 that reuses the cached pages: the
    // thread stays away and raises no alert, until GitHub updates it.
    void doneStaysDone()
    {
        FakeNotificationServer notifications;
        QString updatedAt = QStringLiteral("2024-05-01T09:30:00Z");
        server->setHandler([&](const RecordedRequest &request) {
            if (request.method == "DELETE")
                return answer(204);
            if (request.hasHeader("If-Modified-Since") && updatedAt.startsWith(u"2024-05-01"))
                return answer(304);
            if (request.target.contains("page=2"))
                return listAnswer({{.id = "60", .updatedAt = updatedAt}});
            ScriptedResponse first = listAnswer({{"1"}});
            first.headers.append({"Link", "<" + server->baseUrl().toUtf8()
                                              + "/notifications?all=true&per_page=50&page=2>; rel=\"next\""});
            return first;
        });
        NotificationsStore store;
        QTRY_COMPARE(ids(store.items()), (QStringList{"1", "60"}));

        store.markAsDone(QStringLiteral("60"));
        QTRY_COMPARE(server->requests().last().method, "DELETE");
        QCoro::waitFor(store.refresh());
        QCOMPARE(server->requests().size(), 4); // page 1 answered 304
        QCOMPARE(ids(store.items()), QStringList{"1"});
        QTest::qWait(200);
        QVERIFY(notifications.calls().isEmpty());

        updatedAt = QStringLiteral("2024-05-02T08:00:00Z");
        QCoro::waitFor(store.refresh());
        QCOMPARE(ids(store.items()), (QStringList{"1", "60"}));
    }

    void participatingOnlyIsItsOwnList()
    {
        server->enqueue(listAnswer({{"1"}, {"2"}}));
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 2);

        // Switched on: another list, asked for whole.
        server->enqueue(listAnswer({{"2"}}));
        Preferences::setParticipatingOnly(true);
        NoticeCenter::instance().post(QString::fromLatin1(Notices::participatingOnlyChanged), true);
        QTRY_COMPARE(store.items().size(), 1);
        QCOMPARE(server->requests().last().target, "/notifications?all=true&per_page=50&participating=true");
        QVERIFY(!server->requests().last().hasHeader("If-Modified-Since"));

        // Switched back: the list held is not the one GitHub would call unchanged.
        server->enqueue(listAnswer({{"1"}, {"2"}}));
        Preferences::setParticipatingOnly(false);
        NoticeCenter::instance().post(QString::fromLatin1(Notices::participatingOnlyChanged), false);
        QTRY_COMPARE(store.items().size(), 2);
        QVERIFY(!server->requests().last().hasHeader("If-Modified-Since"));
    }

private:
    std::unique_ptr<FakeGitHubServer> server;
};

QTEST_GUILESS_MAIN(TestActingOnThreads)
#include "tst_acting_on_threads.moc"
