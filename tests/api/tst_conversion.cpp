#include "api/Conversion.h"

#include <QTest>
#include <QTimeZone>

namespace {

struct ApiThread {
    QString fullName = QStringLiteral("o/r");
    std::optional<QString> url = std::nullopt;
    QString reason = QStringLiteral("mention");
    QString kind = QStringLiteral("Issue");
    QString login = QStringLiteral("dependabot");
};

GHNotification converted(const ApiThread &from)
{
    GitHubNotification t;
    t.id = QStringLiteral("77");
    t.unread = true;
    t.reason = from.reason;
    t.updatedAt = QDateTime(QDate(2024, 5, 1), QTime(9, 30), QTimeZone::utc());
    t.subject.title = QStringLiteral("A title");
    t.subject.url = from.url;
    t.subject.type = from.kind;
    t.repository.fullName = from.fullName;
    t.repository.owner.login = from.login;
    return Conversion::toGHNotification(t);
}

} // namespace

class TestConversion : public QObject {
    Q_OBJECT

private slots:
    void copiesTheThreadsOwnFields()
    {
        const GHNotification item = converted({.url = QStringLiteral("https://api.github.com/repos/o/r/issues/5")});
        QCOMPARE(item.id, QStringLiteral("77"));
        QCOMPARE(item.title, QStringLiteral("A title"));
        QCOMPARE(item.updatedAt, QDateTime(QDate(2024, 5, 1), QTime(9, 30), QTimeZone::utc()));
        QVERIFY(item.unread && !item.muted);
        QCOMPARE(item.url, QStringLiteral("https://api.github.com/repos/o/r/issues/5"));
        QCOMPARE(converted({}).url, std::nullopt);
    }

    void derivedFields()
    {
        const struct {
            const char *fullName, *owner, *repo;
        } names[] = {{"dependabot/core", "dependabot", "core"},
                     {"a/b/c", "a", "c"},
                     {"solo", "solo", "solo"},
                     {"", "", ""},
                     {"///", "", ""},
                     {"/octo//hooks/", "octo", "hooks"}};
        for (const auto &n : names) {
            const GHNotification item = converted({.fullName = QString::fromLatin1(n.fullName)});
            QCOMPARE(item.owner, QString::fromLatin1(n.owner));
            QCOMPARE(item.repo, QString::fromLatin1(n.repo));
        }
        const QString pulls = QStringLiteral("https://api.github.com/repos/o/r/pulls/");
        const struct {
            std::optional<QString> url;
            std::optional<qint64> number;
        } numbers[] = {{pulls + "12", 12},
                       {pulls + "12/", 12},
                       {QStringLiteral("https://api.github.com/repos/o/r/commits/7c2f1e9a0b"), {}},
                       {{}, {}},
                       {QStringLiteral("///"), {}}};
        for (const auto &n : numbers)
            QCOMPARE(converted({.url = n.url}).number, n.number);
        // Initials: two letters, upper case; a character outside the basic plane is kept whole.
        const struct {
            const char *login, *initials;
        } logins[] = {{"hanami", "HA"}, {"x", "X"}, {"", ""}, {"émile", "ÉM"}, {"😀bot", "😀B"}};
        for (const auto &l : logins)
            QCOMPARE(converted({.login = QString::fromUtf8(l.login)}).avatarInitials, QString::fromUtf8(l.initials));
    }

    void reasonAndKindMapping()
    {
        const struct {
            const char *raw;
            NotificationReason reason;
        } reasons[] = {{"Mention", NotificationReason::mention},
                       {"REVIEW_REQUESTED", NotificationReason::review_requested},
                       {"ci_activity", NotificationReason::subscribed},
                       {"", NotificationReason::subscribed}};
        for (const auto &r : reasons)
            QCOMPARE(converted({.reason = QString::fromLatin1(r.raw)}).reason, r.reason);
        for (NotificationReason reason : NotificationReasons::allCases())
            QCOMPARE(converted({.reason = NotificationReasons::rawValue(reason)}).reason, reason);

        const struct {
            const char *raw;
            SubjectType kind;
        } kinds[] = {{"PullRequest", SubjectType::pull_request},
                     {"PULLREQUEST", SubjectType::pull_request},
                     {"pull_request", SubjectType::issue},
                     {"Release", SubjectType::release},
                     {"Discussion", SubjectType::discussion},
                     {"Commit", SubjectType::commit},
                     {"RepositoryVulnerabilityAlert", SubjectType::security_alert},
                     {"RepositoryDependabotAlertsThread", SubjectType::issue}};
        for (const auto &k : kinds)
            QCOMPARE(converted({.kind = QString::fromLatin1(k.raw)}).subjectType, k.kind);
    }

    void webAddresses()
    {
        const QString repos = QStringLiteral("https://api.github.com/repos/octo/hooks/");
        const struct {
            std::optional<QString> url;
            std::optional<qint64> number;
            SubjectType type;
            QString web;
            const char *raw = "";
            QString page = {};
        } cases[] = {
            {repos + "pulls/5", 5, SubjectType::pull_request, QStringLiteral("https://github.com/octo/hooks/pull/5")},
            {repos + "issues/9", 9, SubjectType::issue, QStringLiteral("https://github.com/octo/hooks/issues/9")},
            {{}, 3, SubjectType::release, QStringLiteral("https://github.com/octo/hooks/issues/3")},
            {{}, 3, SubjectType::pull_request, QStringLiteral("https://github.com/octo/hooks/pull/3")},
            {{}, {}, SubjectType::pull_request, QStringLiteral("https://github.com/octo/hooks")},
            // An address from elsewhere is only rewritten where the rules say.
            {QStringLiteral("https://example.com/pulls/1"), 1, SubjectType::issue,
             QStringLiteral("https://example.com/pull/1")},
            {repos + "actions/runs/42",
             {},
             SubjectType::issue,
             QStringLiteral("https://github.com/octo/hooks/actions/runs/42")},
            // The page the details name comes first; check runs open the Actions tab,
            // a discussion the search for its title.
            {repos + "releases/7",
             {},
             SubjectType::release,
             QStringLiteral("https://github.com/octo/hooks/releases/tag/v1"),
             "Release",
             QStringLiteral("https://github.com/octo/hooks/releases/tag/v1")},
            {{}, {}, SubjectType::issue, QStringLiteral("https://github.com/octo/hooks/actions"), "CheckSuite"},
            {{}, {}, SubjectType::issue, QStringLiteral("https://github.com/octo/hooks/actions"), "WorkflowRun"},
            {QStringLiteral("https://api.github.com/graphql"),
             {},
             SubjectType::discussion,
             QStringLiteral("https://github.com/octo/hooks/discussions?discussions_q=Why%20%26%20how%3F"),
             "Discussion"},
        };
        for (const auto &c : cases) {
            GHNotification item;
            item.owner = QStringLiteral("octo");
            item.repo = QStringLiteral("hooks");
            item.url = c.url;
            item.number = c.number;
            item.subjectType = c.type;
            item.subjectTypeRaw = QString::fromLatin1(c.raw);
            item.webPage = c.page;
            item.title = QStringLiteral("Why & how?");
            QCOMPARE(Conversion::webURL(item), c.web);
        }
    }
};

QTEST_GUILESS_MAIN(TestConversion)
#include "tst_conversion.moc"
