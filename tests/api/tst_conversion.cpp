#include "api/Conversion.h"

#include <QTest>
#include <QTimeZone>

namespace {

GitHubNotification apiThread(const QString &fullName = QStringLiteral("dependabot/core"),
                          std::optional<QString> subjectUrl = std::nullopt,
                          const QString &reason = QStringLiteral("mention"),
                          const QString &kind = QStringLiteral("Issue"),
                          const QString &login = QStringLiteral("dependabot"))
{
    GitHubNotification t;
    t.id = QStringLiteral("77");
    t.unread = true;
    t.reason = reason;
    t.updatedAt = QDateTime(QDate(2024, 5, 1), QTime(9, 30), QTimeZone::utc());
    t.subject.title = QStringLiteral("A title");
    t.subject.url = std::move(subjectUrl);
    t.subject.type = kind;
    t.repository.fullName = fullName;
    t.repository.owner.login = login;
    return t;
}

GHNotification item(std::optional<QString> url, std::optional<qint64> number, SubjectType type)
{
    GHNotification i;
    i.owner = QStringLiteral("octo");
    i.repo = QStringLiteral("hooks");
    i.url = std::move(url);
    i.number = number;
    i.subjectType = type;
    return i;
}

} // namespace

class TestConversion : public QObject {
    Q_OBJECT

private slots:
    void copiesTheThreadsOwnFields()
    {
        const GHNotification converted = Conversion::toGHNotification(
            apiThread("o/r", QStringLiteral("https://api.github.com/repos/o/r/issues/5")));
        QCOMPARE(converted.id, QStringLiteral("77"));
        QCOMPARE(converted.title, QStringLiteral("A title"));
        QCOMPARE(converted.updatedAt, QDateTime(QDate(2024, 5, 1), QTime(9, 30), QTimeZone::utc()));
        QVERIFY(converted.unread);
        QVERIFY(!converted.muted);
        QCOMPARE(converted.url, QStringLiteral("https://api.github.com/repos/o/r/issues/5"));
        QCOMPARE(Conversion::toGHNotification(apiThread()).url, std::nullopt);
    }

    void ownerAndRepo_data()
    {
        QTest::addColumn<QString>("fullName");
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("repo");
        QTest::newRow("two pieces") << "dependabot/core" << "dependabot" << "core";
        QTest::newRow("three pieces") << "a/b/c" << "a" << "c";
        QTest::newRow("one piece") << "solo" << "solo" << "solo";
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("only slashes") << "///" << "" << "";
        QTest::newRow("empty pieces dropped") << "/octo//hooks/" << "octo" << "hooks";
    }

    void ownerAndRepo()
    {
        QFETCH(QString, fullName);
        const GHNotification converted = Conversion::toGHNotification(apiThread(fullName));
        QTEST(converted.owner, "owner");
        QTEST(converted.repo, "repo");
    }

    void number_data()
    {
        QTest::addColumn<std::optional<QString>>("url");
        QTest::addColumn<std::optional<qint64>>("number");
        const QString pulls = QStringLiteral("https://api.github.com/repos/o/r/pulls/");
        using N = std::optional<qint64>;
        using U = std::optional<QString>;
        QTest::newRow("pull") << U(pulls + "12") << N(12);
        QTest::newRow("trailing slash") << U(pulls + "12/") << N(12);
        QTest::newRow("commit hash") << U(QStringLiteral("https://api.github.com/repos/o/r/commits/7c2f1e9a0b")) << N();
        QTest::newRow("absent") << U() << N();
        QTest::newRow("only slashes") << U(QStringLiteral("///")) << N();
    }

    void number()
    {
        QFETCH(std::optional<QString>, url);
        QFETCH(std::optional<qint64>, number);
        QCOMPARE(Conversion::toGHNotification(apiThread("o/r", url)).number, number);
    }

    void initials()
    {
        const auto initialsOf = [](const char *login) {
            return Conversion::toGHNotification(apiThread("o/r", {}, "mention", "Issue", QString::fromUtf8(login)))
                .avatarInitials;
        };
        QCOMPARE(initialsOf("hanami"), QStringLiteral("HA"));
        QCOMPARE(initialsOf("x"), QStringLiteral("X"));
        QCOMPARE(initialsOf(""), QString());
        QCOMPARE(initialsOf("émile"), QString::fromUtf8("ÉM"));
        // A character outside the basic plane is kept whole.
        QCOMPARE(initialsOf("😀bot"), QString::fromUtf8("😀B"));
    }

    void reasonAndKindMapping()
    {
        const auto reasonOf = [](const char *reason) {
            return Conversion::toGHNotification(apiThread("o/r", {}, QString::fromLatin1(reason))).reason;
        };
        QCOMPARE(reasonOf("Mention"), NotificationReason::mention);
        QCOMPARE(reasonOf("REVIEW_REQUESTED"), NotificationReason::review_requested);
        QCOMPARE(reasonOf("ci_activity"), NotificationReason::subscribed);
        QCOMPARE(reasonOf(""), NotificationReason::subscribed);
        for (NotificationReason reason : NotificationReasons::allCases())
            QCOMPARE(Conversion::toGHNotification(apiThread("o/r", {}, NotificationReasons::rawValue(reason))).reason, reason);

        const auto kindOf = [](const char *kind) {
            return Conversion::toGHNotification(apiThread("o/r", {}, "mention", QString::fromLatin1(kind))).subjectType;
        };
        QCOMPARE(kindOf("PullRequest"), SubjectType::pull_request);
        QCOMPARE(kindOf("PULLREQUEST"), SubjectType::pull_request);
        QCOMPARE(kindOf("pull_request"), SubjectType::issue);
        QCOMPARE(kindOf("Release"), SubjectType::release);
        QCOMPARE(kindOf("Discussion"), SubjectType::discussion);
        QCOMPARE(kindOf("Commit"), SubjectType::commit);
        QCOMPARE(kindOf("RepositoryVulnerabilityAlert"), SubjectType::security_alert);
        QCOMPARE(kindOf("RepositoryDependabotAlertsThread"), SubjectType::issue);
    }

    void webAddresses()
    {
        using S = SubjectType;
        QCOMPARE(Conversion::webURL(item(QStringLiteral("https://api.github.com/repos/octo/hooks/pulls/5"), 5, S::pull_request)),
                 QStringLiteral("https://github.com/octo/hooks/pull/5"));
        QCOMPARE(Conversion::webURL(item(QStringLiteral("https://api.github.com/repos/octo/hooks/issues/9"), 9, S::issue)),
                 QStringLiteral("https://github.com/octo/hooks/issues/9"));
        QCOMPARE(Conversion::webURL(item({}, 3, S::release)), QStringLiteral("https://github.com/octo/hooks/issues/3"));
        QCOMPARE(Conversion::webURL(item({}, 3, S::pull_request)), QStringLiteral("https://github.com/octo/hooks/pull/3"));
        QCOMPARE(Conversion::webURL(item({}, {}, S::pull_request)), QStringLiteral("https://github.com/octo/hooks"));
        // An address from elsewhere is only rewritten where the rules say.
        QCOMPARE(Conversion::webURL(item(QStringLiteral("https://example.com/pulls/1"), 1, S::issue)),
                 QStringLiteral("https://example.com/pull/1"));
        QCOMPARE(Conversion::webURL(item(QStringLiteral("https://api.github.com/repos/octo/hooks/actions/runs/42"), {}, S::issue)),
                 QStringLiteral("https://github.com/octo/hooks/actions/runs/42"));
    }
};


QTEST_GUILESS_MAIN(TestConversion)
#include "tst_conversion.moc"
