// Per-thread actions of the notifications store: the local change comes
// first, the request follows, and a refused request rolls the change back.

#include "store/NotificationsStore.h"

#include "api/Conversion.h"
#include "api/GitHubAPIClient.h"
#include "platform/Browser.h"

#include <QPointer>
#include <QUrl>

qsizetype NotificationsStore::indexOf(const QString &id) const
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).id == id)
            return i;
    }
    return -1;
}

std::optional<qsizetype> NotificationsStore::rollbackPosition(const QString &id, qsizetype remembered) const
{
    if (remembered < m_items.size() && m_items.at(remembered).id == id)
        return remembered;
    const qsizetype now = indexOf(id);
    if (now < 0)
        return std::nullopt;
    return now;
}

void NotificationsStore::open(const QString &id)
{
    QString threadId;
    if (AccountSession *session = m_accounts.sessionFor(id, &threadId)) {
        session->open(threadId);
        return;
    }
    const qsizetype index = indexOf(id);
    if (index < 0)
        return;
    const QUrl url(Conversion::webURL(m_items.at(index)), QUrl::StrictMode);
    if (!Conversion::isGitHubWebPage(url))
        return;
    Browser::open(url);
}

void NotificationsStore::toggleRead(const QString &id)
{
    QString threadId;
    if (AccountSession *session = m_accounts.sessionFor(id, &threadId)) {
        session->toggleRead(threadId);
        return;
    }
    const qsizetype index = indexOf(id);
    if (index < 0)
        return;
    if (!m_items.at(index).unread) {
        setLastError(tr("Cannot mark as unread. GitHub API limitation."));
        return;
    }
    m_items[index].unread = false;
    recordDismissal(m_items.at(index), ThreadMerge::Dismissal::Kind::read);
    emit itemsChanged();
    m_threadRequests.enqueue(id, [this, id, index, session = m_session] { return sendMarkRead(id, index, session); });
}

void NotificationsStore::toggleMute(const QString &id)
{
    QString threadId;
    if (AccountSession *session = m_accounts.sessionFor(id, &threadId)) {
        session->toggleMute(threadId);
        return;
    }
    const qsizetype index = indexOf(id);
    if (index < 0)
        return;
    const bool previous = m_items.at(index).muted;
    m_items[index].muted = !previous;
    emit itemsChanged();
    m_threadRequests.enqueue(id, [this, id, index, previous, session = m_session] {
        return sendMute(id, index, previous, session);
    });
}

QCoro::Task<> NotificationsStore::sendMarkRead(QString id, qsizetype position, quint64 session)
{
    // A request of an ended session is not sent: the thread may belong to
    // another account, or be a sample.
    if (session != m_session)
        co_return;
    QPointer<NotificationsStore> self(this);
    const std::optional<ClientError> error = co_await GitHubAPIClient::markThreadAsRead(id);
    if (!self || !error || session != m_session)
        co_return;
    forgetDismissal(id);
    if (const auto at = rollbackPosition(id, position)) {
        m_items[*at].unread = true;
        emit itemsChanged();
    }
    setLastError(userDescription(*error));
}

QCoro::Task<> NotificationsStore::sendMute(QString id, qsizetype position, bool previous, quint64 session)
{
    if (session != m_session)
        co_return;
    QPointer<NotificationsStore> self(this);
    // Kept out of a conditional expression: GCC 12 destroys a task awaited
    // through one twice.
    auto request = previous ? GitHubAPIClient::unmuteThread(id) : GitHubAPIClient::muteThread(id);
    const std::optional<ClientError> error = co_await std::move(request);
    if (!self || !error || session != m_session)
        co_return;
    if (const auto at = rollbackPosition(id, position)) {
        m_items[*at].muted = previous;
        emit itemsChanged();
    }
    setLastError(userDescription(*error));
}
