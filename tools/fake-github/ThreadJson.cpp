#include "ThreadJson.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

QByteArray threadsBody(const QList<WireThread> &threads)
{
    QJsonArray array;
    for (const WireThread &t : threads) {
        const QString owner = t.fullName.section(u'/', 0, 0);
        const QString api = QStringLiteral("https://api.github.com/repos/") + t.fullName;
        array.append(QJsonObject{
            {"id", t.id},
            {"unread", t.unread},
            {"reason", t.reason},
            {"subject", QJsonObject{{"title", t.title},
                                    {"url", t.url},
                                    {"latest_comment_url", api + QStringLiteral("/issues/comments/1")},
                                    {"type", t.kind}}},
            {"repository", QJsonObject{{"id", 5000},
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

QList<WireThread> manyThreads(int count)
{
    static const char *kinds[] = {"PullRequest", "Issue", "Release", "Discussion", "Commit", "CheckSuite"};
    static const char *reasons[] = {"review_requested", "mention", "subscribed", "comment", "author", "ci_activity"};
    const QDateTime base(QDate(2024, 5, 1), QTime(12, 0), QTimeZone::utc());
    QList<WireThread> threads;
    threads.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString full = QStringLiteral("owner%1/repo%2").arg(i % 37).arg(i % 11);
        threads.append({QString::number(1000000 + i), i % 3 != 0, base.addSecs(-60 * i).toString(Qt::ISODate),
                        QStringLiteral("Thread number %1 about something worth reading").arg(i),
                        QString::fromLatin1(reasons[i % 6]), full,
                        QStringLiteral("https://api.github.com/repos/%1/pulls/%2").arg(full).arg(i + 1),
                        QString::fromLatin1(kinds[i % 6])});
    }
    return threads;
}
