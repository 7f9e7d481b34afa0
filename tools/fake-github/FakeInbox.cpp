#include "FakeInbox.h"

#include "FakeGitHubServer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

namespace {

QByteArray httpDate(const QDateTime &time)
{
    return QLocale::c().toString(time.toUTC(), u"ddd, dd MMM yyyy HH:mm:ss 'GMT'").toUtf8();
}

QDateTime fromHttpDate(const QByteArray &text)
{
    QDateTime time =
        QLocale::c().toDateTime(QString::fromLatin1(text), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    time.setTimeZone(QTimeZone::utc());
    return time;
}

} // namespace

FakeInbox::FakeInbox(FakeGitHubServer &server, QByteArray prefix)
    : m_server(server), m_prefix(std::move(prefix)),
      m_lastModified(QDateTime(QDate(2024, 5, 1), QTime(9, 30), QTimeZone::utc()))
{
    server.setHandler([this](const RecordedRequest &request) { return answer(request); });
}

WireThread *FakeInbox::find(const QString &id)
{
    const auto found =
        std::find_if(m_threads.begin(), m_threads.end(), [&id](const WireThread &thread) { return thread.id == id; });
    return found == m_threads.end() ? nullptr : &*found;
}

QString FakeInbox::activity()
{
    m_lastModified = m_lastModified.addSecs(1);
    return m_lastModified.toString(Qt::ISODate);
}

void FakeInbox::add(WireThread thread)
{
    // A thread dated later than the stamp (activity still to come, as the
    // test sees it) moves the stamp to its time.
    const QDateTime at = QDateTime::fromString(thread.updatedAt, Qt::ISODate);
    if (at > m_lastModified)
        m_lastModified = at;
    else
        thread.updatedAt = activity();
    m_threads.prepend(std::move(thread));
}

void FakeInbox::comment(const QString &id)
{
    if (WireThread *thread = find(id)) {
        thread->unread = true;
        thread->updatedAt = activity();
    }
}

void FakeInbox::readElsewhere(const QString &id)
{
    if (WireThread *thread = find(id))
        thread->unread = false;
}

void FakeInbox::markUnreadElsewhere(const QString &id)
{
    if (WireThread *thread = find(id))
        thread->unread = true;
}

void FakeInbox::doneElsewhere(const QString &id)
{
    m_threads.removeIf([&id](const WireThread &thread) { return thread.id == id; });
}

void FakeInbox::finishMarkAll()
{
    for (const QDateTime &lastReadAt : std::exchange(m_pendingMarkAll, {})) {
        for (WireThread &thread : m_threads) {
            if (QDateTime::fromString(thread.updatedAt, Qt::ISODate) <= lastReadAt)
                thread.unread = false;
        }
    }
}

bool FakeInbox::isUnread(const QString &id) const
{
    return std::any_of(m_threads.cbegin(), m_threads.cend(),
                       [&id](const WireThread &thread) { return thread.id == id && thread.unread; });
}

ScriptedResponse FakeInbox::answer(const RecordedRequest &request)
{
    const auto plain = [](int status, QByteArray body = {}) {
        return ScriptedResponse{status, std::move(body), {}, ScriptedResponse::Behaviour::respond};
    };
    const QByteArray threadPath = m_prefix + "/notifications/threads/";
    if (request.target.startsWith(m_prefix + "/notifications?") && request.method == "GET") {
        QList<QPair<QByteArray, QByteArray>> headers{{"Last-Modified", httpDate(m_lastModified)}};
        if (m_pollInterval > 0)
            headers.append({"X-Poll-Interval", QByteArray::number(m_pollInterval)});
        const QByteArray since = request.header("If-Modified-Since");
        if (!since.isEmpty() && fromHttpDate(since) >= m_lastModified)
            return {304, {}, headers, ScriptedResponse::Behaviour::respond};
        const bool firstPage = !request.target.contains("&page=");
        if (!firstPage && m_pageFault == PageFault::laterPageFails)
            return plain(500, R"({"message":"Server Error"})");
        QString base = m_server.baseUrl();
        if (m_pageFault == PageFault::nextElsewhere)
            base.replace(QStringLiteral("127.0.0.1"), QStringLiteral("localhost"));
        const ListPage page = listPage(request.target, m_threads,
                                       base + QString::fromLatin1(m_prefix) + QStringLiteral("/notifications"));
        if (!page.link.isEmpty())
            headers.append({"Link", page.link});
        return {200, page.body, headers, ScriptedResponse::Behaviour::respond};
    }
    if (request.target == m_prefix + "/notifications" && request.method == "PUT") {
        const QJsonObject body = QJsonDocument::fromJson(request.body).object();
        m_pendingMarkAll.append(QDateTime::fromString(body.value(u"last_read_at").toString(), Qt::ISODate));
        return plain(202, R"({"message":"Unread notifications couldn't be marked in a single request. )"
                          R"(Notifications are being marked as read in the background."})");
    }
    if (request.target.startsWith(threadPath)) {
        const QString id = QString::fromLatin1(request.target.mid(threadPath.size()));
        if (request.method == "PATCH") {
            readElsewhere(id);
            return plain(205);
        }
        if (request.method == "DELETE") {
            doneElsewhere(id);
            return plain(204);
        }
    }
    return plain(request.method == "GET" ? 404 : 205);
}
