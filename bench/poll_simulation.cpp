// Polls a fake GitHub that serves 120 threads, in GitHub's pages of 50 with
// its Last-Modified and Link headers, for many refresh cycles, and reports
// what that costs: list requests and detail requests (the issues' and pull
// requests' own addresses and latest comments, answered with ETags), answers
// 304, and rate-limit points (the server counts one for every answer other
// than 304). Every 50th cycle one thread has news.
//
// Then what reconciling with GitHub costs: an hour at GitHub's usual 60 s
// poll interval with no news at all (every point spent is reconciliation),
// for a list of 1 page and of 10 pages, with the panel never opened and
// opened every minute, through the client and the rules that pick a whole
// list over a revalidated one.
//
//   tools/session/run-in-session.sh --keyring -- build/bin/poll_simulation [cycles]

#include "api/GitHubAPIClient.h"
#include "credentials/KeychainManager.h"
#include "store/ListFreshness.h"
#include "store/NotificationsStore.h"

#include "FakeGitHubServer.h"
#include "ThreadJson.h"

#include <QCoreApplication>
#include <QCoro/QCoroTask>
#include <QTest>

#include <cstdio>

namespace {

// The page of `threads` a list request asks for, with its Link to the next.
ScriptedResponse pagedAnswer(const RecordedRequest &request, const QList<WireThread> &threads, const QString &baseUrl,
                             const QByteArray &lastModified)
{
    const ListPage page = listPage(request.target, threads, baseUrl + QStringLiteral("/notifications"));
    ScriptedResponse answer{200, page.body, {{"Last-Modified", lastModified}}, ScriptedResponse::Behaviour::respond};
    if (!page.link.isEmpty())
        answer.headers.append({"Link", page.link});
    return answer;
}

// Rate-limit points spent in a simulated hour: every list answer other than
// a 304 costs one a page.
int pointsPerHour(int pages, bool panelEveryMinute)
{
    FakeGitHubServer github;
    const QList<WireThread> threads = manyThreads(pages * 50);
    int points = 0;
    github.setHandler([&](const RecordedRequest &request) {
        const QByteArray stamp = "Wed, 01 May 2024 09:30:00 GMT";
        if (request.header("If-Modified-Since") == stamp)
            return ScriptedResponse{304, {}, {{"Last-Modified", stamp}}, ScriptedResponse::Behaviour::respond};
        ++points;
        return pagedAnswer(request, threads, github.baseUrl(), stamp);
    });
    const GitHubAPIClient::Access access{github.baseUrl(), QStringLiteral("ghp_simulation_%1").arg(pages)};
    ListFreshness freshness;
    const auto fetch = [&](ListFreshness::Fetch why, const QDateTime &at) {
        if (!freshness.wantsFetch(why, at))
            return;
        const bool whole = freshness.wantsWhole(why, at);
        freshness.sent();
        const auto list =
            QCoro::waitFor(GitHubAPIClient::fetchNotifications(access, true, 50, false,
                                                               whole ? GitHubAPIClient::ListRequest::whole
                                                                     : GitHubAPIClient::ListRequest::revalidated));
        if (const auto *fetched = std::get_if<GitHubAPIClient::NotificationList>(&list))
            freshness.arrived(at, fetched->current);
        else
            qFatal("a list request failed");
    };
    const QDateTime start = QDateTime::currentDateTimeUtc();
    for (int minute = 0; minute < 60; ++minute) {
        fetch(ListFreshness::Fetch::timed, start.addSecs(60 * minute));
        if (panelEveryMinute)
            fetch(ListFreshness::Fetch::viewOpened, start.addSecs(60 * minute + 30));
    }
    return points;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 500;
    constexpr int changeEvery = 50;

    FakeGitHubServer github;
    QList<WireThread> threads = onServer(manyThreads(120), github.baseUrl());
    const qsizetype subjects = serveSubjects(github, threads).size();
    QByteArray lastModified = "Wed, 01 May 2024 09:30:00 GMT";
    int listRequests = 0;
    int notModified = 0;
    int points = 0;
    github.setHandler([&](const RecordedRequest &request) {
        ++listRequests;
        if (request.header("If-Modified-Since") == lastModified) {
            ++notModified;
            return ScriptedResponse{304, {}, {{"Last-Modified", lastModified}}, ScriptedResponse::Behaviour::respond};
        }
        ++points;
        return pagedAnswer(request, threads, github.baseUrl(), lastModified);
    });
    GitHubAPIClient::setBaseUrl(github.baseUrl());
    if (KeychainManager::saveToken(QStringLiteral("ghp_simulation")))
        qFatal("no keyring: run inside tools/session/run-in-session.sh --keyring");

    const auto detailed = [](const NotificationsStore &store) {
        return std::count_if(store.items().begin(), store.items().end(),
                             [](const auto &t) { return t.details.has_value(); });
    };
    NotificationsStore store;
    if (!QTest::qWaitFor([&] { return store.items().size() == threads.size() && detailed(store) == subjects; }, 20000))
        qFatal("the first fetch and its details did not arrive");
    store.stopTimers();
    const int firstDetails = github.resourceRequests();
    int changedPolls = 0;
    int quietPollDetails = 0;
    for (int cycle = 1; cycle < cycles; ++cycle) {
        const bool change = cycle % changeEvery == 0;
        if (change) {
            // News in an issue or pull request (every sixth thread is one), the list's stamp moves.
            WireThread &thread = threads[(cycle / changeEvery * 6) % threads.size()];
            thread.updatedAt = QDateTime::fromString(thread.updatedAt, Qt::ISODate).addSecs(1).toString(Qt::ISODate);
            lastModified = QDateTime::currentDateTimeUtc().addSecs(cycle).toString(Qt::RFC2822Date).toUtf8();
            ++changedPolls;
        }
        const int before = github.resourceRequests();
        QCoro::waitFor(store.refresh());
        // Details go out after the list is shown; give them time to land.
        QTest::qWait(change ? 100 : 0);
        if (!change)
            quietPollDetails += github.resourceRequests() - before;
    }

    const int details = github.resourceRequests();
    const int detail304 = github.resourceNotModified();
    points += details - detail304;
    std::printf("poll cycles:                      %d (one thread changed in %d)\n", cycles, changedPolls);
    std::printf("threads listed:                   %lld, %lld with details\n",
                static_cast<long long>(store.items().size()), static_cast<long long>(detailed(store)));
    std::printf("list requests:                    %d (%d answered 304), %.2f per poll\n", listRequests, notModified,
                double(listRequests) / cycles);
    std::printf("detail requests, first fill:      %d\n", firstDetails);
    std::printf("detail requests, changed polls:   %d (%d answered 304), %.2f per changed poll\n",
                details - firstDetails, detail304, changedPolls ? double(details - firstDetails) / changedPolls : 0.0);
    std::printf("detail requests, unchanged polls: %d\n", quietPollDetails);
    std::printf("detail requests per poll:         %.3f (after the first fill)\n",
                double(details - firstDetails) / (cycles - 1));
    std::printf("rate-limit points:                %d\n", points);

    std::printf("\nreconciliation, points per hour of 60 s polls with no news (GitHub allows 5000):\n");
    for (const int pages : {1, 10}) {
        std::printf("  %2d page(s): %4d in the background, %4d with the panel opened every minute\n", pages,
                    pointsPerHour(pages, false), pointsPerHour(pages, true));
    }
    return store.items().size() == threads.size() && quietPollDetails == 0 ? 0 : 1;
}
