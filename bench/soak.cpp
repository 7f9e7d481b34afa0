// A long session in a few minutes: the store polls a fake GitHub for
// thousands of refresh cycles that mix lists with changes, 304s, server
// errors, malformed bodies, rate limits and thread actions, and reports the
// resident memory at the start, after warm-up and at the end. It fails when
// memory grows by 1 MiB or more after warm-up. Then one list of ten 6 MB
// pages (a bulky key in every thread, which the decoder passes over) and
// ordinary lists again: it fails when more than 8 MiB stays after them.
//
//   tools/session/run-in-session.sh --keyring -- build/bin/soak [cycles]

#include "api/GitHubAPIClient.h"
#include "api/RequestPacing.h"
#include "credentials/TokenState.h"
#include "credentials/KeychainManager.h"
#include "store/NotificationsStore.h"

#include "FakeGitHubServer.h"
#include "ThreadJson.h"

#include <QCoreApplication>
#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QFile>
#include <QTest>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>

namespace {

using Behaviour = ScriptedResponse::Behaviour;

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        qFatal("cannot read /proc/self/statm");
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double heapInUseMiB()
{
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

// What GitHub answers to the list in a cycle: ten kinds, in turn.
ScriptedResponse listAnswer(int cycle, const RecordedRequest &request)
{
    const QByteArray lastModified = "Wed, 01 May 2024 09:30:00 GMT";
    switch (cycle % 10) {
    case 3:
    case 4:
    case 5:
        if (request.hasHeader("If-Modified-Since"))
            return {304, {}, {{"Last-Modified", lastModified}}, Behaviour::respond};
        break;
    case 6:
        return {500, R"({"message":"Server Error"})", {}, Behaviour::respond};
    case 7:
        return {200, R"([{"id": "1", "repository": )", {}, Behaviour::respond};
    case 8:
        return {403,
                R"({"message":"API rate limit exceeded"})",
                {{"x-ratelimit-remaining", "0"},
                 {"x-ratelimit-reset", QByteArray::number(QDateTime::currentSecsSinceEpoch() + 60)}},
                Behaviour::respond};
    case 9:
        return {429, {}, {{"Retry-After", "30"}}, Behaviour::respond};
    default:
        break;
    }
    // 60 threads out of a window that moves on each cycle: some new, some gone.
    QList<WireThread> threads = manyThreads(60 + cycle % 7);
    for (WireThread &thread : threads) {
        thread.id = QString::number(thread.id.toInt() + cycle % 40);
        thread.updatedAt = QDateTime::fromSecsSinceEpoch(1714555800 + cycle * 60, Qt::UTC).toString(Qt::ISODate);
    }
    return {200, threadsBody(threads), {{"Last-Modified", lastModified}}, Behaviour::respond};
}

// Page `page` of a list of ten, 6 MB each: 50 threads, each with a bulky key
// GitHub might send and the decoder passes over.
ScriptedResponse largePage(const QByteArray &target, const QString &baseUrl)
{
    static const QList<WireThread> threads = manyThreads(500);
    ListPage page = listPage(target, threads, baseUrl + QStringLiteral("/notifications"));
    page.body.replace("{\"id\":", "{\"bulk\":\"" + QByteArray(120 * 1024, 'x') + "\",\"id\":");
    ScriptedResponse answer{200, page.body, {{"Last-Modified", "Thu, 02 May 2024 09:30:00 GMT"}}, Behaviour::respond};
    if (!page.link.isEmpty())
        answer.headers.append({"Link", page.link});
    return answer;
}

// Marks one thread read, mutes and unmutes one, marks one done, and now and
// then a repository or everything read; waits until GitHub has heard of it all.
void actOnThreads(NotificationsStore &store, FakeGitHubServer &github, int cycle)
{
    const QList<GHNotification> items = store.items();
    if (items.size() < 3)
        return;
    const qsizetype before = github.requests().size();
    store.toggleRead(items.at(0).id);
    store.toggleMute(items.at(1).id);
    store.toggleMute(items.at(1).id);
    store.markAsDone(items.at(2).id);
    qsizetype expected = items.at(0).unread ? 4 : 3;
    // A bulk action goes out only when it has unread threads to mark.
    const auto anyUnread = [&store](const std::function<bool(const GHNotification &)> &where) {
        const QList<GHNotification> now = store.items();
        return std::any_of(now.begin(), now.end(),
                           [&](const GHNotification &item) { return item.unread && where(item); });
    };
    const QString repository = items.at(3 % items.size()).repoFullName();
    if (cycle % 25 == 0) {
        expected += anyUnread([&](const GHNotification &item) { return item.repoFullName() == repository; });
        store.markRepositoryAsRead(repository);
    }
    if (cycle % 50 == 0) {
        expected += anyUnread([](const GHNotification &) { return true; });
        store.markAllAsRead();
    }
    if (!QTest::qWaitFor([&] { return github.requests().size() >= before + expected; }, 5000))
        qFatal("cycle %d: the thread actions did not reach the server", cycle);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 3000;
    const int warmUp = cycles / 10;

    FakeGitHubServer github;
    int cycle = 0;
    bool large = false;
    github.setHandler([&](const RecordedRequest &request) {
        if (request.method != "GET")
            return ScriptedResponse{request.method == "DELETE" ? 204 : 205, {}, {}, Behaviour::respond};
        if (large)
            return largePage(request.target, github.baseUrl());
        return listAnswer(cycle, request);
    });
    GitHubAPIClient::setBaseUrl(github.baseUrl());
    if (KeychainManager::saveToken(QStringLiteral("ghp_soak")))
        qFatal("no keyring: run inside tools/session/run-in-session.sh --keyring");

    NotificationsStore store;
    if (!QTest::qWaitFor([&] { return !store.items().isEmpty(); }, 10000))
        qFatal("the first fetch did not arrive");
    store.stopTimers();

    const double atStart = residentMiB();
    double afterWarmUp = atStart;
    double heapAfterWarmUp = heapInUseMiB();
    int errors = 0;
    for (cycle = 1; cycle <= cycles; ++cycle) {
        QCoro::waitFor(store.refresh());
        errors += store.lastError().has_value();
        // The pause a rate limit imposed refuses the next poll without a
        // request; then the soak goes on as if the pause had ended.
        if (RequestPacing::pausedUntil(TokenState::shared().tokenDigest())) {
            QCoro::waitFor(store.refresh());
            RequestPacing::clear();
        }
        actOnThreads(store, github, cycle);
        store.dismissError();
        github.clearRequests();
        if (cycle == warmUp) {
            afterWarmUp = residentMiB();
            heapAfterWarmUp = heapInUseMiB();
        }
    }
    // The answers to the last actions arrive before the store goes, so that
    // nothing is in flight at exit (LeakSanitizer would count it).
    QTest::qWait(1000);
    const double atEnd = residentMiB();
    const double growth = atEnd - afterWarmUp;

    large = true;
    QCoro::waitFor(store.refresh(AccountSession::Fetch::asked));
    const qsizetype largeThreads = store.items().size();
    large = false;
    for (int ordinary = 0; ordinary < 20; ++ordinary, ++cycle) {
        QCoro::waitFor(store.refresh(AccountSession::Fetch::asked));
        RequestPacing::clear();
        store.dismissError();
    }
    QTest::qWait(1000);
    const double keptAfterLarge = residentMiB() - atEnd;

    std::printf("refresh cycles:          %d (warm-up %d)\n", cycles, warmUp);
    std::printf("cycles ending in error:  %d\n", errors);
    std::printf("resident at start:       %.2f MiB\n", atStart);
    std::printf("resident after warm-up:  %.2f MiB\n", afterWarmUp);
    std::printf("resident at end:         %.2f MiB\n", atEnd);
    std::printf("growth after warm-up:    %.3f MiB (limit 1 MiB)\n", growth);
    std::printf("heap in use, warm-up/end: %.3f / %.3f MiB\n", heapAfterWarmUp, heapInUseMiB());
    std::printf("ten 6 MB pages:          %lld threads listed, %.2f MiB kept after them (limit 8 MiB)\n",
                static_cast<long long>(largeThreads), keptAfterLarge);
    return growth < 1.0 && keptAfterLarge <= 8.0 ? 0 : 1;
}
