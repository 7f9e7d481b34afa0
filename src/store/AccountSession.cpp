#include "store/AccountSession.h"

#include "api/Conversion.h"
#include "api/GitHubAPIClient.h"
#include "api/RequestPacing.h"
#include "credentials/AccountTokens.h"
#include "platform/Browser.h"
#include "platform/SystemEvents.h"
#include "settings/Preferences.h"

#include <QPointer>
#include <QVersionNumber>

#include <limits>

namespace {

// "Done" came with GitHub Enterprise Server 3.13; github.com sends no version.
bool hasDone(const QByteArray &enterpriseVersion)
{
    if (enterpriseVersion.isEmpty())
        return true;
    const QVersionNumber version = QVersionNumber::fromString(QString::fromLatin1(enterpriseVersion));
    return version.isNull() || version >= QVersionNumber(3, 13);
}

} // namespace

AccountSession::AccountSession(AccountHost host, QString login, QObject *parent)
    : QObject(parent), m_host(std::move(host)), m_login(std::move(login)),
      m_details(SubjectDetailsCache::defaultPath(key()))
{
    connect(&m_details, &SubjectDetailsFetcher::detailsChanged, this, [this] {
        m_details.annotate(m_items);
        emit itemsChanged();
    });
    m_pollTimer.setSingleShot(true);
    connect(&m_pollTimer, &QTimer::timeout, this, &AccountSession::refresh);
    connect(&SystemEvents::shared(), &SystemEvents::resumed, this, &AccountSession::pollSoon);
    connect(&SystemEvents::shared(), &SystemEvents::networkReachable, this, &AccountSession::pollSoon);
}

AccountSession::~AccountSession() = default;

QString AccountSession::label() const
{
    return m_host.isGitHubCom() ? m_login : m_login + u'@' + m_host.name();
}

void AccountSession::start()
{
    m_stopped = false;
    readToken();
}

void AccountSession::stop()
{
    m_stopped = true;
    m_pollTimer.stop();
    if (m_token)
        GitHubAPIClient::ForAccount::forgetAnswers(credentials());
    m_token.reset();
    m_dismissed.clear();
    m_details.discard();
    setItems({});
}

QCoro::Task<> AccountSession::readToken()
{
    if (m_readingToken || m_stopped)
        co_return;
    m_readingToken = true;
    QPointer<AccountSession> self(this);
    // Tasks are named before they are awaited: GCC 12 destroys some
    // temporaries of a co_await expression twice.
    auto reading = AccountTokens::read(AccountTokens::itemName(m_host.name(), m_login), KeychainManager::Prompt::never);
    const KeychainManager::TokenResult read = co_await std::move(reading);
    if (!self || m_stopped)
        co_return;
    m_readingToken = false;
    if (const auto *error = std::get_if<KeychainManager::KeychainError>(&read)) {
        // Locked or failing: asked again at the next poll.
        setLastError(error->errorDescription());
        scheduleNextPoll();
        co_return;
    }
    m_token = std::get<std::optional<QString>>(read);
    if (!m_token) {
        setLastError(tr("No token stored for this account. Please add it again in Settings."));
        co_return;
    }
    fetch();
}

void AccountSession::refresh()
{
    if (m_stopped)
        return;
    if (!m_token)
        readToken();
    else
        fetch();
}

void AccountSession::pollSoon()
{
    if (!m_token || m_fetching || m_stopped || RequestPacing::pausedUntil(pacingKey()))
        return;
    const auto asked = RequestPacing::pollInterval(pacingKey());
    if (asked && m_lastPoll.isValid() && m_lastPoll.secsTo(QDateTime::currentDateTimeUtc()) < asked->count())
        return;
    fetch();
}

void AccountSession::dismissError()
{
    setLastError(std::nullopt);
}

QByteArray AccountSession::pacingKey() const
{
    return m_token ? KeychainManager::tokenDigest(*m_token) : QByteArray();
}

QCoro::Task<> AccountSession::fetch()
{
    if (m_fetching || !m_token || m_stopped)
        co_return;
    m_fetching = true;
    QPointer<AccountSession> self(this);
    m_lastPoll = QDateTime::currentDateTimeUtc();
    const QDateTime askedAt = m_lastPoll;
    auto fetching =
        GitHubAPIClient::ForAccount::fetchNotifications(credentials(), true, 50, Preferences::participatingOnly());
    const auto fetched = co_await std::move(fetching);
    if (!self || m_stopped)
        co_return;
    m_fetching = false;
    scheduleNextPoll();
    if (const auto *error = std::get_if<ClientError>(&fetched)) {
        setLastError(userDescription(*error));
        co_return;
    }
    const GitHubAPIClient::NotificationList &list = std::get<GitHubAPIClient::NotificationList>(fetched);
    m_canMarkDone = hasDone(list.enterpriseVersion);
    QList<GHNotification> threads;
    threads.reserve(list.threads.size());
    for (const GitHubNotification &record : list.threads) {
        GHNotification thread = Conversion::toGHNotification(record);
        thread.account.key = key();
        thread.account.canMarkDone = m_canMarkDone;
        threads.append(std::move(thread));
    }
    ThreadMerge::MergeResult result = ThreadMerge::merge(m_items, threads, m_dismissed);
    ThreadMerge::forgetSettled(m_dismissed, threads);
    m_listFetchedAt = askedAt;
    setLastError(std::nullopt);
    m_details.annotate(result.merged);
    setItems(std::move(result.merged));
    if (!result.newThreads.isEmpty() && result.hadPrevious)
        emit newThreads(result.newThreads);
    m_details.follow(list.threads, pacingKey(), credentials());
}

void AccountSession::scheduleNextPoll()
{
    if (m_stopped)
        return;
    std::chrono::milliseconds delay = std::chrono::seconds(Preferences::refreshInterval());
    if (const auto asked = RequestPacing::pollInterval(pacingKey()))
        delay = std::max<std::chrono::milliseconds>(delay, *asked);
    if (const auto until = RequestPacing::pausedUntil(pacingKey()))
        delay = std::max(delay, std::chrono::milliseconds(QDateTime::currentDateTimeUtc().msecsTo(*until)));
    m_pollTimer.start(std::min(delay, std::chrono::milliseconds(std::numeric_limits<int>::max())));
}

void AccountSession::setLastError(std::optional<QString> message)
{
    if (message == m_lastError)
        return;
    m_lastError = std::move(message);
    emit lastErrorChanged();
}

void AccountSession::setItems(QList<GHNotification> items)
{
    m_items = std::move(items);
    emit itemsChanged();
}

qsizetype AccountSession::indexOf(const QString &id) const
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).id == id)
            return i;
    }
    return -1;
}

void AccountSession::enqueue(const QString &queueKey, std::function<QCoro::Task<std::optional<ClientError>>()> request,
                             std::function<void(const ClientError &)> undo)
{
    QPointer<AccountSession> self(this);
    m_requests.enqueue(queueKey, [self, request = std::move(request), undo = std::move(undo)]() -> QCoro::Task<> {
        if (!self || self->m_stopped)
            co_return;
        const std::optional<ClientError> error = co_await request();
        if (!self || self->m_stopped || !error)
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
    const QUrl url(Conversion::webURL(m_items.at(index), m_host.apiBase(), m_host.webRoot()), QUrl::StrictMode);
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
        id, [this, id] { return GitHubAPIClient::ForAccount::markThreadAsRead(credentials(), id); },
        [this, id](const ClientError &error) {
            m_dismissed.remove(id);
            if (const qsizetype at = indexOf(id); at >= 0) {
                m_items[at].unread = true;
                emit itemsChanged();
            }
            setLastError(userDescription(error));
        });
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
        [this, id, previous] {
            // Not a conditional expression: GCC 12 destroys a task returned through one twice.
            if (previous)
                return GitHubAPIClient::ForAccount::unmuteThread(credentials(), id);
            return GitHubAPIClient::ForAccount::muteThread(credentials(), id);
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
    if (index < 0 || !m_canMarkDone)
        return;
    const GHNotification thread = m_items.takeAt(index);
    m_dismissed.insert(id, {ThreadMerge::Dismissal::Kind::done, thread.updatedAt});
    emit itemsChanged();
    enqueue(
        id, [this, id] { return GitHubAPIClient::ForAccount::markThreadAsDone(credentials(), id); },
        [this, thread, index](const ClientError &error) {
            m_dismissed.remove(thread.id);
            if (indexOf(thread.id) < 0) {
                m_items.insert(std::min(index, m_items.size()), thread);
                emit itemsChanged();
            }
            const auto *apiError = std::get_if<GitHubAPIClient::APIError>(&error);
            if (apiError && apiError->kind() == GitHubAPIClient::APIError::Kind::httpError) {
                // The server has no "done": say so, and stop offering it.
                m_canMarkDone = false;
                for (GHNotification &item : m_items)
                    item.account.canMarkDone = false;
                emit itemsChanged();
                setLastError(tr("%1 cannot mark threads as done (it needs GitHub Enterprise Server 3.13 or later)")
                                 .arg(m_host.name()));
                return;
            }
            setLastError(userDescription(error));
        });
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
    for (GHNotification &thread : m_items) {
        if (!thread.unread || (!repoFullName.isEmpty() && thread.repoFullName() != repoFullName))
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
    // Threads that arrived after the list the user is looking at stay unread.
    const QDateTime lastReadAt = m_listFetchedAt.isValid() ? m_listFetchedAt : QDateTime::currentDateTimeUtc();
    const bool all = repoFullName.isEmpty();
    enqueue(
        QStringLiteral("bulk:") + (all ? QStringLiteral("all") : repoFullName),
        [this, all, owner, repo, lastReadAt] {
            if (all)
                return GitHubAPIClient::ForAccount::markAllAsRead(credentials(), lastReadAt);
            return GitHubAPIClient::ForAccount::markRepositoryAsRead(credentials(), owner, repo, lastReadAt);
        },
        [this, marked](const ClientError &error) {
            for (const QString &id : marked)
                m_dismissed.remove(id);
            for (GHNotification &thread : m_items) {
                if (marked.contains(thread.id))
                    thread.unread = true;
            }
            emit itemsChanged();
            setLastError(userDescription(error));
        });
}
