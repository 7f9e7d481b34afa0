#include "credentials/AccountTokens.h"
#include "credentials/KeychainManager.h"
#include "model/SampleNotifications.h"
#include "platform/NoticeCenter.h"
#include "platform/StateFile.h"
#include "settings/Accounts.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"
#include "store/AccountEnrolment.h"
#include "store/NotificationsStore.h"

#include "FakeNotificationServer.h"
#include "TestEnvironment.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// One account on its own fake host: the first account on github.com, or
// bob's on an Enterprise Server (its API under /api/v3) or on github.com,
// with his token in its own keychain item and no first token. The host lists
// `threads`, answers `list` instead when set, and accepts every change it is
// not told to refuse.
struct Account {
    enum class Kind { first, enterprise, gitHubCom };

    FakeGitHubServer server;
    bool first = true;
    bool enterprise = false;
    QList<WireThread> threads;
    std::optional<ScriptedResponse> list;
    QList<QPair<QByteArray, QByteArray>> listHeaders;

    explicit Account(bool first) : Account(first ? Kind::first : Kind::enterprise) { }
    explicit Account(Kind kind) : first(kind == Kind::first), enterprise(kind == Kind::enterprise)
    {
        useFakeGitHub(server);
        QFile::remove(StateFile::path());
        Preferences::setNotificationsEnabled(true);
        server.setHandler([this](const RecordedRequest &request) {
            if (!request.target.startsWith(prefix() + "/notifications?"))
                return answer(request.method == "GET" ? 404 : 205);
            if (list)
                return *list;
            ScriptedResponse listed = listAnswer(threads);
            listed.headers += listHeaders;
            return listed;
        });
        if (first) {
            QCOMPARE(KeychainManager::saveToken(u"ghp_first"_s), std::nullopt);
            return;
        }
        QCOMPARE(KeychainManager::deleteToken(), std::nullopt);
        QCOMPARE(QCoro::waitFor(AccountTokens::store(AccountTokens::itemName(host(), u"bob"_s), u"ghp_second"_s)),
                 std::nullopt);
        QVERIFY(Accounts::add({host(), u"bob"_s}));
    }

    QByteArray prefix() const { return enterprise ? "/api/v3"_ba : QByteArray(); }
    QString host() const { return enterprise ? u"127.0.0.1:%1"_s.arg(server.port()) : u"github.com"_s; }
    QString key(const char *id) const { return first ? QString::fromLatin1(id) : host() + "/bob/"_L1 + id; }
    int lists() const
    {
        return int(std::count_if(server.requests().cbegin(), server.requests().cend(), [this](const auto &request) {
            return request.target.startsWith(prefix() + "/notifications?");
        }));
    }
    QByteArrayList changes() const
    {
        QByteArrayList sent;
        for (const RecordedRequest &request : server.requests()) {
            if (request.method != "GET")
                sent.append(request.method + ' ' + request.target);
        }
        return sent;
    }
};

// Each thread's key, '*' when unread, 'm' when muted.
QStringList rows(const NotificationsStore &store)
{
    QStringList all;
    for (const GHNotification &thread : store.items())
        all.append(thread.key() + (thread.unread ? u"*"_s : QString()) + (thread.muted ? u"m"_s : QString()));
    return all;
}

void addAccountRows()
{
    QTest::addColumn<bool>("first");
    QTest::newRow("first") << true;
    QTest::newRow("enterprise") << false;
}

} // namespace

// What every account does alike, the first on github.com and another on an
// Enterprise Server: each row runs the same checks against either.
class TestEveryAccount : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        QCOMPARE(KeychainManager::deleteToken(), std::nullopt);
        QuietHours::write({});
    }

    void realThreadsOnlyAndMarkAll_data() { addAccountRows(); }
    // A token of any account: its threads, counted, never the samples.
    void realThreadsOnlyAndMarkAll()
    {
        QFETCH(bool, first);
        Account account(first);
        account.threads = {{"1"}, {.id = "2", .fullName = "corp/app"}};
        NotificationsStore store;
        QTRY_COMPARE(rows(store), (QStringList{account.key("1") + u'*', account.key("2") + u'*'}));
        QCOMPARE(store.tokenStatus(), TokenState::Status::Stored);
        QCOMPARE(store.unreadCount(), 2);
        store.markAllAsRead();
        QCOMPARE(store.unreadCount(), 0);
        QTRY_COMPARE(account.changes(), QByteArrayList{"PUT " + account.prefix() + "/notifications"});
    }

    void alertsKeepToRulesOfTheirHost_data() { addAccountRows(); }
    // A rule naming the thread's host applies to its alert; one naming
    // another host does not.
    void alertsKeepToRulesOfTheirHost()
    {
        QFETCH(bool, first);
        Account account(first);
        FakeNotificationServer notifications;
        account.threads = {{"1"}};
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 1);
        const auto rule = [](const char *repository, const QString &host, const char *action) {
            return QJsonObject{{"repository", repository}, {"host", host}, {"action", action}};
        };
        AlertRules::write({rule("corp/app", account.host(), "silent"), rule("corp/hidden", account.host(), "hide"),
                           rule("octo/hooks", u"elsewhere.example.com"_s, "hide")});
        account.threads = {{"1"},
                           {.id = "2", .title = "Two"},
                           {.id = "3", .fullName = "corp/app"},
                           {.id = "4", .fullName = "corp/hidden"}};
        QCoro::waitFor(store.refresh());
        QTRY_COMPARE(notifications.calls().size(), 1);
        // One alert, about thread 2 alone: the others were kept from it.
        QCOMPARE(notifications.calls().at(0).summary, u"Two"_s);
        QCOMPARE(store.unreadCount(), 3);
    }

    void quietHoursHoldAlerts_data() { addAccountRows(); }
    void quietHoursHoldAlerts()
    {
        QFETCH(bool, first);
        Account account(first);
        FakeNotificationServer notifications;
        QuietHours::write({.enabled = true, .from = QTime(22, 0), .to = QTime(7, 0)});
        account.threads = {{"1"}};
        NotificationsStore store;
        QDateTime now(QDate(2024, 5, 8), QTime(23, 0));
        store.quietHours().setClock([&] { return now; });
        QTRY_COMPARE(store.items().size(), 1);
        account.threads = {{"1"}, {"2"}};
        QCoro::waitFor(store.refresh());
        QTest::qWait(200);
        QVERIFY(notifications.calls().isEmpty());
        now = QDateTime(QDate(2024, 5, 9), QTime(7, 1));
        store.quietHours().check();
        QTRY_COMPARE(notifications.calls().size(), 1);
    }

    void snoozesSettle_data() { addAccountRows(); }
    // Updated, a thread snoozed until then comes back with its alert; the
    // snoozes of threads gone from the list go too.
    void snoozesSettle()
    {
        QFETCH(bool, first);
        Account account(first);
        FakeNotificationServer notifications;
        account.threads = {{"1"}, {"2"}};
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 2);
        store.snooze(account.key("1"), int(Snoozes::Length::untilUpdated));
        store.snooze(account.key("2"), int(Snoozes::Length::hour));
        QCOMPARE(store.unreadCount(), 0);
        account.threads = {{.id = "1", .updatedAt = "2024-05-02T09:30:00Z"}};
        QCoro::waitFor(store.refresh());
        QTRY_COMPARE(notifications.calls().size(), 1);
        QCOMPARE(store.unreadCount(), 1);
        QVERIFY(!store.snoozes().contains(account.key("1")));
        QVERIFY(!store.snoozes().contains(account.key("2")));
    }

    void refusalsRollBack_data()
    {
        using Kind = Account::Kind;
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("doneOffered");
        // The status and GitHub's message, as the list's errors say them.
        const auto refused = [](int status) { return u"GitHub API error (%1): Refused"_s.arg(status); };
        const QString withdrawn = u"cannot mark threads as done (it needs GitHub Enterprise Server 3.13"_s;
        const std::pair<Kind, const char *> kinds[] = {{Kind::first, "first"},
                                                       {Kind::enterprise, "enterprise"},
                                                       {Kind::gitHubCom, "github.com"}};
        for (const auto &[kind, name] : kinds) {
            for (const char *action : {"read", "mute", "done", "all", "repository"})
                QTest::addRow("%s %s", name, action)
                    << kind << QString::fromLatin1(action) << 500 << refused(500) << true;
            // Only an Enterprise Server without "done" stops offering it.
            for (const int status : {404, 405}) {
                const bool offered = kind != Kind::enterprise;
                QTest::addRow("%s done %d", name, status)
                    << kind << u"done"_s << status << (offered ? refused(status) : withdrawn) << offered;
            }
        }
    }

    // A refused change is undone, says why, and leaves the rest as it was.
    void refusalsRollBack()
    {
        QFETCH(Account::Kind, kind);
        QFETCH(QString, action);
        QFETCH(int, status);
        QFETCH(QString, error);
        Account account(kind);
        account.threads = {{"1"}, {.id = "2", .fullName = "corp/app"}};
        NotificationsStore store;
        const QStringList before{account.key("1") + u'*', account.key("2") + u'*'};
        QTRY_COMPARE(rows(store), before);
        account.server.refuseChanges(account.prefix() + '/', status);
        const QString key = account.key("1");
        if (action == u"read")
            store.toggleRead(key);
        else if (action == u"mute")
            store.toggleMute(key);
        else if (action == u"done")
            store.markAsDone(key);
        else if (action == u"all")
            store.markAllAsRead();
        else
            store.markRepositoryAsRead(u"octo/hooks"_s);
        QVERIFY(rows(store) != before);
        QTRY_VERIFY(store.hasError());
        QVERIFY2(store.lastErrorText().contains(error), qPrintable(store.lastErrorText()));
        QCOMPARE(rows(store), before);
        QTEST(store.items().first().account.canMarkDone, "doneOffered");
        QCOMPARE(account.changes().size(), 1);
    }

    void doneFollowsTheEnterpriseVersion_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("doneOffered");
        QTest::newRow("3.12") << "3.12.4"_ba << false;
        QTest::newRow("3.13") << "3.13.0"_ba << true;
    }
    // "Done" came with Enterprise Server 3.13: an older one, as its list
    // says, is not offered it.
    void doneFollowsTheEnterpriseVersion()
    {
        Account account(Account::Kind::enterprise);
        account.threads = {{"1"}};
        QFETCH(QByteArray, version);
        account.listHeaders = {{"X-GitHub-Enterprise-Version", version}};
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 1);
        QTEST(store.items().first().account.canMarkDone, "doneOffered");
    }

    void errorLineSpinnerAndCountdown_data() { addAccountRows(); }
    // Its error shows until its next refresh starts; while a list is on its
    // way the store says so, and the countdown says when the next one goes.
    void errorLineSpinnerAndCountdown()
    {
        QFETCH(bool, first);
        Account account(first);
        account.list = answer(500);
        NotificationsStore store;
        QTRY_VERIFY(store.lastErrorText().endsWith("GitHub API error: HTTP 500"_L1));
        QVERIFY(store.timersRunning());
        QVERIFY(store.secondsUntilRefresh() > 0);
        account.list = ScriptedResponse{200, {}, {}, ScriptedResponse::Behaviour::stall};
        store.requestRefresh();
        QTRY_VERIFY(store.isRefreshing());
        QVERIFY(!store.hasError());
    }

    void pacing_data() { addAccountRows(); }
    // GitHub's poll interval stretches the countdown; a new refresh interval
    // takes effect at once.
    void pacing()
    {
        QFETCH(bool, first);
        Account account(first);
        Preferences::setRefreshInterval(60);
        account.listHeaders = {{"X-Poll-Interval", "120"}};
        NotificationsStore store;
        QTRY_COMPARE(store.secondsUntilRefresh(), 120);
        Preferences::setRefreshInterval(240);
        NoticeCenter::instance().post(QString::fromLatin1(Notices::refreshIntervalChanged), 240);
        QTRY_COMPARE(store.secondsUntilRefresh(), 240);
        // However long the interval, the whole list comes every five minutes.
        Preferences::setRefreshInterval(1800);
        NoticeCenter::instance().post(QString::fromLatin1(Notices::refreshIntervalChanged), 1800);
        QTRY_COMPARE(store.secondsUntilRefresh(), 300);
        QCOMPARE(account.lists(), 1);
        // The panel asking the keyring again sends nothing.
        store.recheckToken();
        store.recheckToken();
        QTest::qWait(300);
        QCOMPARE(account.lists(), 1);
    }

    void details_data() { addAccountRows(); }
    void details()
    {
        QFETCH(bool, first);
        Account account(first);
        const QByteArray issue = account.prefix() + "/repos/octo/hooks/issues/7";
        account.server.setResource(issue, subjectBody({.state = u"closed"_s, .author = u"carol"_s}, false));
        account.threads = {{.id = "1", .url = account.server.baseUrl() + QString::fromLatin1(issue)}};
        NotificationsStore store;
        QTRY_COMPARE(store.items().value(0).details.value_or(SubjectDetails()).author.login, u"carol"_s);
        QCOMPARE(store.items().first().details->state, SubjectState::closed);
    }

    void removal_data()
    {
        QTest::addColumn<bool>("first");
        QTest::addColumn<bool>("snoozeKept");
        QTest::newRow("first") << true << true;
        QTest::newRow("enterprise") << false << false;
    }
    // The first account's token deleted, or another account removed: its
    // threads go without an alert and nothing more is sent; a removed
    // account's snoozes go too.
    void removal()
    {
        QFETCH(bool, first);
        Account account(first);
        FakeNotificationServer notifications;
        account.threads = {{"1"}, {"2"}};
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 2);
        store.snooze(account.key("2"), int(Snoozes::Length::hour));
        if (first)
            QCOMPARE(KeychainManager::deleteToken(), std::nullopt);
        else
            QCOMPARE(QCoro::waitFor(AccountEnrolment::remove({account.host(), u"bob"_s})), std::nullopt);
        QTRY_COMPARE(store.items(), sampleNotifications());
        QCOMPARE(store.tokenStatus(), TokenState::Status::Missing);
        QTEST(store.snoozes().contains(account.key("2")), "snoozeKept");
        const qsizetype sent = account.server.requests().size();
        store.requestRefresh();
        QTest::qWait(200);
        QCOMPARE(account.server.requests().size(), sent);
        QVERIFY(notifications.calls().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEveryAccount)
#include "tst_every_account.moc"
