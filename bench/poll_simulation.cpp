// Polls a fake GitHub that serves 120 unchanged threads, in GitHub's pages of
// 50 with its Last-Modified and Link headers, for many refresh cycles, and
// reports what that costs: requests sent, answers 304, and rate-limit points
// (the server counts one for every answer other than 304).
//
//   tools/session/run-in-session.sh --keyring -- build/bin/poll_simulation [cycles]

#include "api/GitHubAPIClient.h"
#include "credentials/KeychainManager.h"
#include "store/NotificationsStore.h"

#include "FakeGitHubServer.h"
#include "ThreadJson.h"

#include <QCoreApplication>
#include <QCoro/QCoroTask>
#include <QTest>
#include <QUrlQuery>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 500;

    FakeGitHubServer github;
    const QList<WireThread> threads = manyThreads(120);
    const QByteArray lastModified = "Wed, 01 May 2024 09:30:00 GMT";
    int notModified = 0;
    int points = 0;
    github.setHandler([&](const RecordedRequest &request) {
        if (request.header("If-Modified-Since") == lastModified) {
            ++notModified;
            return ScriptedResponse{304, {}, {{"Last-Modified", lastModified}}, ScriptedResponse::Behaviour::respond};
        }
        ++points;
        const int page = std::max(1, QUrlQuery(QUrl(QString::fromLatin1(request.target))).queryItemValue(QStringLiteral("page")).toInt());
        ScriptedResponse answer{200, threadsBody(threads.mid((page - 1) * 50, 50)), {{"Last-Modified", lastModified}},
                                ScriptedResponse::Behaviour::respond};
        if (page < 3)
            answer.headers.append({"Link", QStringLiteral("<%1/notifications?all=true&per_page=50&page=%2>; rel=\"next\"")
                                               .arg(github.baseUrl())
                                               .arg(page + 1)
                                               .toUtf8()});
        return answer;
    });
    GitHubAPIClient::setBaseUrl(github.baseUrl());
    if (KeychainManager::saveToken(QStringLiteral("ghp_simulation")))
        qFatal("no keyring: run inside tools/session/run-in-session.sh --keyring");

    NotificationsStore store;
    if (!QTest::qWaitFor([&] { return store.items().size() == threads.size(); }, 10000))
        qFatal("the first fetch did not arrive");
    store.stopTimers();
    for (int cycle = 1; cycle < cycles; ++cycle)
        QCoro::waitFor(store.refresh());

    std::printf("poll cycles:            %d\n", cycles);
    std::printf("threads listed:         %lld\n", static_cast<long long>(store.items().size()));
    std::printf("requests sent:          %lld\n", static_cast<long long>(github.requests().size()));
    std::printf("answered 304:           %d\n", notModified);
    std::printf("rate-limit points:      %d\n", points);
    return store.items().size() == threads.size() ? 0 : 1;
}
