#include "api/AccountHost.h"
#include "credentials/KeychainManager.h"
#include "platform/PreferencesFile.h"
#include "settings/Accounts.h"
#include "settings/Preferences.h"
#include "store/AccountEnrolment.h"
#include "store/NotificationsStore.h"

#include "BrowserRecorder.h"
#include "FakeNotificationServer.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

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
    QByteArray enterpriseVersion;
    int doneStatus = 204;

    Host(QByteArray token, QByteArray prefix) : token(std::move(token)), prefix(std::move(prefix))
    {
        server.setHandler([this](const RecordedRequest &request) {
            if (request.header("Authorization") != "Bearer " + this->token)
                return answer(401, R"({"message":"Bad credentials"})");
            ScriptedResponse response = answer(205);
            if (request.target == this->prefix + "/user")
                response = {200,
                            R"({"login":"bob"})",
                            {{"X-OAuth-Scopes", scopes}},
                            ScriptedResponse::Behaviour::respond};
            else if (request.target.startsWith(this->prefix + "/notifications?"))
                response = listAnswer(threads);
            else if (request.method == "DELETE")
                response = answer(doneStatus);
            if (!enterpriseVersion.isEmpty())
                response.headers.append({"X-GitHub-Enterprise-Version", enterpriseVersion});
            return response;
        });
    }

    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(server.port()); }
    QString key(const char *id) const { return host() + QStringLiteral("/bob/") + QLatin1StringView(id); }
    // Each kind of request once, in order: a network coming back may poll again.
    QList<QByteArray> targets() const
    {
        QList<QByteArray> seen;
        for (const RecordedRequest &request : server.requests()) {
            if (!seen.contains(request.method + ' ' + request.target))
                seen.append(request.method + ' ' + request.target);
        }
        return seen;
    }
    // Every request this host received carried its own token.
    bool onlyOwnToken() const
    {
        return std::all_of(server.requests().cbegin(), server.requests().cend(),
                           [this](const RecordedRequest &r) { return r.header("Authorization") == "Bearer " + token; });
    }
};

std::optional<QByteArray> secretOf(const QString &account)
{
    QProcess tool;
    tool.start(QStringLiteral("secret-tool"),
               {QStringLiteral("lookup"), QStringLiteral("xdg:schema"),
                QStringLiteral("org.freedesktop.Secret.Generic"), QStringLiteral("service"),
                QStringLiteral("com.quillfen.app"), QStringLiteral("account"), account});
    if (!tool.waitForFinished() || tool.exitCode() != 0)
        return std::nullopt;
    return tool.readAllStandardOutput();
}

QJsonValue storedAccounts()
{
    QFile file(PreferencesFile::path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("accounts"));
}

QStringList keys(const NotificationsStore &store)
{
    QStringList all;
    for (const GHNotification &thread : store.items())
        all.append(thread.key() + u'=' + thread.account.name + (thread.unread ? u'*' : u'-'));
    return all;
}

QString addAccount(const QString &host, const QString &token)
{
    const auto added = QCoro::waitFor(AccountEnrolment::add(host, token));
    if (const auto *refusal = std::get_if<QString>(&added))
        return *refusal;
    return {};
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
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_first")), std::nullopt);
        Preferences::setNotificationsEnabled(true);
    }

    void hostsAreNormalised_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("api");
        QTest::addColumn<QString>("web");
        QTest::newRow("bare") << "ghe.example.com"
                              << "ghe.example.com"
                              << "https://ghe.example.com/api/v3"
                              << "https://ghe.example.com/";
        QTest::newRow("address") << " https://GHE.example.com/ "
                                 << "ghe.example.com"
                                 << "https://ghe.example.com/api/v3"
                                 << "https://ghe.example.com/";
        QTest::newRow("api address") << "https://ghe.example.com:8443/api/v3"
                                     << "ghe.example.com:8443"
                                     << "https://ghe.example.com:8443/api/v3"
                                     << "https://ghe.example.com:8443/";
        QTest::newRow("plain http is not kept") << "http://ghe.example.com"
                                                << "ghe.example.com"
                                                << "https://ghe.example.com/api/v3"
                                                << "https://ghe.example.com/";
        QTest::newRow("github api") << "api.github.com"
                                    << "github.com"
                                    << "https://api.github.com"
                                    << "https://github.com/";
        QTest::newRow("loopback") << "127.0.0.1:8080"
                                  << "127.0.0.1:8080"
                                  << "http://127.0.0.1:8080/api/v3"
                                  << "http://127.0.0.1:8080/";
        QTest::newRow("loopback v6") << "https://[::1]:9000/"
                                     << "[::1]:9000"
                                     << "http://[::1]:9000/api/v3"
                                     << "http://[::1]:9000/";
        QTest::newRow("localhost") << "localhost"
                                   << "localhost"
                                   << "http://localhost/api/v3"
                                   << "http://localhost/";
        for (const char *refused : {"", "ftp://ghe.example.com", "ghe.example.com/org", "me@ghe.example.com",
                                    "ghe.example.com?x=1", "https://"})
            QTest::addRow("refused %s", refused) << refused << ""
                                                 << ""
                                                 << "";
    }

    void hostsAreNormalised()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        QFETCH(QString, api);
        QFETCH(QString, web);
        GitHubAPIClient::setBaseUrl(QStringLiteral("https://api.github.com"));
        const std::optional<AccountHost> host = AccountHost::parse(typed);
        QCOMPARE(host.has_value(), !name.isEmpty());
        if (!host)
            return;
        QCOMPARE(host->name(), name);
        QCOMPARE(host->apiBase(), api);
        QCOMPARE(host->webRoot(), web);
    }

    // Added in Settings, both accounts work side by side: one list, and every
    // action on the host of its thread with that host's token only.
    void twoAccountsSideBySide()
    {
        FakeNotificationServer notifications;
        BrowserRecorder browser({QStringLiteral("http"), QStringLiteral("https")});
        QCOMPARE(addAccount(QStringLiteral("http://%1/").arg(enterprise->host()), "ghp_second"), QString());
        QCOMPARE(secretOf(QStringLiteral("github-token/%1/bob").arg(enterprise->host())), "ghp_second");
        QCOMPARE(storedAccounts(), QJsonValue(QJsonArray{QJsonObject{{"host", enterprise->host()}, {"login", "bob"}}}));
        QCOMPARE(addAccount(enterprise->host(), "ghp_second"),
                 QStringLiteral("bob@%1 is added already").arg(enterprise->host()));

        // The same thread id on both hosts is two threads.
        github->threads = {{"1"}};
        const QString issue = enterprise->server.baseUrl() + QStringLiteral("/api/v3/repos/octo/hooks/issues/7");
        enterprise->threads = {{.id = "1", .url = issue},
                               {.id = "2", .fullName = "corp/app"},
                               {.id = "3", .fullName = "x/y"}};
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 4);
        const QString bob = QStringLiteral("bob@") + enterprise->host();
        QCOMPARE(keys(store),
                 (QStringList{"1=github.com*", enterprise->key("1") + '=' + bob + '*',
                              enterprise->key("2") + '=' + bob + '*', enterprise->key("3") + '=' + bob + '*'}));
        QCOMPARE(store.unreadCount(), 4);

        store.toggleRead(enterprise->key("1"));
        store.toggleMute(QStringLiteral("1"));
        store.markRepositoryAsRead(QStringLiteral("corp/app"));
        store.open(enterprise->key("1"));
        QTRY_VERIFY(enterprise->targets().contains("PUT /api/v3/repos/corp/app/notifications"));
        QTRY_VERIFY(enterprise->targets().contains("PATCH /api/v3/notifications/threads/1"));
        QTRY_VERIFY(github->targets().contains("PUT /notifications/threads/1/subscription"));
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(enterprise->server.baseUrl() + "/octo/hooks/issues/7")});
        QCOMPARE(store.unreadCount(), 2);

        // A server without "done" restores the thread, says so, and offers it no more.
        enterprise->doneStatus = 405;
        store.markAsDone(enterprise->key("2"));
        QTRY_VERIFY(store.lastErrorText().contains(QStringLiteral("cannot mark threads as done")));
        QCOMPARE(store.items().size(), 4);
        QVERIFY(!store.items().last().account.canMarkDone);
        store.markAllAsRead();
        QTRY_VERIFY(enterprise->targets().contains("PUT /api/v3/notifications"));
        QTRY_VERIFY(github->targets().contains("PUT /notifications"));
        QList<QByteArray> sent = enterprise->targets() + github->targets();
        std::sort(sent.begin(), sent.end());
        QCOMPARE(sent,
                 (QList<QByteArray>{"DELETE /api/v3/notifications/threads/2",
                                    "GET /api/v3/notifications?all=true&per_page=50", "GET /api/v3/user",
                                    "GET /notifications?all=true&per_page=50", "PATCH /api/v3/notifications/threads/1",
                                    "PUT /api/v3/notifications", "PUT /api/v3/repos/corp/app/notifications",
                                    "PUT /notifications", "PUT /notifications/threads/1/subscription"}));
        QVERIFY(github->onlyOwnToken());
        QVERIFY(enterprise->onlyOwnToken());

        // A redirect is an answer, never followed with the token.
        enterprise->server.setHandler([this](const RecordedRequest &) {
            return ScriptedResponse{301,
                                    {},
                                    {{"Location", (github->server.baseUrl() + "/stolen").toUtf8()}},
                                    ScriptedResponse::Behaviour::respond};
        });
        store.requestRefresh();
        QTRY_VERIFY(store.lastErrorText().startsWith(bob + QStringLiteral(": GitHub API error: HTTP 301")));
        QVERIFY(github->onlyOwnToken());
        QVERIFY(!github->targets().contains("GET /stolen"));
        QCOMPARE(notifications.calls().size(), 0);
    }

    // One host down shows its own line; the other keeps polling and alerting.
    void oneHostDownAndRemoval()
    {
        FakeNotificationServer notifications;
        QCOMPARE(addAccount(enterprise->host(), "ghp_second"), QString());
        enterprise->threads = {{"5"}};
        NotificationsStore store;
        const QString bob = QStringLiteral("bob@") + enterprise->host();
        QTRY_COMPARE(keys(store), QStringList{enterprise->key("5") + '=' + bob + '*'});

        const QString host = enterprise->host();
        enterprise.reset();
        github->threads = {{"9"}};
        QTRY_VERIFY(!store.isRefreshing());
        store.requestRefresh();
        QTRY_VERIFY(store.lastErrorText().startsWith(bob + QStringLiteral(": ")));
        QTRY_COMPARE(store.items().size(), 2);
        QVERIFY(!store.lastError());
        QCOMPARE(notifications.calls().size(), 0);
        github->threads = {{"9"}, {"10"}};
        QTRY_VERIFY(!store.isRefreshing());
        store.requestRefresh();
        QTRY_COMPARE(notifications.calls().size(), 1);
        QCOMPARE(notifications.calls().at(0).body, QStringLiteral("octo/hooks · github.com\nMention"));

        // Removal: its threads and error go, its item and its entry too, no alert.
        QCOMPARE(QCoro::waitFor(AccountEnrolment::remove({host, QStringLiteral("bob")})), std::nullopt);
        QTRY_COMPARE(store.items().size(), 2);
        QCOMPARE(keys(store), (QStringList{"9=*", "10=*"}));
        QCOMPARE(store.lastErrorText(), QString());
        QCOMPARE(secretOf(QStringLiteral("github-token/%1/bob").arg(host)), std::nullopt);
        QCOMPARE(storedAccounts(), QJsonValue(QJsonArray{}));
        QTest::qWait(100);
        QCOMPARE(notifications.calls().size(), 1);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("token");
        QTest::addColumn<QByteArray>("scopes");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("scope") << ""
                               << "ghp_second" << QByteArray("read:user, gist")
                               << "This token has neither the notifications nor the repo scope";
        QTest::newRow("repo scope will do") << ""
                                            << "ghp_second" << QByteArray("repo") << "";
        QTest::newRow("fine-grained") << ""
                                      << "github_pat_11AB" << QByteArray()
                                      << "Fine-grained tokens (github_pat_…) cannot read notifications. Use a classic "
                                         "token with the notifications scope.";
        QTest::newRow("revoked") << ""
                                 << "ghp_revoked" << QByteArray() << "Invalid token or insufficient permissions";
        QTest::newRow("unreachable") << closedLoopbackUrl() << "ghp_second" << QByteArray()
                                     << "Cannot reach 127.0.0.1:";
        QTest::newRow("tls") << "tls"
                             << "ghp_second" << QByteArray() << "Secure connection to ";
        QTest::newRow("no host") << "https://"
                                 << "ghp_second" << QByteArray() << "Enter a host name, such as ghe.example.com";
    }

    void refusals()
    {
        QFETCH(QString, host);
        QFETCH(QString, token);
        QFETCH(QByteArray, scopes);
        QFETCH(QString, refusal);
        enterprise->scopes = scopes;
        // A server that speaks no TLS, on an address that is not loopback, so https is used.
        QTcpServer plain;
        if (host == u"tls") {
            const auto addresses = QNetworkInterface::allAddresses();
            const auto outside = std::find_if(addresses.cbegin(), addresses.cend(), [](const QHostAddress &a) {
                return a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback();
            });
            if (outside == addresses.cend())
                QSKIP("no address beyond loopback");
            QVERIFY(plain.listen(*outside));
            connect(&plain, &QTcpServer::newConnection, &plain, [&plain] {
                QTcpSocket *socket = plain.nextPendingConnection();
                socket->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
            });
            host = QStringLiteral("%1:%2").arg(outside->toString()).arg(plain.serverPort());
        }
        if (host.isEmpty())
            host = enterprise->host();
        const QString answer = addAccount(host, token);
        QVERIFY2(refusal.isEmpty() ? answer.isEmpty() : answer.startsWith(refusal), qPrintable(answer));
        if (!refusal.isEmpty()) {
            QVERIFY(!storedAccounts().isArray());
            QCOMPARE(secretOf(QStringLiteral("github-token/%1/bob").arg(enterprise->host())), std::nullopt);
        }
        if (!answer.isEmpty())
            return;
        QCOMPARE(QCoro::waitFor(AccountEnrolment::remove({enterprise->host(), QStringLiteral("bob")})), std::nullopt);
    }

    // Bad values are passed over, and kept when an account is added.
    void malformedAccountsAreIgnored()
    {
        const QVariantList odd{1, QVariantMap{{"host", 5}, {"login", "x"}},
                               QVariantMap{{"host", "a/b"}, {"login", "x"}},
                               QVariantMap{{"host", "GHE.example.com"}, {"login", "eve"}}};
        PreferencesFile::setValue(QStringLiteral("accounts"), odd);
        NotificationsStore store;
        QTRY_COMPARE(store.tokenStatus(), TokenState::Status::Stored);
        QVERIFY(store.accounts().isEmpty());
        QCOMPARE(Accounts::list(), (QList<Accounts::Entry>{{"GHE.example.com", "eve"}}));
        QVERIFY(Accounts::add({QStringLiteral("127.0.0.1:1"), QStringLiteral("bob")}));
        QCOMPARE(storedAccounts().toArray().size(), 5);
        PreferencesFile::setValue(QStringLiteral("accounts"), QStringLiteral("garbage"));
        QCOMPARE(Accounts::list(), QList<Accounts::Entry>{});
    }

private:
    std::unique_ptr<Host> github;
    std::unique_ptr<Host> enterprise;
};

QTEST_GUILESS_MAIN(TestAccounts)
#include "tst_accounts.moc"
