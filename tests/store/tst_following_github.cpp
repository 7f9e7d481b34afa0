#include "api/RequestPacing.h"
#include "credentials/KeychainManager.h"
#include "platform/StateFile.h"
#include "settings/Preferences.h"
#include "store/ListFreshness.h"
#include "store/NotificationsStore.h"
#include "store/Snoozes.h"

#include "FakeInbox.h"
#include "FakeNotificationServer.h"
#include "TestAccount.h"
#include "TestEnvironment.h"

#include <QElapsedTimer>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// One account's store against GitHub's own behaviour (FakeInbox), with the
// alerts it raises.
struct Fixture {
    FakeGitHubServer server;
    FakeInbox inbox;
    TestAccount account;
    FakeNotificationServer notifications;
    std::unique_ptr<NotificationsStore> store;

    Fixture(bool first, const QList<WireThread> &threads)
        : inbox(server, first ? QByteArray() : "/api/v3"_ba), account{first, server.port()}
    {
        useFakeGitHub(server);
        QFile::remove(StateFile::path());
        Preferences::setNotificationsEnabled(true);
        for (const WireThread &thread : threads)
            inbox.add(thread);
    }

    // The store, once its first list is shown.
    bool start()
    {
        if (!account.enrol())
            return false;
        store = std::make_unique<NotificationsStore>();
        return QTest::qWaitFor([this] { return lists() == 1 && !store->isRefreshing(); });
    }

    // List requests, each counted by its first page.
    int lists() const
    {
        return int(
            std::count_if(server.requests().cbegin(), server.requests().cend(), [](const RecordedRequest &request) {
                return request.target.contains("/notifications?") && !request.target.contains("&page=");
            }));
    }

    // A list asked for as `ask` does, once it has arrived and been merged.
    bool fetched(const std::function<void()> &ask)
    {
        const int before = lists();
        ask();
        return QTest::qWaitFor([&] { return lists() > before && !store->isRefreshing(); });
    }
    bool refreshed()
    {
        return fetched([this] { store->requestRefresh(); });
    }

    // Each thread's id, '*' when unread.
    QStringList rows() const
    {
        QStringList all;
        for (const GHNotification &thread : store->items())
            all.append(thread.id + (thread.unread ? u"*"_s : QString()));
        return all;
    }

    // The alerts raised so far, by summary. A last thread's alert is awaited
    // first: alerts arrive in order, so none raised before can still come.
    QStringList alerts()
    {
        inbox.add({.id = "last", .title = "Last"});
        if (!refreshed() || !QTest::qWaitFor([this] {
                return !notifications.calls().isEmpty() && notifications.calls().last().summary == u"Last";
            }))
            return {u"(no last alert)"_s};
        QStringList summaries;
        for (const auto &call : notifications.calls())
            summaries.append(call.summary);
        summaries.removeLast();
        return summaries;
    }
};

void addAccountRows(const char *name)
{
    QTest::addColumn<bool>("first");
    QTest::addRow("%s, first", name) << true;
    QTest::addRow("%s, enterprise", name) << false;
}

// What happens after the first list is shown, on GitHub and in Quillfen, and
// what Quillfen must show then and have alerted.
struct Case {
    const char *name;
    QList<WireThread> threads;
    std::function<bool(Fixture &)> then;
    QStringList rows;
    QStringList alerts = {};
};

const QList<Case> &cases()
{
    static const QList<Case> all{
        {"read on the web",
         {{.id = "1"}, {.id = "2"}},
         [](Fixture &f) {
             f.inbox.readElsewhere(u"1"_s);
             return f.refreshed();
         },
         {"2*", "1"}},
        {"done on the web",
         {{.id = "1"}, {.id = "2"}},
         [](Fixture &f) {
             f.inbox.doneElsewhere(u"1"_s);
             return f.refreshed();
         },
         {"2*"}},
        {"marked unread on the web",
         {{.id = "1", .unread = false}},
         [](Fixture &f) {
             f.inbox.markUnreadElsewhere(u"1"_s);
             return f.refreshed();
         },
         {"1*"}},
        {"a reply on a read thread",
         {{.id = "1", .unread = false, .title = "Seen"}},
         [](Fixture &f) {
             f.inbox.comment(u"1"_s);
             return f.fetched([&f] { f.store->refresh(); });
         },
         {"1*"},
         {"Seen"}},
        {"a reply on a snoozed thread",
         {{.id = "1", .title = "Snoozed"}},
         [](Fixture &f) {
             f.store->snooze(u"1"_s, int(Snoozes::Length::untilUpdated));
             f.inbox.comment(u"1"_s);
             return f.fetched([&f] { f.store->refresh(); });
         },
         {"1*"},
         {"Snoozed"}},
        {"a thread after inbox zero",
         {},
         [](Fixture &f) {
             f.inbox.add({.id = "1", .title = "First news"});
             return f.fetched([&f] { f.store->refresh(); });
         },
         {"1*"},
         {"First news"}},
        // GitHub marks in the background: its lists still say unread a while.
        {"mark all answered 202",
         {{.id = "1"}, {.id = "2"}},
         [](Fixture &f) {
             f.store->markAllAsRead();
             if (!QTest::qWaitFor([&f] { return f.server.requests().last().method == "PUT"; }) || !f.refreshed())
                 return false;
             f.inbox.finishMarkAll();
             return !f.inbox.isUnread(u"1"_s) && f.refreshed();
         },
         {"2", "1"}},
        {"mark all refused",
         {{.id = "1"}, {.id = "2"}},
         [](Fixture &f) {
             f.server.refuseChanges(f.account.prefix() + "/notifications", 401);
             f.store->markAllAsRead();
             return QTest::qWaitFor([&f] { return f.store->unreadCount() == 2; }) && f.refreshed();
         },
         {"2*", "1*"}},
        // A body cut short came with the list's usual Last-Modified: it is
        // not what later polls revalidate against.
        {"a list cut short",
         {{.id = "1"}},
         [](Fixture &f) {
             f.server.enqueue({200, "[{\"id\":", {{"Last-Modified", "Wed, 01 May 2024 09:30:01 GMT"}}});
             if (!f.refreshed() || !f.store->hasError())
                 return false;
             return f.fetched([&f] { f.store->refresh(); }) && !f.store->hasError();
         },
         {"1*"}},
    };
    return all;
}

} // namespace

Q_DECLARE_METATYPE(FakeInbox::PageFault)

// Quillfen's list, count and alerts follow what GitHub knows, for every
// account alike.
class TestFollowingGitHub : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QCOMPARE(KeychainManager::deleteToken(), std::nullopt); }

    void followsGitHub_data()
    {
        QTest::addColumn<bool>("first");
        QTest::addColumn<int>("index");
        for (int i = 0; i < cases().size(); ++i) {
            QTest::addRow("%s, first", cases()[i].name) << true << i;
            QTest::addRow("%s, enterprise", cases()[i].name) << false << i;
        }
    }
    void followsGitHub()
    {
        QFETCH(bool, first);
        QFETCH(int, index);
        const Case &c = cases()[index];
        Fixture f(first, c.threads);
        QVERIFY(f.start());
        QVERIFY(c.then(f));
        QCOMPARE(f.rows(), c.rows);
        QCOMPARE(f.alerts(), c.alerts);
    }

    void aListCutShortKeepsWhatItDidNotSee_data()
    {
        QTest::addColumn<bool>("first");
        QTest::addColumn<FakeInbox::PageFault>("fault");
        for (const auto &[name, fault] : {std::pair{"next page elsewhere", FakeInbox::PageFault::nextElsewhere},
                                          std::pair{"later page fails", FakeInbox::PageFault::laterPageFails}}) {
            QTest::addRow("%s, first", name) << true << fault;
            QTest::addRow("%s, enterprise", name) << false << fault;
        }
    }
    // Two pages, all marked read while GitHub still marks them in the
    // background; then a list that stops after the first page: the second
    // page's threads stay, read, and come back with the whole list as news
    // to nobody.
    void aListCutShortKeepsWhatItDidNotSee()
    {
        QFETCH(bool, first);
        QFETCH(FakeInbox::PageFault, fault);
        QList<WireThread> threads;
        for (int i = 1; i <= 60; ++i)
            threads.append({.id = QString::number(i)});
        Fixture f(first, threads);
        QVERIFY(f.start());
        QCOMPARE(f.store->unreadCount(), 60);
        f.store->markAllAsRead();
        QTRY_COMPARE(f.server.requests().last().method, "PUT"_ba);
        f.inbox.setPageFault(fault);
        QVERIFY(f.refreshed());
        QCOMPARE(f.store->items().size(), 60);
        QCOMPARE(f.store->unreadCount(), 0);
        QVERIFY(f.store->lastErrorText().contains(u"Only part of the list arrived"));
        f.inbox.setPageFault(FakeInbox::PageFault::none);
        QVERIFY(f.refreshed());
        QCOMPARE(f.store->unreadCount(), 0);
        QVERIFY(!f.store->hasError());
        QCOMPARE(f.alerts(), QStringList());
    }

    void aBusyThreadKeepsOneAlert_data() { addAccountRows("replies"); }
    void aBusyThreadKeepsOneAlert()
    {
        QFETCH(bool, first);
        Fixture f(first, {{.id = "1", .unread = false, .title = "Busy"}});
        QVERIFY(f.start());
        for (int reply = 1; reply <= 2; ++reply) {
            f.inbox.comment(u"1"_s);
            QVERIFY(f.fetched([&f] { f.store->refresh(); }));
            QTRY_COMPARE(f.notifications.calls().size(), reply);
        }
        QCOMPARE(f.notifications.calls().at(0).replacesId, 0u);
        QCOMPARE(f.notifications.calls().at(1).replacesId, f.notifications.calls().at(0).id);
    }

    void refreshesKeepGitHubsPace_data() { addAccountRows("pace"); }
    // A refresh asked for before GitHub's poll interval ends goes out when
    // it ends, and the countdown says so.
    void refreshesKeepGitHubsPace()
    {
        QFETCH(bool, first);
        Fixture f(first, {{.id = "1"}});
        f.inbox.setPollInterval(2);
        QElapsedTimer clock;
        QList<qint64> arrivals;
        QObject::connect(&f.server, &FakeGitHubServer::requestReceived, &f.server,
                         [&](const RecordedRequest &) { arrivals.append(clock.elapsed()); });
        clock.start();
        QVERIFY(f.start());
        f.store->requestRefresh();
        f.store->requestRefresh();
        QCOMPARE(arrivals.size(), 1);
        QVERIFY(f.store->secondsUntilRefresh() >= 1);
        QTRY_COMPARE(arrivals.size(), 2);
        QCOMPARE_GE(arrivals[1] - arrivals[0], 1900);
        QVERIFY(f.server.requests().last().header("If-Modified-Since").isEmpty());
    }

    // Whole lists when they are due: a timed poll five minutes after the last
    // whole answer, an opened view one minute after, the user's refresh at once.
    void wholeListsWhenDue()
    {
        using Fetch = ListFreshness::Fetch;
        const QDateTime at = QDateTime::currentDateTimeUtc();
        ListFreshness freshness;
        QVERIFY(freshness.wantsWhole(Fetch::timed, at)); // none yet
        freshness.arrived(at, true);
        QVERIFY(!freshness.wantsWhole(Fetch::timed, at.addSecs(299)));
        QVERIFY(freshness.wantsWhole(Fetch::timed, at.addSecs(300)));
        QVERIFY(!freshness.wantsFetch(Fetch::viewOpened, at.addSecs(59)));
        QVERIFY(freshness.wantsFetch(Fetch::viewOpened, at.addSecs(60)));
        QVERIFY(freshness.wantsWhole(Fetch::asked, at) && freshness.wantsWhole(Fetch::reconnected, at));
        freshness.arrived(at.addSecs(10), false); // a 304 is no whole list
        QVERIFY(freshness.wantsWhole(Fetch::timed, at.addSecs(300)));
        freshness.owe();
        QVERIFY(freshness.wantsWhole(Fetch::timed, at));
    }

    // Opening a view with no token sends nothing and says nothing.
    void aViewOpenedWithoutTokenIsQuiet()
    {
        FakeGitHubServer server;
        useFakeGitHub(server);
        NotificationsStore store;
        QTRY_COMPARE(store.tokenStatus(), TokenState::Status::Missing);
        store.viewOpened();
        QVERIFY(!store.hasError());
        QVERIFY(server.requests().isEmpty());
    }

    // Mark all covers the newest activity the user was shown, and no more:
    // news that came while the list was on its way is marked, news after the
    // list (in the same second, for GitHub) is not.
    void markAllSendsTheNewestActivityShown()
    {
        const QDateTime duringTheList = QDateTime::currentDateTimeUtc().addSecs(30).toOffsetFromUtc(0);
        Fixture f(true, {{.id = "1"}, {.id = "2", .updatedAt = duringTheList.toString(Qt::ISODate)}});
        QVERIFY(f.start());
        f.inbox.comment(u"1"_s);
        f.store->markAllAsRead();
        QTRY_COMPARE(f.server.requests().last().method, "PUT"_ba);
        QCOMPARE(f.server.requests().last().body,
                 R"({"last_read_at":")" + duringTheList.toString(Qt::ISODate).toLatin1() + R"("})");
        f.inbox.finishMarkAll();
        QVERIFY(!f.inbox.isUnread(u"2"_s));
        QVERIFY(f.inbox.isUnread(u"1"_s));
    }
};

QTEST_GUILESS_MAIN(TestFollowingGitHub)
#include "tst_following_github.moc"
