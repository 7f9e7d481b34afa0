// The actions of a session on its threads: the local change comes first, the
// request follows in the thread's queue, and a refused request rolls the
// change back and shows the error.

#include "store/AccountSession.h"

#include "api/Conversion.h"
#include "api/GitHubEndpoints.h"
#include "platform/Browser.h"

#include <QPointer>
#include <QUrl>

namespace {

// The queue key of the requests that touch many threads: they run in the
// order they were asked for, apart from those of single threads (whose ids
// are digits).
QString bulkKey(const QString &scope)
{
    return QStringLiteral("bulk:") + scope;
}

// The answer of a server that has no "done" at all.
bool refusesDone(const ClientError &error)
{
    const auto *apiError = std::get_if<GitHubAPIClient::APIError>(&error);
    return apiError && apiError->kind() == GitHubAPIClient::APIError::Kind::httpError
           && (apiError->statusCode() == 404 || apiError->statusCode() == 405);
}

} // namespace

qsizetype AccountSession::indexOf(const QString &id) const
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).id == id)
            return i;
    }
    return -1;
}

void AccountSession::enqueue(const QString &queueKey, Request request, std::function<void(const ClientError &)> undo)
{
    QPointer<AccountSession> self(this);
    m_requests.enqueue(queueKey,
                       [self, session = m_session, request = std::move(request),
                        undo = std::move(undo)]() -> QCoro::Task<> {
                           // A request of an ended session is not sent: the thread may belong
                           // to another token.
                           if (!self || session != self->m_session)
                               co_return;
                           auto sending = request(self->access());
                           const std::optional<ClientError> error = co_await std::move(sending);
                           if (!self || !error || session != self->m_session)
                               co_return;
                           undo(*error);
                       });
}

void AccountSession::open(const QString &id)
{
    const qsizetype index = indexOf(id);
    if (index < 0)
        return;
    // Only this account's own web site: the address came from its server.
    const GHNotification &thread = m_items.at(index);
    if (m_host.isGitHubCom()) {
        const QUrl url(Conversion::webURL(thread), QUrl::StrictMode);
        if (Conversion::isGitHubWebPage(url))
            Browser::open(url);
        return;
    }
    const QUrl url(Conversion::webURL(thread, m_host.apiBase(), m_host.webRoot()), QUrl::StrictMode);
    if (m_host.isWebPage(url))
        Browser::open(url);
}

void AccountSession::toggleRead(const QString &id)
{
    const qsizetype index = indexOf(id);
    if (index < 0)
        return;
    if (!m_items.at(index).unread) {
        setLastError(tr("Cannot mark as unread. GitHub API limitation."));
        return;
    }
    m_items[index].unread = false;
    m_dismissed.insert(id, {ThreadMerge::Dismissal::Kind::read, m_items.at(index).updatedAt});
    emit itemsChanged();
    enqueue(
        id, [id](GitHubAPIClient::Access access) { return GitHubAPIClient::markThreadAsRead(std::move(access), id); },
        [this, id](const ClientError &error) { restoreUnread({id}, error); });
}

void AccountSession::toggleMute(const QString &id)
{
    const qsizetype index = indexOf(id);
    if (index < 0)
        return;
    const bool previous = m_items.at(index).muted;
    m_items[index].muted = !previous;
    emit itemsChanged();
    enqueue(
        id,
        [id, previous](GitHubAPIClient::Access access) {
            // Not a conditional expression: GCC 12 destroys a task returned through one twice.
            if (previous)
                return GitHubAPIClient::unmuteThread(std::move(access), id);
            return GitHubAPIClient::muteThread(std::move(access), id);
        },
        [this, id, previous](const ClientError &error) {
            if (const qsizetype at = indexOf(id); at >= 0) {
                m_items[at].muted = previous;
                emit itemsChanged();
            }
            setLastError(userDescription(error));
        });
}

void AccountSession::markAsDone(const QString &id)
{
    const qsizetype index = indexOf(id);
    if (index < 0 || !m_items.at(index).account.canMarkDone)
        return;
    const GHNotification thread = m_items.takeAt(index);
    m_dismissed.insert(id, {ThreadMerge::Dismissal::Kind::done, thread.updatedAt});
    emit itemsChanged();
    enqueue(
        id, [id](GitHubAPIClient::Access access) { return GitHubAPIClient::markThreadAsDone(std::move(access), id); },
        [this, thread, index](const ClientError &error) {
            m_dismissed.remove(thread.id);
            // Back where it was, unless a refresh brought it back meanwhile.
            if (indexOf(thread.id) < 0) {
                m_items.insert(std::min(index, m_items.size()), thread);
                emit itemsChanged();
            }
            // An Enterprise Server without "done" says so, and is offered it no more.
            if (refusesDone(error) && !m_host.isGitHubCom())
                withdrawDone();
            else
                setLastError(userDescription(error));
        });
}

void AccountSession::withdrawDone()
{
    m_doneRefused = true;
    for (GHNotification &item : m_items)
        item.account.canMarkDone = false;
    emit itemsChanged();
    setLastError(
        tr("%1 cannot mark threads as done (it needs GitHub Enterprise Server 3.13 or later)").arg(m_host.name()));
}

void AccountSession::markAllAsRead()
{
    markRepositoryAsRead(QString());
}

void AccountSession::markRepositoryAsRead(const QString &repoFullName)
{
    QStringList marked;
    QString owner;
    QString repo;
    // GitHub marks what was updated up to this time: the newest activity the
    // user was shown, so neither a thread they saw stays unread there nor one
    // that came after (in the same second, or while the list was slow) is
    // marked unseen.
    QDateTime lastReadAt;
    for (GHNotification &thread : m_items) {
        if (!repoFullName.isEmpty() && thread.repoFullName() != repoFullName)
            continue;
        if (!lastReadAt.isValid() || thread.updatedAt > lastReadAt)
            lastReadAt = thread.updatedAt;
        if (!thread.unread)
            continue;
        thread.unread = false;
        m_dismissed.insert(thread.id, {ThreadMerge::Dismissal::Kind::read, thread.updatedAt});
        marked.append(thread.id);
        owner = thread.owner;
        repo = thread.repo;
    }
    if (marked.isEmpty())
        return;
    emit itemsChanged();
    const bool all = repoFullName.isEmpty();
    enqueue(
        bulkKey(all ? QStringLiteral("all") : repoFullName),
        [all, owner, repo, lastReadAt](GitHubAPIClient::Access access) {
            if (all)
                return GitHubAPIClient::markAllAsRead(std::move(access), lastReadAt);
            return GitHubAPIClient::markRepositoryAsRead(std::move(access), owner, repo, lastReadAt);
        },
        [this, marked](const ClientError &error) { restoreUnread(marked, error); });
}

void AccountSession::restoreUnread(const QStringList &ids, const ClientError &error)
{
    for (const QString &id : ids)
        m_dismissed.remove(id);
    bool restored = false;
    for (GHNotification &thread : m_items) {
        if (ids.contains(thread.id)) {
            thread.unread = true;
            restored = true;
        }
    }
    if (restored)
        emit itemsChanged();
    setLastError(userDescription(error));
}
