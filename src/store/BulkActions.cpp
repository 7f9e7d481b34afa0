// The store's actions on many threads at once, and mark-as-done. Like the
// per-thread actions, the local change comes first and a refused request
// rolls it back.

#include "store/NotificationsStore.h"

#include "api/GitHubAPIClient.h"

#include <QPointer>

namespace {

// The queue key of the requests that touch many threads: they run in the
// order they were asked for, apart from those of single threads (whose ids
// are digits).
QString bulkKey(const QString &scope)
{
    return QStringLiteral("bulk:") + scope;
}

} // namespace

void NotificationsStore::markAllAsRead()
{
    m_accounts.markAllAsRead();
    markReadWhere(
        bulkKey(QStringLiteral("all")), [](const GHNotification &) { return true; },
        [](QDateTime lastReadAt) { return GitHubAPIClient::markAllAsRead(std::move(lastReadAt)); });
}

void NotificationsStore::markRepositoryAsRead(const QString &repoFullName)
{
    // A group holds that repository's threads of every account.
    m_accounts.markRepositoryAsRead(repoFullName);
    const auto inRepository = [repoFullName](const GHNotification &thread) {
        return thread.repoFullName() == repoFullName;
    };
    const auto found = std::find_if(m_items.cbegin(), m_items.cend(), inRepository);
    if (found == m_items.cend())
        return;
    markReadWhere(bulkKey(repoFullName), inRepository,
                  [owner = found->owner, repo = found->repo](QDateTime lastReadAt) {
                      return GitHubAPIClient::markRepositoryAsRead(owner, repo, std::move(lastReadAt));
                  });
}

void NotificationsStore::markReadWhere(const QString &queueKey,
                                       const std::function<bool(const GHNotification &)> &matches,
                                       std::function<QCoro::Task<std::optional<ClientError>>(QDateTime)> request)
{
    QStringList marked;
    for (GHNotification &thread : m_items) {
        if (thread.unread && matches(thread)) {
            thread.unread = false;
            recordDismissal(thread, ThreadMerge::Dismissal::Kind::read);
            marked.append(thread.id);
        }
    }
    if (marked.isEmpty())
        return;
    emit itemsChanged();
    // Threads that arrived after the list the user is looking at stay unread.
    const QDateTime lastReadAt = m_listFetchedAt.isValid() ? m_listFetchedAt : QDateTime::currentDateTimeUtc();
    m_threadRequests.enqueue(queueKey, [this, marked, lastReadAt, request, session = m_session]() -> QCoro::Task<> {
        if (session != m_session)
            co_return;
        QPointer<NotificationsStore> self(this);
        const std::optional<ClientError> error = co_await request(lastReadAt);
        if (!self || !error || session != m_session)
            co_return;
        for (const QString &id : marked)
            forgetDismissal(id);
        for (GHNotification &thread : m_items) {
            if (marked.contains(thread.id))
                thread.unread = true;
        }
        emit itemsChanged();
        setLastError(userDescription(*error));
    });
}

void NotificationsStore::markAccountAsRead(const QString &accountKey)
{
    if (accountKey.isEmpty()) {
        markReadWhere(
            bulkKey(QStringLiteral("all")), [](const GHNotification &) { return true; },
            [](QDateTime lastReadAt) { return GitHubAPIClient::markAllAsRead(std::move(lastReadAt)); });
        return;
    }
    if (AccountSession *session = m_accounts.sessionFor(accountKey + u'/'))
        session->markAllAsRead();
}

void NotificationsStore::markAsDone(const QString &id)
{
    QString threadId;
    if (AccountSession *session = m_accounts.sessionFor(id, &threadId)) {
        session->markAsDone(threadId);
        return;
    }
    const qsizetype index = indexOf(id);
    if (index < 0)
        return;
    const GHNotification thread = m_items.takeAt(index);
    recordDismissal(thread, ThreadMerge::Dismissal::Kind::done);
    emit itemsChanged();
    m_threadRequests.enqueue(id, [this, thread, index, session = m_session]() -> QCoro::Task<> {
        if (session != m_session)
            co_return;
        QPointer<NotificationsStore> self(this);
        const std::optional<ClientError> error = co_await GitHubAPIClient::markThreadAsDone(thread.id);
        if (!self || !error || session != m_session)
            co_return;
        forgetDismissal(thread.id);
        // Back where it was, unless a refresh brought it back meanwhile.
        if (indexOf(thread.id) < 0) {
            m_items.insert(std::min(index, m_items.size()), thread);
            emit itemsChanged();
        }
        setLastError(userDescription(*error));
    });
}
