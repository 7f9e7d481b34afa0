#include "api/GitHubAPIClient.h"
#include "api/LinkHeader.h"
#include "api/RequestPacing.h"
#include "api/RevalidationCache.h"
#include "credentials/KeychainManager.h"

#include "FakeGitHubServer.h"
#include "TestEnvironment.h"
#include "ThreadJson.h"

#include <QCoro/QCoroTask>
#include <QFile>
#include <QTest>
#include <QUrlQuery>

using GitHubAPIClient::APIError;
using Behaviour = ScriptedResponse::Behaviour;

namespace {

const QString token = QStringLiteral("ghp_TestToken0123456789");

QByteArray realisticBody()
{
    QFile file(QFINDTESTDATA("data/notifications.json"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The token stored now, at the client's base URL.
GitHubAPIClient::Access access()
{
    const auto stored = KeychainManager::getToken();
    const auto *read = std::get_if<std::optional<QString>>(&stored);
    return {GitHubAPIClient::baseUrl(), read && *read ? **read : QString()};
}

// How a fetch ends: the threads' ids, "unchanged" for a 304, or the error's
// description alone.
QStringList fetched(bool all = true, int perPage = 50)
{
    const auto result = QCoro::waitFor(GitHubAPIClient::fetchNotifications(access(), all, perPage));
    if (const auto *error = std::get_if<ClientError>(&result))
        return {userDescription(*error)};
    const auto &list = std::get<GitHubAPIClient::NotificationList>(result);
    if (!list.current)
        return {QStringLiteral("unchanged")};
    QStringList ids;
    for (const auto &thread : list.threads)
        ids << thread.id;
    return ids;
}

std::optional<ClientError> markRead(const QString &id = QStringLiteral("1"))
{
    return QCoro::waitFor(GitHubAPIClient::markThreadAsRead(access(), id));
}

} // namespace

class TestGitHubAPIClient : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        server = std::make_unique<FakeGitHubServer>();
        useFakeGitHub(*server);
        QCOMPARE(KeychainManager::saveToken(token), std::nullopt);
    }

    void requestShapes()
    {
        QVERIFY(fetched(false, 250).isEmpty());
        QVERIFY(fetched(true, 30).isEmpty());
        QCOMPARE(markRead(QStringLiteral("42")), std::nullopt);
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::muteThread(access(), QStringLiteral("42"))), std::nullopt);
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::unmuteThread(access(), QStringLiteral("42"))), std::nullopt);
        const struct {
            QByteArray method, target, body;
        } expected[] = {
            {"GET", "/notifications?all=false&per_page=50", {}}, // GitHub answers 50 at most
            {"GET", "/notifications?all=true&per_page=30", {}},
            {"PATCH", "/notifications/threads/42", {}},
            {"PUT", "/notifications/threads/42/subscription", "{\"ignored\":true}"},
            {"PUT", "/notifications/threads/42/subscription", "{\"ignored\":false}"},
        };
        QCOMPARE(server->requests().size(), std::size(expected));
        for (qsizetype i = 0; i < server->requests().size(); ++i) {
            const RecordedRequest &request = server->requests()[i];
            QCOMPARE(request.method + ' ' + request.target + ' ' + request.body,
                     expected[i].method + ' ' + expected[i].target + ' ' + expected[i].body);
            QCOMPARE(request.header("Authorization"), "Bearer " + token.toUtf8());
            QCOMPARE(request.header("Accept"), "application/vnd.github+json");
            QCOMPARE(request.header("X-GitHub-Api-Version"), "2022-11-28");
            QCOMPARE(request.header("Content-Type"),
                     request.body.isEmpty() ? QByteArray() : QByteArray("application/json"));
            // In this order, the body's type last.
            QList<qsizetype> order;
            for (const char *name : {"Authorization", "Accept", "X-GitHub-Api-Version", "Content-Type"})
                order << (request.hasHeader(name) ? request.headerIndex(name) : order.value(order.size() - 1) + 1);
            QVERIFY(std::is_sorted(order.begin(), order.end()));
        }
    }

    void threadIdStaysOneSegment()
    {
        QCOMPARE(markRead(QStringLiteral("../../user/repos?x=1#y")), std::nullopt);
        QCOMPARE(server->requests()[0].target, "/notifications/threads/..%2F..%2Fuser%2Frepos%3Fx%3D1%23y");

        // Dot segments would be resolved away by the server; they are never sent.
        for (const QString &id : {QStringLiteral(".."), QStringLiteral("."), QString()})
            QCOMPARE(QCoro::waitFor(GitHubAPIClient::muteThread(access(), id)), ClientError(APIError::invalidURL()));
        QCOMPARE(server->requests().size(), 1);
    }

    // How a list fetch ends (an error's start, nothing for success), and
    // that an action or a token check succeeds on 2xx and 200 only.
    void statusRules()
    {
        const QString unparsable = QStringLiteral("Failed to parse GitHub response: ");
        const QByteArray nope = "{\"message\":\"Nope\"}";
        const struct {
            int status;
            QByteArray body;
            QString listError;
        } cases[] = {
            {200, realisticBody(), {}},
            {200, "{\"not\":\"a list\"}", unparsable},
            {205, "not json at all", unparsable},
            {401, "{\"message\":\"Bad credentials\",\"documentation_url\":\"https://docs.github.com/rest\"}",
             "GitHub API error (401): Bad credentials"},
            {500, {}, "GitHub API error: HTTP 500"},
            {403, "<html>forbidden</html>", "GitHub API error: HTTP 403"},
            {301, "{\"message\":\"Moved Permanently\"}", "GitHub API error (301): Moved Permanently"}, // not followed
            {429, realisticBody(), "GitHub API rate limit exceeded. Please try again later."},
            // Statuses Qt reads as protocol or proxy failures are answers all the same.
            {400, nope, "GitHub API error (400): Nope"},
            {407, nope, "GitHub API error (407): Nope"},
            {418, nope, "GitHub API error (418): Nope"},
        };
        for (const auto &c : cases) {
            server->clearRequests();
            for (int i = 0; i < 3; ++i)
                server->enqueue(
                    {c.status, c.body, {{"Location", "https://evil.example/notifications"}}, Behaviour::respond});
            RequestPacing::clear(); // the pause a limit starts has its own test
            const QString ended = fetched().join(u',');
            QVERIFY2(c.listError.isEmpty() ? ended.startsWith(u"9001,") : ended.startsWith(c.listError),
                     qPrintable(ended));
            RequestPacing::clear();
            // An action's refusal says what the list's would.
            const std::optional<ClientError> refused = markRead();
            QCOMPARE(refused ? userDescription(*refused) : QString(), c.status / 100 == 2 ? QString() : c.listError);
            RequestPacing::clear();
            QCOMPARE(QCoro::waitFor(GitHubAPIClient::validateToken(QStringLiteral("ghp_x"))),
                     ClientResult<bool>(c.status == 200));
            QCOMPARE(server->requests().size(), 3);
        }
    }

    void pagesFollowTheNextLinkOnTheListItself()
    {
        // 120 threads in pages of 50, linked as GitHub links them.
        const QList<WireThread> all = manyThreads(120);
        QString linkHost = server->baseUrl();
        server->setHandler([&](const RecordedRequest &request) {
            const int page =
                QUrlQuery(QUrl(QString::fromLatin1(request.target))).queryItemValue(QStringLiteral("page")).toInt();
            const int index = std::max(page, 1) - 1;
            ScriptedResponse response{200,
                                      threadsBody(all.mid(index * 50, 50)),
                                      {{"Last-Modified", "Wed, 01 May 2024 09:30:00 GMT"}, {"ETag", "\"list\""}},
                                      Behaviour::respond};
            if (index < 2)
                response.headers.append(
                    {"Link", QStringLiteral("<%1/notifications?all=true&per_page=50&page=%2>; rel=\"next\", "
                                            "<%1/notifications?all=true&per_page=50&page=3>; rel=\"last\"")
                                 .arg(linkHost)
                                 .arg(index + 2)
                                 .toUtf8()});
            return response;
        });
        QCOMPARE(fetched().size(), 120);
        QCOMPARE(server->requests().size(), 3);
        QCOMPARE(server->requests()[2].target, "/notifications?all=true&per_page=50&page=3");
        QVERIFY(!server->requests()[1].hasHeader("If-Modified-Since"));

        // Unchanged: one request.
        server->clearRequests();
        server->enqueue({304, {}, {}, Behaviour::respond});
        QCOMPARE(fetched(), QStringList{QStringLiteral("unchanged")});
        QCOMPARE(server->requests().size(), 1);

        // Changed: only the first page is asked "changed since?"; the later
        // pages are plain requests, whose answers are never a 304.
        server->clearRequests();
        QCOMPARE(fetched().size(), 120);
        QCOMPARE(server->requests().size(), 3);
        QVERIFY(server->requests()[0].hasHeader("If-Modified-Since")
                && server->requests()[0].hasHeader("If-None-Match"));
        for (const RecordedRequest &later : server->requests().mid(1))
            QVERIFY(!later.hasHeader("If-Modified-Since") && !later.hasHeader("If-None-Match"));

        // A next link to anywhere else is not followed: the token stays home.
        RevalidationCache::shared().clear();
        server->clearRequests();
        for (const QString &elsewhere : {QStringLiteral("http://localhost:%1").arg(server->port()),
                                         server->baseUrl() + QStringLiteral("/user/../notifications/x")}) {
            linkHost = elsewhere;
            QCOMPARE(fetched().size(), 50);
        }
        QCOMPARE(server->requests().size(), 2);
    }

    void linkHeaders()
    {
        const struct {
            QByteArray header;
            QString next;
        } cases[] = {
            {"<https://api.github.com/n?page=2>; rel=\"next\", <https://api.github.com/n?page=5>; rel=\"last\"",
             "https://api.github.com/n?page=2"},
            {"<https://a/p?page=1>; rel=\"prev\", <https://a/p?page=3>; rel=\"next\"", "https://a/p?page=3"},
            {"<https://a/x>;rel=\"last next\"", "https://a/x"},
            {"<https://a/y>; rel=next", "https://a/y"},
            {"<https://a/p?page=1>; rel=\"prev\"", {}},
            {"</notifications?page=2>; rel=\"next\"", {}},
            {"<https://a/p; rel=\"next\"", {}},
            {"", {}},
            {"<https://a/z>; rel=\"nextpage\"", {}},
        };
        for (const auto &c : cases) {
            const std::optional<QUrl> found = LinkHeader::next(c.header);
            QCOMPARE(found ? found->toString() : QString(), c.next);
        }
    }

    void pausesAfterRateLimits()
    {
        using Headers = RequestPacing::Headers;
        const QByteArray secondary = "{\"message\":\"You have exceeded a secondary rate limit\"}";
        const auto spent = [](const char *reset) {
            return Headers{{"x-ratelimit-remaining", "0"}, {"x-ratelimit-reset", reset}};
        };
        const struct {
            int status;
            Headers headers;
            QByteArray body;
            int repeats;
            int pause; // seconds, -1 for none
        } cases[] = {
            {403, spent("1000090"), {}, 0, 90},
            {429, spent("1000010"), {}, 3, 10},
            {403, spent("999000"), {}, 0, 1}, // the reset has passed
            {429, spent("1000090") + Headers{{"retry-after", "30"}}, {}, 0, 30},
            {403, {{"retry-after", "99999999"}}, {}, 0, 86400},
            {403, {}, secondary, 0, 60},
            {429, {}, {}, 1, 120}, // secondary, again
            {429, {}, {}, 20, 3840}, // at most an hour, with a little spread
            {403, {}, "{\"message\":\"Must have admin rights\"}", 0, -1},
            {403, {{"x-ratelimit-remaining", "12"}, {"x-ratelimit-reset", "1000090"}}, {}, 0, -1},
            {500, {{"retry-after", "30"}}, {}, 0, -1},
        };
        for (const auto &c : cases) {
            const auto found = RequestPacing::pauseAfter(c.status, c.headers, c.body, c.repeats,
                                                         QDateTime::fromSecsSinceEpoch(1000000));
            QCOMPARE(found ? int(found->count()) : -1, c.pause);
        }
    }

    void nothingGoesOutDuringAPause()
    {
        const QByteArray reset = QByteArray::number(QDateTime::currentSecsSinceEpoch() + 2);
        server->enqueue({403,
                         "{\"message\":\"API rate limit exceeded for user ID 1.\"}",
                         {{"x-ratelimit-remaining", "0"}, {"x-ratelimit-reset", reset}},
                         Behaviour::respond});
        QCOMPARE(fetched(),
                 QStringList{QStringLiteral("GitHub API error (403): API rate limit exceeded for user ID 1.")});
        const QByteArray paused = KeychainManager::tokenDigest(token);
        QVERIFY(RequestPacing::pausedUntil(paused));
        const auto refused = markRead();
        QVERIFY(
            refused
            && userDescription(*refused).startsWith(QStringLiteral("GitHub asked for a pause: no requests until ")));
        QVERIFY(fetched().value(0).startsWith(QStringLiteral("GitHub asked for a pause")));
        QCOMPARE(server->requests().size(), 1);

        // The pause is that token's: a candidate is tried meanwhile, and its
        // own limit holds only itself.
        server->enqueue({429, {}, {{"Retry-After", "600"}}, Behaviour::respond});
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::validateToken(QStringLiteral("ghp_candidate"))),
                 ClientResult<bool>(false));
        QCOMPARE(server->requests().size(), 2);
        QVERIFY(RequestPacing::pausedUntil(KeychainManager::tokenDigest(QStringLiteral("ghp_candidate"))));
        QVERIFY(*RequestPacing::pausedUntil(paused) < QDateTime::currentDateTimeUtc().addSecs(10));
        // A new token starts unpaused.
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_new")), std::nullopt);
        QCOMPARE(markRead(), std::nullopt);
        QCOMPARE(KeychainManager::saveToken(token), std::nullopt);
        QTRY_VERIFY_WITH_TIMEOUT(!RequestPacing::pausedUntil(paused), 4000);
        QCOMPARE(markRead(), std::nullopt);
    }

    void answersHaveLimits()
    {
        // Too large, whether announced or endless, and too slow however it trickles.
        server->enqueue({200, QByteArray(17 * 1024 * 1024, ' '), {}, Behaviour::respond});
        QCOMPARE(fetched(), QStringList{QStringLiteral("The answer is larger than 16 MB")});
        server->enqueue({200, {}, {}, Behaviour::endless});
        QCOMPARE(fetched(), QStringList{QStringLiteral("The answer is larger than 16 MB")});
        GitHubAPIClient::setRequestDeadline(std::chrono::milliseconds(700));
        server->enqueue({200, {}, {}, Behaviour::trickle});
        QCOMPARE(fetched(), QStringList{QStringLiteral("The server took too long to answer (over 0.7 s)")});
        GitHubAPIClient::setRequestDeadline(GitHubAPIClient::defaultRequestDeadline);
        // A later request goes through as usual.
        server->enqueue({200, "[]", {}, Behaviour::respond});
        QVERIFY(fetched().isEmpty());
    }

    void revalidatesWithTheLastAnswer()
    {
        const QByteArray lastModified = "Wed, 01 May 2024 09:30:00 GMT";
        server->enqueue(
            {200, realisticBody(), {{"Last-Modified", lastModified}, {"ETag", "W/\"abc\""}}, Behaviour::respond});
        const QStringList first = fetched();
        QCOMPARE(first.size(), 8);
        QVERIFY(!server->requests()[0].hasHeader("If-Modified-Since"));

        server->enqueue({304, "", {{"Last-Modified", lastModified}}, Behaviour::respond});
        QCOMPARE(fetched(), QStringList{QStringLiteral("unchanged")});
        QCOMPARE(server->requests()[1].header("If-Modified-Since"), lastModified);
        QCOMPARE(server->requests()[1].header("If-None-Match"), "W/\"abc\"");

        // Another token never sees that answer: no conditional request, and a
        // stray 304 is not turned into someone else's threads.
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_other")), std::nullopt);
        server->enqueue({304, "", {}, Behaviour::respond});
        QCOMPARE(fetched(), QStringList{QStringLiteral("GitHub API error: HTTP 304")});
        QVERIFY(!server->requests()[2].hasHeader("If-Modified-Since"));
        QVERIFY(!server->requests()[2].hasHeader("If-None-Match"));

        // Another address (a different page size) is its own entry too.
        QCOMPARE(KeychainManager::saveToken(token), std::nullopt);
        fetched(true, 30);
        QVERIFY(!server->requests()[3].hasHeader("If-Modified-Since"));
    }

    void tokenGoesOnlyOverHttpsOrLoopback()
    {
        const std::pair<const char *, bool> urls[] = {{"https://api.github.com", true},
                                                      {"http://[::1]:8080", true},
                                                      {"http://localhost:8080", true},
                                                      {"http://api.github.com", false},
                                                      {"ftp://127.0.0.1", false}};
        for (const auto &[url, allowed] : urls)
            QCOMPARE(GitHubAPIClient::mayCarryToken(QUrl(QString::fromLatin1(url))), allowed);

        GitHubAPIClient::setBaseUrl(QStringLiteral("http://api.github.com"));
        QCOMPARE(fetched(), QStringList{QStringLiteral("Invalid API URL")});
        GitHubAPIClient::setBaseUrl(QStringLiteral("https://exa mple.com"));
        QCOMPARE(QCoro::waitFor(GitHubAPIClient::muteThread(access(), QStringLiteral("1"))),
                 ClientError(APIError::invalidURL()));
        QVERIFY(server->requests().isEmpty());
    }

    void detailAddressesStayOnTheApi()
    {
        GitHubAPIClient::setBaseUrl(QStringLiteral("https://ghe.example/api/v3"));
        const std::pair<const char *, bool> urls[] = {
            {"https://ghe.example/api/v3/repos/o/r/pulls/1", true},
            {"https://ghe.example:443/api/v3/repos/o/r/pulls/1", true},
            {"https://ghe.example:8443/api/v3/repos/o/r/pulls/1", false},
            {"http://ghe.example/api/v3/repos/o/r/pulls/1", false},
            {"https://evil.example/api/v3/repos/o/r/pulls/1", false},
            {"https://user@ghe.example/api/v3/repos/o/r/pulls/1", false},
            {"https://ghe.example/repos/o/r/pulls/1", false},
            {"https://ghe.example/api/v3/../../admin", false},
            {"https://ghe.example/api/v3/repos/%2E%2E/%2E%2E/x", false},
        };
        for (const auto &[url, allowed] : urls)
            QVERIFY2(GitHubAPIClient::isApiAddress(QUrl(QString::fromLatin1(url))) == allowed, url);
    }

    void detailsAreAskedForConditionally()
    {
        server->setResource("/repos/o/r/issues/1", "{\"state\":\"open\"}");
        const QString address = server->baseUrl() + QStringLiteral("/repos/o/r/issues/1");
        const auto first = QCoro::waitFor(GitHubAPIClient::fetchIfChanged(access(), address, {}));
        const auto &answer = std::get<GitHubAPIClient::ConditionalAnswer>(first);
        QCOMPARE(answer.body, "{\"state\":\"open\"}");
        const auto again = QCoro::waitFor(GitHubAPIClient::fetchIfChanged(access(), address, answer.etag));
        QVERIFY(std::get<GitHubAPIClient::ConditionalAnswer>(again).notModified);
        QCOMPARE(server->requests().at(1).header("If-None-Match"), answer.etag);
        QCOMPARE(server->requests().at(1).header("Authorization"), "Bearer " + token.toUtf8());

        const auto elsewhere =
            QCoro::waitFor(GitHubAPIClient::fetchIfChanged(access(), closedLoopbackUrl() + "/repos/o/r/issues/1", {}));
        QCOMPARE(std::get<ClientError>(elsewhere), ClientError(APIError::invalidURL()));
        QCOMPARE(server->requests().size(), 2);
    }

    void transportFailuresPassThrough()
    {
        const auto failure = [] {
            const auto result = QCoro::waitFor(GitHubAPIClient::fetchNotifications(access(), true, 50));
            const auto *error = std::get_if<ClientError>(&result);
            const auto *transport = error ? std::get_if<TransportError>(error) : nullptr;
            return transport ? transport->code : QNetworkReply::NoError;
        };
        GitHubAPIClient::setBaseUrl(closedLoopbackUrl());
        QCOMPARE(failure(), QNetworkReply::ConnectionRefusedError);
        GitHubAPIClient::setBaseUrl(server->baseUrl());
        server->enqueue({200, realisticBody(), {}, Behaviour::closeMidBody});
        QCOMPARE(failure(), QNetworkReply::RemoteHostClosedError);
        GitHubAPIClient::setRequestTimeout(std::chrono::milliseconds(300));
        server->enqueue({200, {}, {}, Behaviour::stall});
        QCOMPARE(failure(), QNetworkReply::OperationCanceledError);
    }

private:
    std::unique_ptr<FakeGitHubServer> server;
};

QTEST_GUILESS_MAIN(TestGitHubAPIClient)
#include "tst_github_api_client.moc"
