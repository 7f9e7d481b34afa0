#include "api/RequestPacing.h"
#include "credentials/KeychainManager.h"
#include "store/NotificationsStore.h"
#include "store/SubjectDetailsCache.h"

#include "ModelThreads.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

using Behaviour = ScriptedResponse::Behaviour;

// A pull request whose latest comment is by someone else, an issue without
// comments (GitHub names the issue itself), and a release, which has none.
QList<WireThread> threadsOn(const FakeGitHubServer &server)
{
    const QString repo = server.baseUrl() + QStringLiteral("/repos/octo/hooks");
    return {
        {.id = "1", .url = repo + "/pulls/5", .kind = "PullRequest", .latestCommentUrl = repo + "/issues/comments/9"},
        {.id = "2", .url = repo + "/issues/6", .kind = "Issue", .latestCommentUrl = repo + "/issues/6"},
        {.id = "3", .url = repo + "/releases/7", .kind = "Release"},
    };
}

void serve(FakeGitHubServer &server)
{
    server.setResource("/repos/octo/hooks/pulls/5", subjectBody({.state = "closed", .merged = true}, true));
    server.setResource("/repos/octo/hooks/issues/comments/9", commentBody("renovate", "Bot"));
    server.setResource("/repos/octo/hooks/issues/6",
                       subjectBody({.state = "closed", .stateReason = "not_planned", .author = "bob"}, false));
}

// Every list request answers these threads.
void listing(FakeGitHubServer &server, QList<WireThread> threads)
{
    server.setHandler([threads = std::move(threads)](const RecordedRequest &) { return listAnswer(threads); });
}

int detailsKnown(const NotificationsStore &store)
{
    return int(
        std::count_if(store.items().begin(), store.items().end(), [](const auto &t) { return t.details.has_value(); }));
}

QList<QByteArray> detailTargets(const FakeGitHubServer &server)
{
    QList<QByteArray> targets;
    for (const RecordedRequest &request : server.requests()) {
        if (request.target.startsWith("/repos/"))
            targets << request.target;
    }
    return targets;
}

} // namespace

// Details against a fake GitHub whose issue, pull request and comment
// addresses answer with ETags.
class TestSubjectDetails : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        server = std::make_unique<FakeGitHubServer>();
        useFakeGitHub(*server);
        QDir(QFileInfo(SubjectDetailsCache::defaultPath()).absolutePath()).removeRecursively();
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_details")), std::nullopt);
        serve(*server);
    }

    void theFirstFillFetchesEachOnceAndAnUnchangedPollNone()
    {
        listing(*server, threadsOn(*server));
        NotificationsStore store;
        QTRY_COMPARE(detailsKnown(store), 2);
        const SubjectDetails merged{SubjectState::merged, {"alice", false}, {"renovate", true}};
        const SubjectDetails notPlanned{SubjectState::closedNotPlanned, {"bob", false}, {"bob", false}};
        QCOMPARE(store.items()[0].details, merged);
        QCOMPARE(store.items()[1].details, notPlanned);
        QCOMPARE(store.items()[2].details, std::nullopt);
        QList<QByteArray> targets = detailTargets(*server);
        std::sort(targets.begin(), targets.end());
        QCOMPARE(targets, (QList<QByteArray>{"/repos/octo/hooks/issues/6", "/repos/octo/hooks/issues/comments/9",
                                             "/repos/octo/hooks/pulls/5"}));

        server->clearRequests();
        QCoro::waitFor(store.refresh());
        QTest::qWait(200);
        QCOMPARE(server->requests().size(), 1);
    }

    void aChangedThreadIsFetchedOnceConditionally()
    {
        QList<WireThread> threads = threadsOn(*server);
        listing(*server, threads);
        NotificationsStore store;
        QTRY_COMPARE(detailsKnown(store), 2);

        server->clearRequests();
        threads[0].updatedAt = QStringLiteral("2024-05-01T10:00:00Z");
        server->setResource("/repos/octo/hooks/issues/comments/9", commentBody("carol"));
        listing(*server, threads);
        QCoro::waitFor(store.refresh());
        QTRY_COMPARE(store.items()[0].details->latestActor, (Actor{"carol", false}));
        QCOMPARE(detailTargets(*server),
                 (QList<QByteArray>{"/repos/octo/hooks/pulls/5", "/repos/octo/hooks/issues/comments/9"}));
        for (const RecordedRequest &request : server->requests().mid(1))
            QVERIFY(request.header("If-None-Match").startsWith('"'));
        QCOMPARE(server->resourceNotModified(), 1);
    }

    void aRestartFromTheDiskCacheFetchesNothing()
    {
        listing(*server, threadsOn(*server));
        QList<GHNotification> before;
        {
            NotificationsStore store;
            QTRY_COMPARE(detailsKnown(store), 2);
            before = store.items();
        }
        server->clearRequests();
        NotificationsStore store;
        QTRY_COMPARE(store.items(), before);
        QTest::qWait(200);
        QCOMPARE(detailTargets(*server), QList<QByteArray>());
    }

    void aCorruptCacheIsSetAsideAndFilledAgain()
    {
        const QString path = SubjectDetailsCache::defaultPath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"threads": {"1": {"state": "melted"}}})");
        file.close();
        listing(*server, threadsOn(*server));
        NotificationsStore store;
        QTRY_COMPARE(detailsKnown(store), 2);
        QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList({"subject-details.json.corrupt-*"}).size(), 1);
    }

    void badAnswersAndOffHostAddressesLeaveTheRowAsItWas()
    {
        FakeGitHubServer elsewhere;
        QList<WireThread> threads = threadsOn(*server);
        threads[0].url = elsewhere.baseUrl() + "/repos/octo/hooks/pulls/5";
        server->setResource("/repos/octo/hooks/issues/6", R"({"state": "open", "user": 7})");
        listing(*server, threads);
        NotificationsStore store;
        QTRY_VERIFY(!store.items().isEmpty());
        QTRY_COMPARE(detailTargets(*server), QList<QByteArray>{"/repos/octo/hooks/issues/6"});
        QTest::qWait(200);
        QCOMPARE(detailsKnown(store), 0);
        QCOMPARE(elsewhere.requests().size(), 0);
        // Neither is asked about again until the thread changes.
        QCoro::waitFor(store.refresh());
        QTest::qWait(200);
        QCOMPARE(detailTargets(*server).size(), 1);
    }

    void aPauseStopsDetailRequests()
    {
        const QString repo = server->baseUrl() + QStringLiteral("/repos/octo/many");
        QList<WireThread> threads;
        for (int i = 1; i <= 12; ++i)
            threads.append({.id = QString::number(i), .url = repo + QStringLiteral("/issues/%1").arg(i)});
        server->setHandler([threads](const RecordedRequest &request) {
            if (request.target.startsWith("/repos/"))
                return ScriptedResponse{429, {}, {{"Retry-After", "60"}}, Behaviour::respond};
            return listAnswer(threads);
        });
        NotificationsStore store;
        QTRY_VERIFY(
            RequestPacing::pausedUntil(KeychainManager::tokenDigest(QStringLiteral("ghp_details"))).has_value());
        QTest::qWait(300);
        // Only what was already out when GitHub asked for the pause.
        QVERIFY(detailTargets(*server).size() <= 4);
        const qsizetype sent = server->requests().size();
        QCoro::waitFor(store.refresh());
        QTest::qWait(200);
        QCOMPARE(server->requests().size(), sent);
    }

private:
    std::unique_ptr<FakeGitHubServer> server;
};

QTEST_GUILESS_MAIN(TestSubjectDetails)
#include "tst_subject_details.moc"
