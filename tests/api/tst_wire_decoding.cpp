#include "api/WireDecoding.h"

#include "ThreadJson.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

QJsonObject validThread(const QString &id = QStringLiteral("1"))
{
    WireThread thread{id};
    thread.url = QStringLiteral("https://api.github.com/repos/o/r/issues/7");
    return QJsonDocument::fromJson(threadsBody({thread})).array().at(0).toObject();
}

// Applies `change` to the value at a dotted key path; an undefined value removes the key.
QJsonObject withValueAt(QJsonObject object, QStringList path, const QJsonValue &change)
{
    const QString key = path.takeFirst();
    if (path.isEmpty()) {
        if (change.isUndefined())
            object.remove(key);
        else
            object.insert(key, change);
        return object;
    }
    object.insert(key, withValueAt(object.value(key).toObject(), path, change));
    return object;
}

QByteArray bodyOf(const QJsonArray &array)
{
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

QList<GitHubNotification> decodeOk(const QByteArray &body)
{
    auto result = WireDecoding::decodeNotificationList(body);
    if (auto *error = std::get_if<DecodingError>(&result))
        qFatal("unexpected decoding error: %s", qPrintable(error->description));
    return std::get<QList<GitHubNotification>>(result);
}

QString decodeError(const QByteArray &body)
{
    auto result = WireDecoding::decodeNotificationList(body);
    const auto *error = std::get_if<DecodingError>(&result);
    return error ? error->description : QString();
}

QDateTime utc(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
}

} // namespace

class TestWireDecoding : public QObject {
    Q_OBJECT

private slots:
    void decodesARealisticBody()
    {
        QFile file(QFINDTESTDATA("data/notifications.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<GitHubNotification> threads = decodeOk(file.readAll());

        QCOMPARE(threads.size(), 8);
        QCOMPARE(threads.at(7).id, QStringLiteral("9008"));

        const GitHubNotification &pull = threads.at(0);
        QVERIFY(pull.unread);
        QCOMPARE(pull.reason, QStringLiteral("review_requested"));
        QCOMPARE(pull.subject.type, QStringLiteral("PullRequest"));
        QCOMPARE(pull.subject.url, QStringLiteral("https://api.github.com/repos/octo-org/hooks/pulls/1347"));
        QCOMPARE(pull.repository.fullName, QStringLiteral("octo-org/hooks"));
        QCOMPARE(pull.repository.id, 101);
        QCOMPARE(pull.repository.owner.login, QStringLiteral("octo-org"));
        QCOMPARE(pull.updatedAt, utc("2024-05-01T09:30:00Z"));
        QCOMPARE(threads.at(2).updatedAt, utc("2024-04-29T10:00:00Z")); // sent at +02:00
        QCOMPARE(pull.lastReadAt, std::nullopt);

        QCOMPARE(threads.at(2).lastReadAt, utc("2024-04-29T12:30:00Z"));
        QCOMPARE(threads.at(2).repository.description, std::nullopt);
        QVERIFY(threads.at(5).repository.isPrivate);

        // Null optional keys come out absent.
        QCOMPARE(threads.at(3).subject.url, std::nullopt);
        QCOMPARE(threads.at(1).subject.latestCommentUrl, std::nullopt);

        QVERIFY(decodeOk(" [ ] \n").isEmpty());
    }

    void acceptanceRules_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<bool>("accepted");

        const QJsonValue missing(QJsonValue::Undefined);
        const QJsonValue null(QJsonValue::Null);
        const QStringList required{"id",
                                   "unread",
                                   "reason",
                                   "subject",
                                   "subject.title",
                                   "subject.type",
                                   "repository",
                                   "repository.id",
                                   "repository.name",
                                   "repository.full_name",
                                   "repository.owner",
                                   "repository.owner.login",
                                   "repository.owner.avatar_url",
                                   "repository.html_url",
                                   "repository.private",
                                   "updated_at"};
        for (const QString &key : required) {
            QTest::addRow("%s missing", qPrintable(key)) << key << missing << false;
            QTest::addRow("%s null", qPrintable(key)) << key << null << false;
        }
        const QStringList optional{"subject.url", "subject.latest_comment_url", "repository.description",
                                   "last_read_at"};
        for (const QString &key : optional) {
            QTest::addRow("%s missing", qPrintable(key)) << key << missing << true;
            QTest::addRow("%s null", qPrintable(key)) << key << null << true;
            QTest::addRow("%s number", qPrintable(key)) << key << QJsonValue(3) << false;
        }

        QTest::newRow("id as number") << "id" << QJsonValue(1) << false;
        QTest::newRow("unread as string") << "unread" << QJsonValue("true") << false;
        QTest::newRow("unread as number") << "unread" << QJsonValue(1) << false;
        QTest::newRow("subject as array") << "subject" << QJsonValue(QJsonArray{}) << false;
        QTest::newRow("repository id as string") << "repository.id" << QJsonValue("42") << false;
        QTest::newRow("repository id fractional") << "repository.id" << QJsonValue(42.5) << false;
        QTest::newRow("repository id huge") << "repository.id" << QJsonValue(1e19) << false;
        QTest::newRow("repository id integral double") << "repository.id" << QJsonValue(42.0) << true;
        QTest::newRow("repository id negative") << "repository.id" << QJsonValue(-7) << true;
        QTest::newRow("private as string") << "repository.private" << QJsonValue("no") << false;
        QTest::newRow("unknown reason is text") << "reason" << QJsonValue("ci_activity") << true;
        QTest::newRow("extra key") << "node_id" << QJsonValue("X") << true;
        // Offsets are the date-time fuzz target's; here what is refused.
        for (const char *time :
             {"2024-05-01T09:30:00.5Z", "2024-05-01T09:30:00", "2024-05-01T09:30:00+0200", "2023-02-29T00:00:00Z",
              "2024-05-01T24:00:00Z", "2024-05-01T09:30:00+24:00", "٢٠٢٤-05-01T09:30:00Z", "2024-+5-01T09:30:00Z"})
            QTest::addRow("updated_at %s", time) << "updated_at" << QJsonValue(QString::fromUtf8(time)) << false;
        QTest::newRow("west crosses the day") << "updated_at" << QJsonValue("2024-04-30T22:30:00-11:00") << true;
        QTest::newRow("bad last_read_at") << "last_read_at" << QJsonValue("yesterday") << false;
    }

    void acceptanceRules()
    {
        QFETCH(QString, path);
        QFETCH(QJsonValue, value);
        QFETCH(bool, accepted);

        const QJsonObject thread = withValueAt(validThread(), path.split(u'.'), value);
        auto result = WireDecoding::decodeNotificationList(bodyOf({validThread("0"), thread}));
        if (accepted) {
            QVERIFY(std::holds_alternative<QList<GitHubNotification>>(result));
            QCOMPARE(std::get<QList<GitHubNotification>>(result).size(), 2);
            return;
        }
        QVERIFY(std::holds_alternative<DecodingError>(result));
        // The description names the failing element and the full key.
        const QString description = std::get<DecodingError>(result).description;
        QVERIFY2(description.startsWith(QStringLiteral("element 1, key \"%1\": ").arg(path)), qPrintable(description));
    }

    void failuresAreDescribed_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("description"); // how it starts
        const QString notJson = QStringLiteral("the body is not valid JSON");
        const QByteArray one = bodyOf({validThread()});
        QTest::newRow("empty") << QByteArray() << notJson;
        QTest::newRow("truncated") << one.chopped(10) << notJson + " (";
        QTest::newRow("not UTF-8") << QByteArray(one).replace("A thread", "A \xff\xfe") << notJson;
        QTest::newRow("deep arrays") << QByteArray(200000, '[') + QByteArray(200000, ']') << notJson;
        QTest::newRow("deep objects") << "[" + QByteArray(100000, '{').replace("{", "{\"a\":") << notJson;
        QTest::newRow("object") << QByteArray("{\"message\":\"x\"}")
                                << "expected an array of notifications, found an object";
        QTest::newRow("number") << QByteArray("[1]") << "element 0: expected an object, found a number";
        QTest::newRow("null") << bodyOf({validThread(), validThread(), QJsonValue::Null})
                              << "element 2: expected an object, found null";
        QTest::newRow("beyond int64")
            << QByteArray(one).replace("\"id\":5000", "\"id\":99999999999999999999")
            << "element 0, key \"repository.id\": expected a signed 64-bit integer, found 1e+20";
        QTest::newRow("beyond double") << QByteArray(one).replace("\"id\":5000", "\"id\":1" + QByteArray(400, '0'))
                                       << notJson + " (illegal number";
        QTest::newRow("1 MB value") << bodyOf({withValueAt(validThread(), {"updated_at"}, QString(1 << 20, u'9'))})
                                    << "element 0, key \"updated_at\"";
    }

    void failuresAreDescribed()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, description);
        const QString error = decodeError(body);
        QVERIFY2(error.startsWith(description), qPrintable(error.left(200)));
        QVERIFY2(error.size() < 300, "a value is quoted only by its start");
    }

    void subjectStatesAndActors_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("pullRequest");
        QTest::addColumn<QString>("outcome"); // state and author, or how the error starts
        const auto pull = [](WireSubject s) { return subjectBody(s, true); };
        const auto issue = [](WireSubject s) { return subjectBody(s, false); };
        QTest::newRow("open pull") << pull({}) << true << "0 alice";
        QTest::newRow("merged") << pull({.state = "closed", .merged = true}) << true << "3 alice";
        QTest::newRow("closed pull") << pull({.state = "closed"}) << true << "1 alice";
        QTest::newRow("draft") << pull({.draft = true, .author = "renovate", .authorType = "Bot"}) << true
                               << "4 renovate bot";
        QTest::newRow("closed draft") << pull({.state = "closed", .draft = true}) << true << "1 alice";
        QTest::newRow("open issue") << issue({.author = "dependabot[bot]"}) << false << "0 dependabot[bot] bot";
        QTest::newRow("completed") << issue({.state = "closed", .stateReason = "completed"}) << false << "1 alice";
        QTest::newRow("closed, no reason") << issue({.state = "closed"}) << false << "1 alice";
        QTest::newRow("not planned") << issue({.state = "closed", .stateReason = "not_planned"}) << false << "2 alice";
        QTest::newRow("duplicate") << issue({.state = "closed", .stateReason = "duplicate"}) << false << "2 alice";
        QTest::newRow("ghost") << QByteArray(R"({"state":"open","user":null})") << false << "0 ";
        QTest::newRow("pull without merged") << issue({}) << true << "subject, key \"merged\": required key is missing";
        QTest::newRow("odd state") << issue({.state = "locked"}) << false << "subject, key \"state\": expected";
        QTest::newRow("user not object") << QByteArray(R"({"state":"open","user":7})") << false
                                         << "subject, key \"user\"";
        QTest::newRow("array") << QByteArray("[]") << false << "expected an object";
        QTest::newRow("truncated") << issue({}).chopped(3) << false << "the body is not valid JSON";
    }

    void subjectStatesAndActors()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, pullRequest);
        QFETCH(QString, outcome);
        const auto result = WireDecoding::decodeSubject(body, pullRequest);
        if (const auto *error = std::get_if<DecodingError>(&result)) {
            QVERIFY2(error->description.startsWith(outcome), qPrintable(error->description));
            return;
        }
        const auto &record = std::get<WireDecoding::SubjectRecord>(result);
        QCOMPARE(QStringLiteral("%1 %2%3")
                     .arg(int(record.state))
                     .arg(record.author.login, record.author.isBot ? " bot" : ""),
                 outcome);
    }

    void commentAuthors()
    {
        QCOMPARE(std::get<WireDecoding::CommentRecord>(WireDecoding::decodeComment(commentBody("bob"))).author,
                 (Actor{"bob", false}));
        QCOMPARE(std::get<WireDecoding::CommentRecord>(WireDecoding::decodeComment(commentBody("ci", "Bot"))).author,
                 (Actor{"ci", true}));
        QVERIFY(std::holds_alternative<DecodingError>(WireDecoding::decodeComment("{\"user\":{}}")));
    }
};

QTEST_GUILESS_MAIN(TestWireDecoding)
#include "tst_wire_decoding.moc"
