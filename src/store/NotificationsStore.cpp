#include "store/NotificationsStore.h"

#include "api/Conversion.h"
#include "api/GitHubAPIClient.h"
#include "api/RequestPacing.h"
#include "model/SampleNotifications.h"
#include "platform/NoticeCenter.h"
#include "platform/SystemEvents.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"
#include "store/ThreadMerge.h"

#include <QPointer>

#include <chrono>
#include <limits>
#include <utility>

namespace {

// QTimer counts in int milliseconds; longer periods are cut to what fits.
std::chrono::milliseconds timerPeriod(std::chrono::milliseconds period)
{
    return std::clamp(period, std::chrono::milliseconds(0), std::chrono::milliseconds(std::numeric_limits<int>::max()));
}

std::chrono::milliseconds timerPeriod(int seconds)
{
    return timerPeriod(std::chrono::seconds(seconds));
}

// The host a rule may name: the first account's is github.com.
QString hostOf(const GHNotification &thread)
{
    return thread.account.key.isEmpty() ? QStringLiteral("github.com") : thread.account.key.section(u'/', 0, 0);
}

} // namespace

NotificationsStore::NotificationsStore(QObject *parent) : QObject(parent)
{
    // First of all: every other observer of itemsChanged reads the merged list.
    connect(this, &NotificationsStore::itemsChanged, this,
            [this] { m_allItems = m_accounts.merged(m_items, QStringLiteral("github.com")); });
    connect(&m_accounts, &AccountSessions::itemsChanged, this, &NotificationsStore::itemsChanged);
    connect(&m_accounts, &AccountSessions::errorsChanged, this, &NotificationsStore::lastErrorChanged);
    connect(&m_accounts, &AccountSessions::newThreads, this, &NotificationsStore::notifyNewNotifications);
    m_allItems = m_accounts.merged(m_items, QStringLiteral("github.com"));
    m_countdownTimer.setInterval(std::chrono::seconds(1));
    connect(&m_countdownTimer, &QTimer::timeout, this, &NotificationsStore::updateCountdown);
    m_refreshTimer.setSingleShot(true);
    // The countdown promises the moment: a coarse timer may run 5% late.
    m_refreshTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_refreshTimer, &QTimer::timeout, this, [this] { refresh(); });
    connect(&SystemEvents::shared(), &SystemEvents::resumed, this, &NotificationsStore::pollSoon);
    connect(&SystemEvents::shared(), &SystemEvents::networkReachable, this, &NotificationsStore::pollSoon);
    for (auto changed : {&NotificationsStore::itemsChanged, &NotificationsStore::searchTextChanged,
                         &NotificationsStore::unreadOnlyChanged})
        connect(this, changed, this, &NotificationsStore::filteredItemsChanged);

    connect(&m_subjectDetails, &SubjectDetailsFetcher::detailsChanged, this, [this] {
        QList<GHNotification> items = m_items;
        m_subjectDetails.annotate(items);
        if (items != m_items)
            setItems(std::move(items));
    });

    NoticeCenter::instance().observe(QString::fromLatin1(Notices::refreshIntervalChanged), this,
                                     [this](const QVariant &) { startTimers(); });
    NoticeCenter::instance().observe(QString::fromLatin1(Notices::participatingOnlyChanged), this,
                                     [this](const QVariant &) { requestRefresh(); });
    // Rules and snoozes change what is listed and counted.
    NoticeCenter::instance().observe(QString::fromLatin1(AlertRules::changedNotice), this,
                                     [this](const QVariant &) { emit itemsChanged(); });
    connect(&m_snoozes, &Snoozes::changed, this, &NotificationsStore::itemsChanged);
    connect(&m_snoozes, &Snoozes::returned, this, [this](const QStringList &keys) { alertAgain(keys, false); });
    connect(&m_quietHours, &QuietHours::ended, this, [this](const QStringList &keys) { alertAgain(keys, true); });

    TokenState &token = TokenState::shared();
    connect(&token, &TokenState::tokenSaved, this, &NotificationsStore::startSession);
    connect(&token, &TokenState::tokenDeleted, this, &NotificationsStore::endSession);
    connect(&token, &TokenState::readFinished, this, &NotificationsStore::followTokenState);
    m_tokenRetry.setSingleShot(true);
    connect(&m_tokenRetry, &QTimer::timeout, &token, [] { TokenState::shared().reload(); });
    // Starting Quillfen is the user's doing: the one prompt it may show.
    token.reload(KeychainManager::Prompt::allowed);
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
    const QList<AlertRules::Rule> rules = AlertRules::current().rules;
    return int(std::count_if(m_allItems.cbegin(), m_allItems.cend(), [&](const GHNotification &thread) {
        return thread.unread && AlertRules::actionFor(rules, thread, hostOf(thread)) != AlertRules::Action::hide
               && !m_snoozes.isSnoozed(thread);
    }));
}

QList<GHNotification> NotificationsStore::filteredItems() const
{
    QList<GHNotification> listed = m_allItems;
    const QList<AlertRules::Rule> rules = AlertRules::current().rules;
    listed.removeIf([&](const GHNotification &thread) {
        return AlertRules::actionFor(rules, thread, hostOf(thread)) == AlertRules::Action::hide
               || m_snoozes.isSnoozed(thread);
    });
    return ThreadMerge::filterAndSort(listed, m_searchText, m_unreadOnly);
}

QString NotificationsStore::lastErrorText() const
{
    QStringList lines = m_accounts.errorLines();
    if (m_lastError)
        lines.prepend(*m_lastError);
    return lines.join(u'\n');
}

AlertRules::Action NotificationsStore::ruleAction(const GHNotification &thread) const
{
    return AlertRules::actionFor(AlertRules::current().rules, thread, hostOf(thread));
}

bool NotificationsStore::isListed(const GHNotification &thread) const
{
    return ruleAction(thread) != AlertRules::Action::hide && !m_snoozes.isSnoozed(thread);
}

int NotificationsStore::currentRefreshInterval()
{
    return Preferences::refreshInterval();
}

void NotificationsStore::followTokenState()
{
    const TokenState &token = TokenState::shared();
    switch (token.status()) {
    case TokenState::Status::Stored:
        if (m_tokenStatus == TokenState::Status::Stored)
            break;
        if (suspended() && !m_sessionDigest.isEmpty() && token.tokenDigest() == m_sessionDigest)
            resumeSession();
        else
            startSession();
        break;
    case TokenState::Status::Missing:
        if (m_tokenStatus != TokenState::Status::Missing)
            endSession();
        break;
    case TokenState::Status::Unavailable:
        suspendSession(TokenState::Status::Unavailable, token.errorDescription());
        break;
    case TokenState::Status::Locked:
        // The views say so and offer to unlock; no error line besides.
        suspendSession(TokenState::Status::Locked, m_lastError);
        break;
    case TokenState::Status::Checking:
        return;
    }
    if (std::exchange(m_refreshAfterTokenCheck, false))
        refresh();
}

void NotificationsStore::startSession()
{
    // Never the samples, nor another account's threads, as this token's:
    // the first fetch goes into an empty list, so it raises no alert.
    ++m_session;
    ++m_fetchGeneration;
    m_sessionDigest = TokenState::shared().tokenDigest();
    m_dismissed.clear();
    m_tokenRetry.stop();
    setTokenStatus(TokenState::Status::Stored);
    setRefreshing(false);
    setLastError(std::nullopt);
    setItems({});
    m_threadRequests.setHeld(false);
    startTimers();
    refresh();
}

void NotificationsStore::endSession()
{
    ++m_session;
    ++m_fetchGeneration;
    m_sessionDigest.clear();
    m_dismissed.clear();
    // Released to be dropped: a request of an ended session is never sent.
    m_threadRequests.setHeld(false);
    m_tokenRetry.stop();
    stopTimers();
    setTokenStatus(TokenState::Status::Missing);
    setRefreshing(false);
    setLastError(std::nullopt);
    setSecondsUntilRefresh(0);
    setItems(sampleNotifications());
}

void NotificationsStore::suspendSession(TokenState::Status status, const std::optional<QString> &reason)
{
    ++m_fetchGeneration;
    m_threadRequests.setHeld(true);
    stopTimers();
    setTokenStatus(status);
    setRefreshing(false);
    setSecondsUntilRefresh(0);
    setLastError(reason);
    m_tokenRetry.start(timerPeriod(currentRefreshInterval()));
}

void NotificationsStore::resumeSession()
{
    m_tokenRetry.stop();
    setTokenStatus(TokenState::Status::Stored);
    setLastError(std::nullopt);
    m_threadRequests.setHeld(false);
    startTimers();
    refresh();
}

bool NotificationsStore::suspended() const
{
    return m_tokenStatus == TokenState::Status::Unavailable || m_tokenStatus == TokenState::Status::Locked;
}

void NotificationsStore::recordDismissal(const GHNotification &thread, ThreadMerge::Dismissal::Kind kind)
{
    m_dismissed.insert(thread.id, {kind, thread.updatedAt});
}

void NotificationsStore::forgetDismissal(const QString &id)
{
    m_dismissed.remove(id);
}

void NotificationsStore::setTokenStatus(TokenState::Status status)
{
    if (status == m_tokenStatus)
        return;
    m_tokenStatus = status;
    emit tokenStatusChanged();
}

QCoro::Task<> NotificationsStore::refresh()
{
    if (m_isRefreshing)
        co_return;
    if (m_tokenStatus == TokenState::Status::Checking) {
        m_refreshAfterTokenCheck = true;
        co_return;
    }
    if (m_tokenStatus == TokenState::Status::Missing)
        setLastError(tr("No token available. Please configure in Settings."));
    // Until the secret store answers, and while it is locked or failing,
    // there is nothing to send.
    if (m_tokenStatus != TokenState::Status::Stored)
        co_return;
    setRefreshing(true);
    setLastError(std::nullopt);

    // The store may be destroyed, or the token saved or deleted, while the
    // request is out.
    QPointer<NotificationsStore> self(this);
    const quint64 generation = m_fetchGeneration;
    m_lastPoll = QDateTime::currentDateTimeUtc();
    const QDateTime askedAt = m_lastPoll;
    const auto fetched = co_await GitHubAPIClient::fetchNotifications(true, 50, Preferences::participatingOnly());
    if (!self || generation != m_fetchGeneration)
        co_return;

    if (const auto *error = std::get_if<ClientError>(&fetched)) {
        setLastError(userDescription(*error));
        setRefreshing(false);
        scheduleNextPoll();
        // The keyring locked or failed since it last answered: it says how.
        if (std::holds_alternative<KeychainManager::KeychainError>(*error))
            TokenState::shared().reload();
        co_return;
    }

    QList<GHNotification> threads;
    const auto &records = std::get<QList<GitHubNotification>>(fetched);
    threads.reserve(records.size());
    for (const GitHubNotification &record : records)
        threads.append(Conversion::toGHNotification(record));

    ThreadMerge::MergeResult result = ThreadMerge::merge(m_items, threads, m_dismissed);
    ThreadMerge::forgetSettled(m_dismissed, threads);
    // Snoozed threads GitHub reports updated come back, and alert as new ones do.
    const QStringList unsnoozed = m_snoozes.settle(result.merged);
    for (const GHNotification &thread : std::as_const(result.merged)) {
        if (thread.unread && unsnoozed.contains(thread.id))
            result.newThreads.append(thread);
    }
    if (!result.newThreads.isEmpty() && result.hadPrevious)
        notifyNewNotifications(result.newThreads);
    m_subjectDetails.annotate(result.merged);
    setItems(std::move(result.merged));
    m_listFetchedAt = askedAt;
    setRefreshing(false);
    scheduleNextPoll();
    m_subjectDetails.follow(records, m_sessionDigest);
}

void NotificationsStore::requestRefresh()
{
    m_accounts.refreshAll();
    refresh();
}

void NotificationsStore::recheckToken()
{
    TokenState::shared().reload();
}

void NotificationsStore::unlockKeyring()
{
    TokenState::shared().reload(KeychainManager::Prompt::allowed);
}

void NotificationsStore::dismissError()
{
    m_accounts.dismissErrors();
    setLastError(std::nullopt);
}

void NotificationsStore::startTimers()
{
    m_polling = true;
    m_countdownTimer.start();
    scheduleNextPoll();
}

void NotificationsStore::stopTimers()
{
    m_polling = false;
    m_refreshTimer.stop();
    m_countdownTimer.stop();
}

std::chrono::milliseconds NotificationsStore::pollPeriod() const
{
    std::chrono::milliseconds period = std::chrono::seconds(currentRefreshInterval());
    if (const auto asked = RequestPacing::pollInterval(m_sessionDigest))
        period = std::max<std::chrono::milliseconds>(period, *asked);
    return period;
}

void NotificationsStore::scheduleNextPoll()
{
    if (!m_polling) {
        setSecondsUntilRefresh(int(std::chrono::duration_cast<std::chrono::seconds>(pollPeriod()).count()));
        return;
    }
    // Never sooner than GitHub asks, nor while it asked for a pause.
    std::chrono::milliseconds delay = pollPeriod();
    if (const auto until = RequestPacing::pausedUntil(m_sessionDigest))
        delay = std::max(delay, std::chrono::milliseconds(QDateTime::currentDateTimeUtc().msecsTo(*until)));
    m_refreshTimer.start(timerPeriod(delay));
    updateCountdown();
}

void NotificationsStore::updateCountdown()
{
    const auto remaining = m_refreshTimer.isActive() ? m_refreshTimer.remainingTime() : 0;
    setSecondsUntilRefresh(int((remaining + 500) / 1000));
}

void NotificationsStore::pollSoon()
{
    if (m_tokenStatus != TokenState::Status::Stored || !m_polling || m_isRefreshing
        || RequestPacing::pausedUntil(m_sessionDigest))
        return;
    const auto asked = RequestPacing::pollInterval(m_sessionDigest);
    if (asked && m_lastPoll.isValid()
        && m_lastPoll.secsTo(QDateTime::currentDateTimeUtc()) < std::chrono::seconds(*asked).count())
        return;
    refresh();
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
