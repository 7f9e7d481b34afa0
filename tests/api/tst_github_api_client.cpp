#include "api/GitHubAPIClient.h"
#include "api/RevalidationCache.h"
#include "credentials/KeychainManager.h"

#include "FakeGitHubServer.h"

#include <QCoro/QCoroTask>
#include <QFile>
#include <QTcpServer>
#include <QTest>

using GitHubAPIClient::APIError;
using Behaviour = ScriptedResponse::Behaviour;

namespace {

const QString token = QStringLiteral("ghp_TestToken0123456789");

QByteArray realisticBody()
{
    QFile file(QFINDTESTDATA("data/notifications.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test data");
    return file.readAll();
}

ClientResult<QList<GitHubNotification>> fetch(bool all = true, int perPage = 100)
{
    return QCoro::waitFor(GitHubAPIClient::fetchNotifications(all, perPage));
}

QString fetchError(bool all = true, int perPage = 100)
{
    const auto result = fetch(all, perPage);
    const auto *error = std::get_if<ClientError>(&result);
    return error ? userDescription(*error) : QStringLiteral("<no error>");
}

QStringList idsOf(const ClientResult<QList<GitHubNotification>> &result)
{
    QStringList ids;
    if (const auto *threads = std::get_if<QList<GitHubNotification>>(&result)) {
        for (const auto &thread : *threads)
            ids << thread.id;
    }
    return ids;
}

} // namespace

class TestGitHubAPIClient : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        server = std::make_unique<FakeGitHubServer>();
        GitHubAPIClient::setBaseUrl(server->baseUrl());
        GitHubAPIClient::setRequestTimeout(GitHubAPIClient::defaultRequestTimeout);
        RevalidationCache::shared().clear();
        QCOMPARE(KeychainManager::saveToken(token), std::nullopt);
    }

    void requestShapes()
    {
        QVERIFY(std::holds_alternative<QList<GitHubNotification>>(fetch(false, 250)));
        QVERIFY(std::holds_alternative<QList<GitHubNotification>>(fetch(true, 30)));
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::markThreadAsRead(QStringLiteral("42"))), std::nullopt);
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::muteThread(QStringLiteral("42"))), std::nullopt);
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::unmuteThread(QStringLiteral("42"))), std::nullopt);

        const QList<RecordedRequest> &requests = server->requests();
        QCOMPARE(requests.size(), 5);
        QCOMPARE(requests[0].method, "GET");
        QCOMPARE(requests[0].target, "/notifications?all=false&per_page=100");
        QCOMPARE(requests[1].target, "/notifications?all=true&per_page=30");
        QCOMPARE(requests[2].method, "PATCH");
        QCOMPARE(requests[2].target, "/notifications/threads/42");
        QCOMPARE(requests[3].method, "PUT");
        QCOMPARE(requests[3].target, "/notifications/threads/42/subscription");
        QCOMPARE(requests[3].body, "{\"ignored\":true}");
        QCOMPARE(requests[4].body, "{\"ignored\":false}");

        for (const RecordedRequest &request : requests) {
            QCOMPARE(request.header("Authorization"), "Bearer " + token.toUtf8());
            QCOMPARE(request.header("Accept"), "application/vnd.github+json");
            QCOMPARE(request.header("X-GitHub-Api-Version"), "2022-11-28");
            const qsizetype authorization = request.headerIndex("Authorization");
            QVERIFY(authorization < request.headerIndex("Accept"));
            QVERIFY(request.headerIndex("Accept") < request.headerIndex("X-GitHub-Api-Version"));
            const bool isSubscription = request.target.endsWith("/subscription");
            QCOMPARE(request.hasHeader("Content-Type"), isSubscription);
            if (isSubscription) {
                QCOMPARE(request.header("Content-Type"), "application/json");
                QVERIFY(request.headerIndex("X-GitHub-Api-Version") < request.headerIndex("Content-Type"));
            } else {
                QVERIFY(request.body.isEmpty());
            }
        }
    }

    void threadIdStaysOneSegment()
    {
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::markThreadAsRead(QStringLiteral("../../user/repos?x=1#y"))), std::nullopt);
        QCOMPARE(server->requests().size(), 1);
        QCOMPARE(server->requests()[0].target, "/notifications/threads/..%2F..%2Fuser%2Frepos%3Fx%3D1%23y");

        // Dot segments would be resolved away by the server; they are never sent.
        for (const QString &id : {QStringLiteral(".."), QStringLiteral("."), QString()})
            QCOMPARE(QCoro::waitFor(GitHubAPIClient::muteThread(id)), ClientError(APIError::invalidURL()));
        QCOMPARE(server->requests().size(), 1);
    }

    void statusRules()
    {
        server->enqueue({200, realisticBody(), {}, Behaviour::respond});
        const auto ok = fetch();
        QCOMPARE(idsOf(ok).size(), 8);
        QCOMPARE(idsOf(ok).first(), QStringLiteral("9001"));

        server->enqueue({200, "{\"not\":\"a list\"}", {}, Behaviour::respond});
        QVERIFY(fetchError().startsWith(QStringLiteral("Failed to parse GitHub response: ")));

        server->enqueue({401, "{\"message\":\"Bad credentials\",\"documentation_url\":\"https://docs.github.com/rest\"}", {}, Behaviour::respond});
        QCOMPARE(fetchError(), QStringLiteral("GitHub API error (401): Bad credentials"));

        server->enqueue({500, "", {}, Behaviour::respond});
        QCOMPARE(fetchError(), QStringLiteral("GitHub API error: HTTP 500"));

        server->enqueue({403, "<html>forbidden</html>", {}, Behaviour::respond});
        QCOMPARE(fetchError(), QStringLiteral("GitHub API error: HTTP 403"));

        server->enqueue({301, "{\"message\":\"Moved Permanently\"}", {{"Location", "https://evil.example/notifications"}}, Behaviour::respond});
        QCOMPARE(fetchError(), QStringLiteral("GitHub API error (301): Moved Permanently"));

        server->enqueue({429, realisticBody(), {}, Behaviour::respond});
        QCOMPARE(fetchError(), QStringLiteral("GitHub API rate limit exceeded. Please try again later."));

        server->enqueue({404, "{\"message\":\"Not Found\"}", {}, Behaviour::respond});
        const auto notFound = QCoro::waitFor(GitHubAPIClient::markThreadAsRead(QStringLiteral("1")));
        QCOMPARE(notFound, ClientError(APIError::invalidResponse()));
        QCOMPARE(userDescription(*notFound), QStringLiteral("Invalid response from GitHub API"));

        server->enqueue({429, "", {}, Behaviour::respond});
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::muteThread(QStringLiteral("1"))), ClientError(APIError::invalidResponse()));

        server->enqueue({205, "not json at all", {}, Behaviour::respond});
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::unmuteThread(QStringLiteral("1"))), std::nullopt);
        QCOMPARE(server->requests().size(), 10);

        // Statuses Qt reads as protocol or proxy failures are answers all the same.
        for (int status : {400, 407, 418}) {
            const QByteArray body = "{\"message\":\"Nope\"}";
            server->enqueue({status, body, {}, Behaviour::respond});
            QCOMPARE(fetchError(), QStringLiteral("GitHub API error (%1): Nope").arg(status));
            server->enqueue({status, body, {}, Behaviour::respond});
            QCOMPARE(QCoro::waitFor(GitHubAPIClient::markThreadAsRead(QStringLiteral("1"))), ClientError(APIError::invalidResponse()));
            server->enqueue({status, body, {}, Behaviour::respond});
            QCOMPARE(QCoro::waitFor(GitHubAPIClient::validateToken(QStringLiteral("ghp_x"))), ClientResult<bool>(false));
        }
    }

    void answersHaveLimits()
    {
        // Too large, whether announced or endless, and too slow however it trickles.
        server->enqueue({200, QByteArray(17 * 1024 * 1024, ' '), {}, Behaviour::respond});
        QCOMPARE(fetchError(), QStringLiteral("The answer is larger than 16 MB"));
        server->enqueue({200, {}, {}, Behaviour::endless});
        QCOMPARE(fetchError(), QStringLiteral("The answer is larger than 16 MB"));
        GitHubAPIClient::setRequestDeadline(std::chrono::milliseconds(700));
        server->enqueue({200, {}, {}, Behaviour::trickle});
        QCOMPARE(fetchError(), QStringLiteral("The server took too long to answer (over 0.7 s)"));
        GitHubAPIClient::setRequestDeadline(GitHubAPIClient::defaultRequestDeadline);
        // A later request goes through as usual.
        server->enqueue({200, "[]", {}, Behaviour::respond});
        QVERIFY(idsOf(fetch()).isEmpty());
    }

    void revalidatesWithTheLastAnswer()
    {
        const QByteArray lastModified = "Wed, 01 May 2024 09:30:00 GMT";
        server->enqueue({200, realisticBody(), {{"Last-Modified", lastModified}, {"ETag", "W/\"abc\""}}, Behaviour::respond});
        const auto first = fetch();
        QCOMPARE(idsOf(first).size(), 8);
        QVERIFY(!server->requests()[0].hasHeader("If-Modified-Since"));

        server->enqueue({304, "", {{"Last-Modified", lastModified}}, Behaviour::respond});
        const auto second = fetch();
        QCOMPARE(server->requests()[1].header("If-Modified-Since"), lastModified);
        QCOMPARE(server->requests()[1].header("If-None-Match"), "W/\"abc\"");
        QCOMPARE(idsOf(second), idsOf(first));

        // Another token never sees that answer: no conditional request, and a
        // stray 304 is not turned into someone else's threads.
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_other")), std::nullopt);
        server->enqueue({304, "", {}, Behaviour::respond});
        QCOMPARE(fetchError(), QStringLiteral("GitHub API error: HTTP 304"));
        QVERIFY(!server->requests()[2].hasHeader("If-Modified-Since"));
        QVERIFY(!server->requests()[2].hasHeader("If-None-Match"));

        // Another address (a different page size) is its own entry too.
        QCOMPARE(KeychainManager::saveToken(token), std::nullopt);
        fetch(true, 50);
        QVERIFY(!server->requests()[3].hasHeader("If-Modified-Since"));
    }

    void noTokenSendsNothing()
    {
        QCOMPARE(KeychainManager::deleteToken(), std::nullopt);
        const QString noToken = QStringLiteral("No GitHub token found. Please configure in Settings.");
        QCOMPARE(fetchError(), noToken);
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::markThreadAsRead(QStringLiteral("1"))), ClientError(APIError::noToken()));
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::muteThread(QStringLiteral("1"))), ClientError(APIError::noToken()));
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::unmuteThread(QStringLiteral("1"))), ClientError(APIError::noToken()));
        QVERIFY(server->requests().isEmpty());
    }

    void tokenGoesOnlyOverHttpsOrLoopback()
    {
        QVERIFY(GitHubAPIClient::mayCarryToken(QUrl(QStringLiteral("https://api.github.com"))));
        QVERIFY(GitHubAPIClient::mayCarryToken(QUrl(QStringLiteral("http://[::1]:8080"))));
        QVERIFY(GitHubAPIClient::mayCarryToken(QUrl(QStringLiteral("http://localhost:8080"))));
        QVERIFY(!GitHubAPIClient::mayCarryToken(QUrl(QStringLiteral("http://api.github.com"))));
        QVERIFY(!GitHubAPIClient::mayCarryToken(QUrl(QStringLiteral("ftp://127.0.0.1"))));

        GitHubAPIClient::setBaseUrl(QStringLiteral("http://api.github.com"));
        QCOMPARE(fetchError(), QStringLiteral("Invalid API URL"));
        GitHubAPIClient::setBaseUrl(QStringLiteral("https://exa mple.com"));
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::muteThread(QStringLiteral("1"))), ClientError(APIError::invalidURL()));
        QVERIFY(server->requests().isEmpty());
    }

    void transportFailuresPassThrough()
    {
        quint16 closedPort = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            closedPort = probe.serverPort();
        }
        GitHubAPIClient::setBaseUrl(QStringLiteral("http://127.0.0.1:%1").arg(closedPort));
        const auto refused = fetch();
        QVERIFY(std::holds_alternative<ClientError>(refused));
        const auto *transport = std::get_if<TransportError>(&std::get<ClientError>(refused));
        QVERIFY(transport);
        QCOMPARE(transport->code, QNetworkReply::ConnectionRefusedError);
        QCOMPARE(transport->description, QStringLiteral("Connection refused"));

        GitHubAPIClient::setBaseUrl(server->baseUrl());
        server->enqueue({200, realisticBody(), {}, Behaviour::closeMidBody});
        const auto cut = fetch();
        QVERIFY(std::holds_alternative<ClientError>(cut));
        const auto *closed = std::get_if<TransportError>(&std::get<ClientError>(cut));
        QVERIFY2(closed, qPrintable(userDescription(std::get<ClientError>(cut))));
        QCOMPARE(closed->code, QNetworkReply::RemoteHostClosedError);
    }

    void timesOut()
    {
        GitHubAPIClient::setRequestTimeout(std::chrono::milliseconds(300));
        server->enqueue({200, {}, {}, Behaviour::stall});
        const auto result = fetch();
        QVERIFY(std::holds_alternative<ClientError>(result));
        const auto *transport = std::get_if<TransportError>(&std::get<ClientError>(result));
        QVERIFY(transport);
        QCOMPARE(transport->code, QNetworkReply::OperationCanceledError);
        QVERIFY(!transport->description.isEmpty());
        QCOMPARE(server->requests().size(), 1);
    }

private:
    std::unique_ptr<FakeGitHubServer> server;
};

QTEST_GUILESS_MAIN(TestGitHubAPIClient)
#include "tst_github_api_client.moc"
