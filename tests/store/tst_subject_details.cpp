#include "api/RequestPacing.h"
#include "credentials/KeychainManager.h"
#include "store/NotificationsStore.h"
#include "store/SubjectDetailsCache.h"

#include "BrowserRecorder.h"
#include "ModelThreads.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

int detailsKnown(const NotificationsStore &store)
{
    return int(std::ranges::count_if(store.items(), [](const GHNotification &t) { return t.details.has_value(); }));
}

QList<QByteArray> detailTargets(const FakeGitHubServer &server)
{
    QList<QByteArray> targets;
    for (const RecordedRequest &request : server.requests())
        targets << request.target;
    targets.removeIf([](const QByteArray &target) { return !target.startsWith("/repos/"); });
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
        // A pull request whose latest comment is by someone else, an issue without
        // comments (GitHub names the issue itself), and a release, which has none;
        // each with its page on the web site.
        const QString repo = server->baseUrl() + QStringLiteral("/repos/octo/hooks");
        threads = {
            {.id = "1",
             .url = repo + "/pulls/5",
             .kind = "PullRequest",
             .latestCommentUrl = repo + "/issues/comments/9"},
            {.id = "2", .url = repo + "/issues/6", .kind = "Issue", .latestCommentUrl = repo + "/issues/6"},
            {.id = "3", .url = repo + "/releases/7", .kind = "Release"},
        };
        // Every list request answers the threads as they are then.
        server->setHandler([this](const RecordedRequest &) { return listAnswer(threads); });
        server->setResource("/repos/octo/hooks/pulls/5",
                            subjectBody({.state = "closed", .merged = true, .htmlUrl = web + "pull/5"}, true));
        server->setResource("/repos/octo/hooks/issues/comments/9",
                            commentBody("renovate", "Bot", web + "pull/5#issuecomment-9"));
        server->setResource(
            "/repos/octo/hooks/issues/6",
            subjectBody({.state = "closed", .stateReason = "not_planned", .author = "bob", .htmlUrl = web + "issues/6"},
                        false));
        server->setResource("/repos/octo/hooks/releases/7",
                            R"({"id": 7, "html_url": ")" + web.toUtf8() + R"(releases/tag/v1.0", "author": null})");
    }

    void eachIsFetchedOnceAndAgainOnlyWhenItsThreadChanges()
    {
        NotificationsStore store;
        QTRY_COMPARE(detailsKnown(store), 2);
        QCOMPARE(store.items()[0].details, (SubjectDetails{SubjectState::merged, {"alice"}, {"renovate", true}}));
        QCOMPARE(store.items()[1].details, (SubjectDetails{SubjectState::closedNotPlanned, {"bob"}, {"bob"}}));
        QCOMPARE(store.items()[2].details, std::nullopt);
        QList<QByteArray> targets = detailTargets(*server);
        std::sort(targets.begin(), targets.end());
        QCOMPARE(targets, (QList<QByteArray>{"/repos/octo/hooks/issues/6", "/repos/octo/hooks/issues/comments/9",
                                             "/repos/octo/hooks/pulls/5", "/repos/octo/hooks/releases/7"}));
        // Each opens its exact page: the latest comment, the issue, the release's tag.
        QTRY_COMPARE(store.items()[2].webPage, web + "releases/tag/v1.0");
        BrowserRecorder browser;
        for (const char *id : {"1", "2", "3"})
            store.open(QString::fromLatin1(id));
        QCOMPARE(browser.opened, (QList<QUrl>{QUrl(web + "pull/5#issuecomment-9"), QUrl(web + "issues/6"),
                                              QUrl(web + "releases/tag/v1.0")}));

        // An unchanged poll asks only for the list.
        server->clearRequests();
        QCoro::waitFor(store.refresh());
        QTest::qWait(200);
        QCOMPARE(server->requests().size(), 1);

        // A changed thread is asked about again, conditionally.
        threads[0].updatedAt = QStringLiteral("2024-05-01T10:00:00Z");
        server->setResource("/repos/octo/hooks/issues/comments/9", commentBody("carol"));
        QCoro::waitFor(store.refresh());
        QTRY_COMPARE(store.items()[0].details->latestActor, (Actor{"carol", false}));
        QCOMPARE(detailTargets(*server),
                 (QList<QByteArray>{"/repos/octo/hooks/pulls/5", "/repos/octo/hooks/issues/comments/9"}));
        // The unchanged pull request is not sent again.
        QCOMPARE(server->resourceNotModified(), 1);
    }

    void theDiskCacheOutlastsARestartAndOneUnreadableIsSetAside()
    {
        QList<GHNotification> before;
        {
            NotificationsStore store;
            QTRY_COMPARE(detailsKnown(store), 2);
            before = store.items();
        }
        server->clearRequests();
        {
            NotificationsStore store;
            QTRY_COMPARE(store.items(), before);
            QTest::qWait(200);
            QCOMPARE(detailTargets(*server), QList<QByteArray>());
        }

        QFile file(SubjectDetailsCache::defaultPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"threads": {"1": {"state": "melted"}}})");
        file.close();
        NotificationsStore store;
        QTRY_COMPARE(detailsKnown(store), 2);
        QCOMPARE(QFileInfo(file).dir().entryList({"subject-details.json.corrupt-*"}).size(), 1);
    }

    void badAnswersAndOffHostAddressesLeaveTheRowAsItWas()
    {
        FakeGitHubServer elsewhere;
        threads.removeLast();
        threads[0].url = elsewhere.baseUrl() + "/repos/octo/hooks/pulls/5";
        server->setResource("/repos/octo/hooks/issues/6", R"({"state": "open", "user": 7})");
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
        threads.clear();
        for (int i = 1; i <= 12; ++i)
            threads.append({.id = QString::number(i), .url = repo + QStringLiteral("/issues/%1").arg(i)});
        server->setHandler([this](const RecordedRequest &request) {
            if (request.target.startsWith("/repos/"))
                return ScriptedResponse{429, {}, {{"Retry-After", "60"}}, ScriptedResponse::Behaviour::respond};
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
    const QString web = QStringLiteral("https://github.com/octo/hooks/");
    std::unique_ptr<FakeGitHubServer> server;
    QList<WireThread> threads;
};

QTEST_GUILESS_MAIN(TestSubjectDetails)
#include "tst_subject_details.moc"
