#include "store/NotificationsStore.h"

#include "api/Conversion.h"
#include "api/GitHubAPIClient.h"
#include "credentials/KeychainManager.h"
#include "model/SampleNotifications.h"
#include "platform/NoticeCenter.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"
#include "store/ThreadMerge.h"

#include <QPointer>

#include <chrono>
#include <limits>

namespace {

// QTimer counts in int milliseconds; longer periods are cut to what fits.
std::chrono::milliseconds timerPeriod(int seconds)
{
    constexpr int maxSeconds = std::numeric_limits<int>::max() / 1000;
    return std::chrono::seconds(std::min(seconds, maxSeconds));
}

} // namespace

NotificationsStore::NotificationsStore(QObject *parent) : QObject(parent)
{
    m_countdownTimer.setInterval(std::chrono::seconds(1));
    connect(&m_countdownTimer, &QTimer::timeout, this, &NotificationsStore::countDown);
    connect(&m_refreshTimer, &QTimer::timeout, this, &NotificationsStore::requestRefresh);
    for (auto changed : {&NotificationsStore::itemsChanged, &NotificationsStore::searchTextChanged,
                         &NotificationsStore::unreadOnlyChanged})
        connect(this, changed, this, &NotificationsStore::filteredItemsChanged);

    if (KeychainManager::hasToken())
        QTimer::singleShot(0, this, &NotificationsStore::requestRefresh);
    else
        m_items = sampleNotifications();

    NoticeCenter::instance().observe(QString::fromLatin1(Notices::refreshIntervalChanged), this,
                                     [this](const QVariant &) { startTimers(); });

    if (KeychainManager::hasToken())
        startTimers();
}

NotificationsStore::~NotificationsStore()
{
    stopTimers();
}

void NotificationsStore::setSearchText(const QString &text)
{
    if (text == m_searchText)
        return;
    m_searchText = text;
    emit searchTextChanged();
}

void NotificationsStore::setUnreadOnly(bool unreadOnly)
{
    if (unreadOnly == m_unreadOnly)
        return;
    m_unreadOnly = unreadOnly;
    emit unreadOnlyChanged();
}

int NotificationsStore::unreadCount() const
{
    return int(ThreadMerge::unreadCount(m_items));
}

QList<GHNotification> NotificationsStore::filteredItems() const
{
    return ThreadMerge::filterAndSort(m_items, m_searchText, m_unreadOnly);
}

int NotificationsStore::currentRefreshInterval()
{
    return Preferences::refreshInterval();
}

QCoro::Task<> NotificationsStore::refresh()
{
    if (m_isRefreshing)
        co_return;
    if (!KeychainManager::hasToken()) {
        setLastError(QStringLiteral("No token available. Please configure in Settings."));
        co_return;
    }
    setRefreshing(true);
    setLastError(std::nullopt);

    // The store may be destroyed while the request is out.
    QPointer<NotificationsStore> self(this);
    const auto fetched = co_await GitHubAPIClient::fetchNotifications(true, 100);
    if (!self)
        co_return;

    if (const auto *error = std::get_if<ClientError>(&fetched)) {
        setLastError(userDescription(*error));
        setRefreshing(false);
        setSecondsUntilRefresh(currentRefreshInterval());
        co_return;
    }

    QList<GHNotification> threads;
    const auto &records = std::get<QList<GitHubNotification>>(fetched);
    threads.reserve(records.size());
    for (const GitHubNotification &record : records)
        threads.append(Conversion::toGHNotification(record));

    ThreadMerge::MergeResult result = ThreadMerge::merge(m_items, threads);
    if (!result.newThreads.isEmpty() && result.hadPrevious)
        notifyNewNotifications(result.newThreads);
    setItems(std::move(result.merged));
    setRefreshing(false);
    setSecondsUntilRefresh(currentRefreshInterval());
}

void NotificationsStore::requestRefresh()
{
    refresh();
}

void NotificationsStore::dismissError()
{
    setLastError(std::nullopt);
}

void NotificationsStore::startTimers()
{
    stopTimers();
    setSecondsUntilRefresh(currentRefreshInterval());
    m_countdownTimer.start();
    m_refreshTimer.start(timerPeriod(currentRefreshInterval()));
}

void NotificationsStore::stopTimers()
{
    m_refreshTimer.stop();
    m_countdownTimer.stop();
}

void NotificationsStore::countDown()
{
    if (m_secondsUntilRefresh >= 1)
        setSecondsUntilRefresh(m_secondsUntilRefresh - 1);
}

void NotificationsStore::setItems(QList<GHNotification> items)
{
    m_items = std::move(items);
    emit itemsChanged();
}

void NotificationsStore::setRefreshing(bool refreshing)
{
    if (refreshing == m_isRefreshing)
        return;
    m_isRefreshing = refreshing;
    emit isRefreshingChanged();
}

void NotificationsStore::setLastError(std::optional<QString> message)
{
    if (message == m_lastError)
        return;
    m_lastError = std::move(message);
    emit lastErrorChanged();
}

void NotificationsStore::setSecondsUntilRefresh(int seconds)
{
    if (seconds == m_secondsUntilRefresh)
        return;
    m_secondsUntilRefresh = seconds;
    emit secondsUntilRefreshChanged();
}
