#include "api/AccountHost.h"
#include "credentials/KeychainManager.h"
#include "platform/NoticeCenter.h"
#include "platform/PreferencesFile.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"
#include "store/AccountEnrolment.h"
#include "store/NotificationsStore.h"

#include "BrowserRecorder.h"
#include "FakeNotificationServer.h"
#include "TestEnvironment.h"

#include <QNetworkInterface>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A GitHub host that answers only `token`: its user resource, its list, and
// 205 to every change, all under `prefix` ("" for github.com, "/api/v3" for
// an Enterprise Server).
struct Host {
    FakeGitHubServer server;
    QByteArray token;
    QByteArray prefix;
    QList<WireThread> threads;
    QByteArray scopes = "notifications, read:user";
    QByteArray login = "bob";
    int doneStatus = 204;

    Host(QByteArray token, QByteArray prefix) : token(std::move(token)), prefix(std::move(prefix))
    {
        server.setHandler([this](const RecordedRequest &request) {
            if (request.header("Authorization") != "Bearer " + this->token)
                return answer(401, R"({"message":"Bad credentials"})");
            if (request.target == this->prefix + "/user")
                return ScriptedResponse{200, R"({"login":")" + login + R"("})", {{"X-OAuth-Scopes", scopes}}};
            if (request.target.startsWith(this->prefix + "/notifications?"))
                return listAnswer(threads);
            if (request.target.endsWith("/issues/7"))
                return answer(200, subjectBody({.state = u"closed"_s, .author = u"carol"_s}, false));
            return answer(request.method == "DELETE" ? doneStatus : 205);
        });
    }

    QString host() const { return u"127.0.0.1:%1"_s.arg(server.port()); }
    QString key(const char *id) const { return host() + "/bob/"_L1 + QLatin1StringView(id); }
    // A thread of bob's on this host, unread, as keys() lists it.
    QString row(const char *id) const { return key(id) + "=bob@"_L1 + host() + u'*'; }
    // Each kind of request once, sorted, marked if it carried another token
    // than this host's: a network coming back may poll again.
    QByteArrayList targets() const
    {
        QByteArrayList seen;
        for (const RecordedRequest &r : server.requests())
            seen.append(r.method + ' ' + r.target + (r.header("Authorization") == "Bearer " + token ? "" : " !token"));
        std::sort(seen.begin(), seen.end());
        seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
        return seen;
    }
};

// The token stored for `login` on `host`, as any Secret Service client sees it.
std::optional<QByteArray> secretOf(const QString &host, const QString &login = u"bob"_s)
{
    QProcess tool;
    tool.start(u"secret-tool"_s, {u"lookup"_s, u"xdg:schema"_s, u"org.freedesktop.Secret.Generic"_s, u"service"_s,
                                  u"com.quillfen.app"_s, u"account"_s, "github-token/"_L1 + host + u'/' + login});
    if (!tool.waitForFinished() || tool.exitCode() != 0)
        return std::nullopt;
    return tool.readAllStandardOutput();
}

QStringList keys(const NotificationsStore &store)
{
    QStringList all;
    for (const GHNotification &thread : store.items())
        all.append(thread.key() + u'=' + thread.account.name + (thread.unread ? u'*' : u'-'));
    return all;
}

// Empty when added, else why not.
QString addAccount(const QString &host, const QString &token)
{
    const auto added = QCoro::waitFor(AccountEnrolment::add(host, token));
    const auto *refusal = std::get_if<QString>(&added);
    return refusal ? *refusal : QString();
}

} // namespace

// Several accounts at once: github.com and a GitHub Enterprise Server, each
// on its own fake host that checks the token it receives.
class TestAccounts : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        github = std::make_unique<Host>("ghp_first", "");
        enterprise = std::make_unique<Host>("ghp_second", "/api/v3");
        useFakeGitHub(github->server);
        QCOMPARE(KeychainManager::saveToken(u"ghp_first"_s), std::nullopt);
        Preferences::setNotificationsEnabled(true);
    }

    void hostsAreNormalised_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name"); // empty: refused
        QTest::addColumn<QString>("api");
        QTest::addColumn<QString>("web");
        const struct {
            QString typed, name, api, web;
        } rows[] = {
            {"ghe.example.com", "ghe.example.com", "https://ghe.example.com/api/v3", "https://ghe.example.com/"},
            {" https://GHE.example.com/ ", "ghe.example.com", "https://ghe.example.com/api/v3",
             "https://ghe.example.com/"},
            {"https://ghe.example.com:8443/api/v3", "ghe.example.com:8443", "https://ghe.example.com:8443/api/v3",
             "https://ghe.example.com:8443/"},
            // Plain http is not kept beyond loopback.
            {"http://ghe.example.com", "ghe.example.com", "https://ghe.example.com/api/v3", "https://ghe.example.com/"},
            {"api.github.com", "github.com", "https://api.github.com", "https://github.com/"},
            {"127.0.0.1:8080", "127.0.0.1:8080", "http://127.0.0.1:8080/api/v3", "http://127.0.0.1:8080/"},
            {"https://[::1]:9000/", "[::1]:9000", "http://[::1]:9000/api/v3", "http://[::1]:9000/"},
            {"localhost", "localhost", "http://localhost/api/v3", "http://localhost/"},
        };
        for (const auto &row : rows)
            QTest::addRow("%s", qPrintable(row.typed)) << row.typed << row.name << row.api << row.web;
        for (const char *refused : {"", "ftp://ghe.example.com", "ghe.example.com/org", "me@ghe.example.com",
                                    "ghe.example.com?x=1", "https://"})
            QTest::addRow("refused '%s'", refused) << QString::fromUtf8(refused) << QString() << QString() << QString();
    }

    void hostsAreNormalised()
    {
        QFETCH(QString, typed);
        GitHubAPIClient::setBaseUrl(u"https://api.github.com"_s);
        const std::optional<AccountHost> host = AccountHost::parse(typed);
        QTEST(host ? host->name() : QString(), "name");
        QTEST(host ? host->apiBase() : QString(), "api");
        QTEST(host ? host->webRoot() : QString(), "web");
    }

    // Added in Settings, both accounts work side by side: one list, and every
    // action on the host of its thread with that host's token only.
    void twoAccountsSideBySide()
    {
        FakeNotificationServer notifications;
        BrowserRecorder browser({u"http"_s, u"https"_s});
        const QString host = enterprise->host();
        const QString bob = "bob@"_L1 + host;
        QCOMPARE(addAccount("http://"_L1 + host + u'/', u"ghp_second"_s), QString());
        QCOMPARE(secretOf(host), "ghp_second");
        QCOMPARE(PreferencesFile::value(u"accounts"_s),
                 QVariant(QVariantList{QVariantMap{{"host", host}, {"login", "bob"}}}));
        QCOMPARE(addAccount(host, u"ghp_second"_s), bob + " is added already"_L1);

        // The same thread id on both hosts is two threads.
        github->threads = {{"1"}};
        const QString issue = enterprise->server.baseUrl() + "/api/v3/repos/octo/hooks/issues/7"_L1;
        enterprise->threads = {{.id = "1", .url = issue}, {.id = "2", .fullName = "corp/app"}, {"3"}};
        NotificationsStore store;
        QTRY_COMPARE(keys(store),
                     (QStringList{"1=github.com*", enterprise->row("1"), enterprise->row("2"), enterprise->row("3")}));
        // Snoozing one of the two leaves the other counted.
        store.snooze(enterprise->key("1"), int(Snoozes::Length::hour));
        QCOMPARE(store.unreadCount(), 3);
        store.unsnooze(enterprise->key("1"));

        // Its rows' details come from its own host too.
        QTRY_COMPARE(store.items().at(1).details.value_or(SubjectDetails()).author.login, u"carol"_s);
        QCOMPARE(store.items().at(1).details->state, SubjectState::closed);

        store.toggleRead(enterprise->key("1"));
        store.toggleMute(u"1"_s);
        store.markRepositoryAsRead(u"corp/app"_s);
        store.open(enterprise->key("1"));
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(enterprise->server.baseUrl() + "/octo/hooks/issues/7"_L1)});
        QCOMPARE(store.unreadCount(), 2);
        QCOMPARE(store.unreadByAccount(), (QList<std::pair<QString, int>>{{u"github.com"_s, 1}, {bob, 1}}));

        // A server without "done" restores the thread, says so, and offers it no more.
        enterprise->doneStatus = 405;
        store.markAsDone(enterprise->key("2"));
        QTRY_VERIFY(store.lastErrorText().contains("cannot mark threads as done"_L1));
        QCOMPARE(store.items().size(), 4);
        QVERIFY(!store.items().last().account.canMarkDone);
        store.markAllAsRead();
        QTRY_COMPARE(
            github->targets() + enterprise->targets(),
            (QByteArrayList{"GET /notifications?all=true&per_page=50", "PUT /notifications",
                            "PUT /notifications/threads/1/subscription", "DELETE /api/v3/notifications/threads/2",
                            "GET /api/v3/notifications?all=true&per_page=50", "GET /api/v3/repos/octo/hooks/issues/7",
                            "GET /api/v3/user", "PATCH /api/v3/notifications/threads/1", "PUT /api/v3/notifications",
                            "PUT /api/v3/repos/corp/app/notifications"}));

        // A host that is down shows its own line, and keeps its threads; the
        // other host keeps polling and alerting.
        enterprise.reset();
        github->threads = {{"1"}, {"10"}};
        QTRY_VERIFY(!store.isRefreshing());
        store.requestRefresh();
        QTRY_COMPARE(notifications.calls().size(), 1);
        QCOMPARE(notifications.calls().at(0).body, u"octo/hooks · github.com\nMention"_s);
        QTRY_COMPARE(store.lastErrorText(), bob + ": Connection refused"_L1);
        QVERIFY(!store.lastError());
        QCOMPARE(store.items().size(), 5);

        // Removal: its threads and error go, its item and its entry too, no alert.
        QCOMPARE(QCoro::waitFor(AccountEnrolment::remove({host, u"bob"_s})), std::nullopt);
        QTRY_COMPARE(keys(store), (QStringList{"1=-", "10=*"}));
        QCOMPARE(store.lastErrorText(), QString());
        QCOMPARE(secretOf(host), std::nullopt);
        QCOMPARE(PreferencesFile::value(u"accounts"_s), QVariant(QVariantList()));
        QTest::qWait(100);
        QCOMPARE(notifications.calls().size(), 1);
    }

    void detailsGoOnWhileTheFirstTokenChanges_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::newRow("saved") << true;
        QTest::newRow("deleted") << false;
    }

    // The first account's token saved or deleted while another account's
    // details are on their way: they still arrive, asked for once.
    void detailsGoOnWhileTheFirstTokenChanges()
    {
        QFETCH(bool, saved);
        QCOMPARE(addAccount(enterprise->host(), u"ghp_second"_s), QString());
        enterprise->threads = {
            {.id = "1", .url = enterprise->server.baseUrl() + "/api/v3/repos/octo/hooks/issues/7"_L1}};
        connect(&enterprise->server, &FakeGitHubServer::requestReceived, this, [saved](const RecordedRequest &request) {
            if (request.target.endsWith("/issues/7"))
                QCOMPARE(saved ? KeychainManager::saveToken(u"ghp_new"_s) : KeychainManager::deleteToken(),
                         std::nullopt);
        });
        NotificationsStore store;
        const auto author = [&] {
            for (const GHNotification &thread : store.items()) {
                if (thread.key() == enterprise->key("1"))
                    return thread.details.value_or(SubjectDetails()).author.login;
            }
            return QString();
        };
        QTRY_COMPARE(author(), u"carol"_s);
        const QList<RecordedRequest> &requests = enterprise->server.requests();
        QCOMPARE(std::count_if(requests.cbegin(), requests.cend(),
                               [](const RecordedRequest &request) { return request.target.endsWith("/issues/7"); }),
                 1);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("host"); // empty: the Enterprise host
        QTest::addColumn<QString>("token");
        QTest::addColumn<QByteArray>("scopes");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("refusal"); // empty: added
        const QString token = u"ghp_second"_s;
        const QString bob = u"bob"_s;
        QTest::newRow("scope") << QString() << token << "read:user, gist"_ba << bob
                               << u"This token has neither the notifications nor the repo scope"_s;
        QTest::newRow("repo scope will do") << QString() << token << "repo"_ba << bob << QString();
        QTest::newRow("fine-grained") << QString() << u"github_pat_11AB"_s << QByteArray() << bob
                                      << u"Fine-grained tokens (github_pat_…) cannot read notifications."_s;
        QTest::newRow("revoked") << QString() << u"ghp_revoked"_s << QByteArray() << bob
                                 << u"Invalid token or insufficient permissions"_s;
        QTest::newRow("unreachable") << closedLoopbackUrl() << token << QByteArray() << bob
                                     << u"Cannot reach 127.0.0.1:"_s;
        QTest::newRow("no host") << u"https://"_s << token << QByteArray() << bob
                                 << u"Enter a host name, such as ghe.example.com"_s;
        QTest::newRow("unstorable login") << QString() << token << "repo"_ba << u"b ob"_s << u"127.0.0.1:"_s;
    }

    // Nothing is stored unless every check passes.
    void refusals()
    {
        QFETCH(QString, host);
        QFETCH(QString, token);
        QFETCH(QByteArray, scopes);
        QFETCH(QString, login);
        QFETCH(QString, refusal);
        enterprise->scopes = scopes;
        enterprise->login = login.toUtf8();
        const QString answer = addAccount(host.isEmpty() ? enterprise->host() : host, token);
        QVERIFY2(refusal.isEmpty() ? answer.isEmpty() : answer.startsWith(refusal), qPrintable(answer));
        QVERIFY(!answer.contains(u"added already"_s));
        QCOMPARE(PreferencesFile::value(u"accounts"_s).isValid(), refusal.isEmpty());
        QCOMPARE(secretOf(enterprise->host(), login).has_value(), refusal.isEmpty());
    }

    // The first account cannot come again as another: its token's login is asked.
    void theFirstAccountIsNotAddedAgain()
    {
        QCOMPARE(addAccount(u"api.github.com"_s, u"ghp_first"_s), u"bob is the github.com account already"_s);
        QCOMPARE(secretOf(u"github.com"_s), std::nullopt);
        QVERIFY(!PreferencesFile::value(u"accounts"_s).isValid());
    }

    // Rules taken from a row name its host; a group's "mark read" in one
    // account's view marks that account's threads only.
    void rowActionsKeepToTheirAccount()
    {
        QCOMPARE(addAccount(enterprise->host(), u"ghp_second"_s), QString());
        github->threads = {{"1"}, {"2"}};
        enterprise->threads = {{"1"}, {"2"}};
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 4);
        store.hideRepository(enterprise->key("1"));
        QCOMPARE(AlertRules::current().rules,
                 (QList<AlertRules::Rule>{
                     {.repository = "octo/hooks", .host = enterprise->host(), .action = AlertRules::Action::hide}}));
        QCOMPARE(store.unreadCount(), 2);
        QCOMPARE(store.filteredItems().size(), 2);
        AlertRules::write({});
        store.markRepositoryAsRead(u"octo/hooks"_s, enterprise->host() + "/bob"_L1);
        QCOMPARE(store.unreadCount(), 2);
        QTRY_VERIFY(enterprise->targets().contains("PUT /api/v3/repos/octo/hooks/notifications"));
        QVERIFY(!github->targets().contains("PUT /repos/octo/hooks/notifications"));
    }

    // Two accounts removed at once, by a hand edit of the preferences,
    // around one that stays.
    void severalRemovedAtOnce()
    {
        Host kept("ghp_third", "/api/v3");
        Host last("ghp_fourth", "/api/v3");
        for (const Host *host : {enterprise.get(), &kept, &last})
            QCOMPARE(addAccount(host->host(), QString::fromLatin1(host->token)), QString());
        github->threads = {{"1"}};
        enterprise->threads = {{"2"}};
        kept.threads = {{"3"}};
        last.threads = {{"4"}};
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 4);
        PreferencesFile::setValue(u"accounts"_s, QVariantList{QVariantMap{{"host", kept.host()}, {"login", "bob"}}});
        NoticeCenter::instance().post(QString::fromLatin1(Notices::accountsChanged));
        QTRY_COMPARE(keys(store), (QStringList{u"1=github.com*"_s, kept.row("3")}));
    }

    // Beyond loopback only https is spoken: a host without TLS is refused.
    void aHostWithoutTlsIsRefused()
    {
        const auto addresses = QNetworkInterface::allAddresses();
        const auto outside = std::find_if(addresses.cbegin(), addresses.cend(), [](const QHostAddress &a) {
            return a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback();
        });
        if (outside == addresses.cend())
            QSKIP("no address beyond loopback");
        QTcpServer plain;
        QVERIFY(plain.listen(*outside));
        connect(&plain, &QTcpServer::newConnection, &plain, [&plain] {
            plain.nextPendingConnection()->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
        });
        const QString answer = addAccount(u"%1:%2"_s.arg(outside->toString()).arg(plain.serverPort()), u"ghp_second"_s);
        QVERIFY2(answer.startsWith("Secure connection to "_L1), qPrintable(answer));
        QVERIFY(!PreferencesFile::value(u"accounts"_s).isValid());
    }

    // Bad values are passed over, and kept when an account is added.
    void malformedAccountsAreIgnored()
    {
        const QVariantList odd{1, QVariantMap{{"host", 5}, {"login", "x"}},
                               QVariantMap{{"host", "a/b"}, {"login", "x"}},
                               QVariantMap{{"host", "GHE.example.com"}, {"login", "eve"}}};
        PreferencesFile::setValue(u"accounts"_s, odd);
        NotificationsStore store;
        QTRY_COMPARE(store.tokenStatus(), TokenState::Status::Stored);
        QVERIFY(store.accounts().isEmpty());
        QCOMPARE(Accounts::list(), (QList<Accounts::Entry>{{"GHE.example.com", "eve"}}));
        QVERIFY(Accounts::add({u"127.0.0.1:1"_s, u"bob"_s}));
        QCOMPARE(PreferencesFile::value(u"accounts"_s).toList().size(), 5);
        PreferencesFile::setValue(u"accounts"_s, u"garbage"_s);
        QCOMPARE(Accounts::list(), QList<Accounts::Entry>{});
    }

private:
    std::unique_ptr<Host> github;
    std::unique_ptr<Host> enterprise;
};

QTEST_GUILESS_MAIN(TestAccounts)
#include "tst_accounts.moc"
