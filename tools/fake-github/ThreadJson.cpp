#include "ThreadJson.h"

#include "FakeGitHubServer.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>
#include <QUrl>
#include <QUrlQuery>

QByteArray threadsBody(const QList<WireThread> &threads)
{
    QJsonArray array;
    for (const WireThread &t : threads) {
        const QString owner = t.fullName.section(u'/', 0, 0);
        array.append(QJsonObject{
            {"id", t.id},
            {"unread", t.unread},
            {"reason", t.reason},
            {"subject",
             QJsonObject{
                 {"title", t.title}, {"url", t.url}, {"latest_comment_url", t.latestCommentUrl}, {"type", t.kind}}},
            {"repository",
             QJsonObject{{"id", 5000},
                         {"node_id", "R_kgDOABCDEF"},
                         {"name", t.fullName.section(u'/', 1)},
                         {"full_name", t.fullName},
                         {"owner", QJsonObject{{"login", owner},
                                               {"id", 9000},
                                               {"avatar_url", "https://avatars.githubusercontent.com/u/9000?v=4"},
                                               {"type", "Organization"}}},
                         {"private", false},
                         {"html_url", QStringLiteral("https://github.com/") + t.fullName},
                         {"description", "A repository with a description"},
                         {"fork", false}}},
            {"updated_at", t.updatedAt},
            {"last_read_at", QJsonValue::Null},
            {"url", QStringLiteral("https://api.github.com/notifications/threads/") + t.id},
        });
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

ListPage listPage(const QByteArray &target, const QList<WireThread> &threads, const QString &listUrl)
{
    constexpr int pageSize = 50;
    const int page =
        std::max(1, QUrlQuery(QUrl(QString::fromLatin1(target))).queryItemValue(QStringLiteral("page")).toInt());
    ListPage answer{threadsBody(threads.mid((page - 1) * pageSize, pageSize)), {}};
    if (page * pageSize < threads.size())
        answer.link =
            QStringLiteral("<%1?all=true&per_page=50&page=%2>; rel=\"next\"").arg(listUrl).arg(page + 1).toUtf8();
    return answer;
}

QList<WireThread> manyThreads(int count)
{
    static const char *kinds[] = {"PullRequest", "Issue", "Release", "Discussion", "Commit", "CheckSuite"};
    static const char *reasons[] = {"review_requested", "mention", "subscribed", "comment", "author", "ci_activity"};
    const QDateTime base(QDate(2024, 5, 1), QTime(12, 0), QTimeZone::utc());
    QList<WireThread> threads;
    threads.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString full = QStringLiteral("owner%1/repo%2").arg(i % 37).arg(i % 11);
        const QString kind = QString::fromLatin1(kinds[i % 6]);
        const QString api = QStringLiteral("https://api.github.com/repos/") + full;
        const QString subject =
            api + (kind == u"Issue" ? QStringLiteral("/issues/%1") : QStringLiteral("/pulls/%1")).arg(i + 1);
        const QJsonValue comment =
            i % 4 < 2 ? QJsonValue(api + QStringLiteral("/issues/comments/%1").arg(7000 + i)) : QJsonValue(subject);
        threads.append({QString::number(1000000 + i), i % 3 != 0, base.addSecs(-60 * i).toString(Qt::ISODate),
                        QStringLiteral("Thread number %1 about something worth reading").arg(i),
                        QString::fromLatin1(reasons[i % 6]), full, subject, kind, comment});
    }
    return threads;
}

QList<WireThread> onServer(QList<WireThread> threads, const QString &apiBase)
{
    const auto moved = [&](const QJsonValue &address) {
        return address.isString()
                   ? QJsonValue(address.toString().replace(QStringLiteral("https://api.github.com"), apiBase))
                   : address;
    };
    for (WireThread &thread : threads) {
        thread.url = moved(thread.url);
        thread.latestCommentUrl = moved(thread.latestCommentUrl);
    }
    return threads;
}

QByteArray subjectBody(const WireSubject &subject, bool pullRequest)
{
    QJsonObject body{{"id", 1},
                     {"number", 1},
                     {"title", "A subject"},
                     {"state", subject.state},
                     {"user", QJsonObject{{"login", subject.author}, {"id", 1}, {"type", subject.authorType}}},
                     {"body", "What it is about."}};
    if (!subject.htmlUrl.isEmpty())
        body.insert("html_url", subject.htmlUrl);
    if (pullRequest) {
        body.insert("merged", subject.merged);
        body.insert("draft", subject.draft);
    } else {
        body.insert("state_reason", subject.stateReason);
    }
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

QByteArray commentBody(const QString &login, const QString &type, const QString &htmlUrl)
{
    QJsonObject body{{"id", 1}, {"body", "A comment."}, {"user", QJsonObject{{"login", login}, {"type", type}}}};
    if (!htmlUrl.isEmpty())
        body.insert("html_url", htmlUrl);
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

QList<QByteArray> serveSubjects(FakeGitHubServer &server, const QList<WireThread> &threads)
{
    static const char *people[] = {"alice", "bob", "dependabot[bot]", "carol"};
    const QString base = server.baseUrl();
    QList<QByteArray> subjects;
    int n = 0;
    for (const WireThread &thread : threads) {
        const bool pullRequest = thread.kind == u"PullRequest";
        if ((!pullRequest && thread.kind != u"Issue") || !thread.url.toString().startsWith(base))
            continue;
        WireSubject subject{.author = QString::fromLatin1(people[n % 4])};
        if (pullRequest) {
            // open, merged, closed, draft in turn
            subject.state = n % 4 == 1 || n % 4 == 2 ? QStringLiteral("closed") : QStringLiteral("open");
            subject.merged = n % 4 == 1;
            subject.draft = n % 4 == 3;
        } else if (n % 3 != 0) {
            subject.state = QStringLiteral("closed");
            subject.stateReason = n % 3 == 1 ? QStringLiteral("completed") : QStringLiteral("not_planned");
        }
        const QByteArray target = thread.url.toString().mid(base.size()).toUtf8();
        server.setResource(target, subjectBody(subject, pullRequest));
        subjects << target;
        const QString comment = thread.latestCommentUrl.toString();
        if (comment.startsWith(base) && comment != thread.url.toString()) {
            const QByteArray commentTarget = comment.mid(base.size()).toUtf8();
            server.setResource(commentTarget, commentBody(QString::fromLatin1(people[(n + 1) % 4])));
        }
        ++n;
    }
    return subjects;
}
