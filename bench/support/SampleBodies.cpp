#include "support/SampleBodies.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

QByteArray notificationsBody(int count)
{
    static const char *kinds[] = {"PullRequest", "Issue", "Release", "Discussion", "Commit", "CheckSuite"};
    static const char *reasons[] = {"review_requested", "mention", "subscribed", "comment", "author", "ci_activity"};
    const QDateTime base(QDate(2024, 5, 1), QTime(12, 0), QTimeZone::utc());

    QJsonArray threads;
    for (int i = 0; i < count; ++i) {
        const QString owner = QStringLiteral("owner%1").arg(i % 37);
        const QString name = QStringLiteral("repo%1").arg(i % 11);
        const QString full = owner + u'/' + name;
        const QString api = QStringLiteral("https://api.github.com/repos/") + full;
        threads.append(QJsonObject{
            {"id", QString::number(1000000 + i)},
            {"unread", i % 3 != 0},
            {"reason", reasons[i % 6]},
            {"subject", QJsonObject{{"title", QStringLiteral("Thread number %1 about something worth reading").arg(i)},
                                    {"url", api + QStringLiteral("/pulls/%1").arg(i + 1)},
                                    {"latest_comment_url", api + QStringLiteral("/issues/comments/%1").arg(i)},
                                    {"type", kinds[i % 6]}}},
            {"repository", QJsonObject{{"id", 5000 + i % 407},
                                       {"node_id", "R_kgDOABCDEF"},
                                       {"name", name},
                                       {"full_name", full},
                                       {"owner", QJsonObject{{"login", owner},
                                                             {"id", 9000 + i % 37},
                                                             {"avatar_url", "https://avatars.githubusercontent.com/u/9000?v=4"},
                                                             {"type", "Organization"}}},
                                       {"private", i % 5 == 0},
                                       {"html_url", QStringLiteral("https://github.com/") + full},
                                       {"description", "A repository with a description"},
                                       {"fork", false}}},
            {"updated_at", base.addSecs(-60 * i).toString(Qt::ISODate)},
            {"last_read_at", QJsonValue::Null},
            {"url", QStringLiteral("https://api.github.com/notifications/threads/%1").arg(1000000 + i)},
        });
    }
    return QJsonDocument(threads).toJson(QJsonDocument::Compact);
}
