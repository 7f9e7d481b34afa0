#include "store/AccountSession.h"

#include "api/Conversion.h"
#include "api/RequestPacing.h"
#include "credentials/AccountTokens.h"
#include "platform/NoticeCenter.h"
#include "platform/SystemEvents.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"

#include <QPointer>
#include <QSet>
#include <QVersionNumber>

#include <limits>

namespace {

// Twice the most a list brings: what a capped list keeps of earlier ones.
constexpr qsizetype maxKeptThreads = 1000;

// QTimer counts in int milliseconds; longer periods are cut to what fits.
std::chrono::milliseconds timerPeriod(std::chrono::milliseconds period)
{
    return std::clamp(period, std::chrono::milliseconds(0), std::chrono::milliseconds(std::numeric_limits<int>::max()));
}

// "Done" came with GitHub Enterprise Server 3.13; github.com sends no version.
bool hasDone(const QByteArray &enterpriseVersion)
{
    if (enterpriseVersion.isEmpty())
        return true;
    const QVersionNumber version = QVersionNumber::fromString(QString::fromLatin1(enterpriseVersion));
    return version.isNull() || version >= QVersionNumber(3, 13);
}

} // namespace

std::unique_ptr<AccountSession> AccountSession::first()
{
    return std::make_unique<AccountSession>(*AccountHost::parse(QStringLiteral("github.com")), QString(),
                                            AccountCredential::first());
}

AccountSession::AccountSession(AccountHost host, QString login, std::unique_ptr<AccountCredential> credential,
                               QObject *parent)
    : QObject(parent), m_host(std::move(host)), m_login(std::move(login)), m_credential(std::move(credential)),
      m_details(SubjectDetailsCache::defaultPath(key()))
{
    connect(m_credential.get(), &AccountCredential::answered, this, &AccountSession::followCredential);
    connect(m_credential.get(), &AccountCredential::replaced, this, [this] {
        if (m_stopped)
            return;
        if (m_credential->status() == TokenState::Status::Stored)
            startSession();
        else
            endSession();
    });
    connect(&m_details, &SubjectDetailsFetcher::detailsChanged, this, [this] {
        QList<GHNotification> items = m_items;
        m_details.annotate(items);
        if (items != m_items)
            setItems(std::move(items));
    });
    m_countdownTimer.setInterval(std::chrono::seconds(1));
    connect(&m_countdownTimer, &QTimer::timeout, this, &AccountSession::updateCountdown);
    m_refreshTimer.setSingleShot(true);
    // The countdown promises the moment: a coarse timer may run 5% late.
    m_refreshTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_refreshTimer, &QTimer::timeout, this, [this] { refresh(Fetch::timed); });
    m_tokenRetry.setSingleShot(true);
    connect(&m_tokenRetry, &QTimer::timeout, this, [this] { recheckToken(); });
    connect(&SystemEvents::shared(), &SystemEvents::resumed, this, &AccountSession::pollSoon);
    connect(&SystemEvents::shared(), &SystemEvents::networkReachable, this, &AccountSession::pollSoon);
    // A new interval starts the timers, with or without a token: their
    // ticks then say again that none is stored.
    NoticeCenter::instance().observe(QString::fromLatin1(Notices::refreshIntervalChanged), this,
                                     [this](const QVariant &) {
                                         if (!m_stopped)
                                             startTimers();
                                     });
    // Another list: what GitHub said of the one held does not apply to it.
    NoticeCenter::instance().observe(QString::fromLatin1(Notices::participatingOnlyChanged), this,
                                     [this](const QVariant &) { refresh(Fetch::asked); });
}

AccountSession::~AccountSession()
{
    stopTimers();
}

QString AccountSession::label() const
{
    if (isFirst())
        return QStringLiteral("github.com");
    return m_host.isGitHubCom() ? m_login : m_login + u'@' + m_host.name();
}

void AccountSession::start(KeychainManager::Prompt prompt)
{
    m_stopped = false;
    recheckToken(prompt);
}

void AccountSession::stop()
{
    endSession();
    m_stopped = true;
    m_details.discard();
    setLastError(std::nullopt);
}

void AccountSession::recheckToken(KeychainManager::Prompt prompt)
{
    if (!m_stopped)
        m_credential->read(prompt);
}

void AccountSession::followCredential()
{
    if (m_stopped)
        return;
    switch (m_credential->status()) {
    case TokenState::Status::Stored: {
        const QByteArray digest = KeychainManager::tokenDigest(m_credential->token().value_or(QString()));
        if (m_tokenStatus == TokenState::Status::Stored && digest == m_digest)
            break;
        if (suspended() && digest == m_digest)
            resumeSession();
        else
            startSession();
        break;
    }
    case TokenState::Status::Missing:
        if (m_tokenStatus != TokenState::Status::Missing)
            endSession();
        break;
    case TokenState::Status::Unavailable:
        suspendSession(TokenState::Status::Unavailable, m_credential->errorDescription());
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

void AccountSession::startSession()
{
    // Never another token's threads as this token's: the first fetch goes
    // into an empty list, so it raises no alert.
    ++m_session;
    ++m_fetchGeneration;
    m_token = m_credential->token().value_or(QString());
    m_digest = KeychainManager::tokenDigest(m_token);
    m_dismissed.clear();
    m_details.stop();
    m_doneRefused = false;
    m_tokenRetry.stop();
    setTokenStatus(TokenState::Status::Stored);
    setRefreshing(false);
    setLastError(std::nullopt);
    setItems({});
    m_listFetchedAt = {};
    m_freshness.reset();
    m_seenDownTo = std::nullopt;
    m_requests.setHeld(false);
    startTimers();
    refresh(Fetch::asked);
}

void AccountSession::endSession()
{
    ++m_session;
    ++m_fetchGeneration;
    if (!m_token.isEmpty())
        GitHubAPIClient::forgetAnswers(access());
    m_token.clear();
    m_digest.clear();
    m_dismissed.clear();
    m_details.stop();
    // Released to be dropped: a request of an ended session is never sent.
    m_requests.setHeld(false);
    m_tokenRetry.stop();
    stopTimers();
    setTokenStatus(TokenState::Status::Missing);
    setRefreshing(false);
    setLastError(m_credential->missingDescription());
    setSecondsUntilRefresh(0);
    m_listFetchedAt = {};
    m_freshness.reset();
    m_seenDownTo = std::nullopt;
    setItems({});
}

void AccountSession::suspendSession(TokenState::Status status, const std::optional<QString> &reason)
{
    ++m_fetchGeneration;
    m_requests.setHeld(true);
    stopTimers();
    setTokenStatus(status);
    setRefreshing(false);
    setSecondsUntilRefresh(0);
    setLastError(reason);
    m_tokenRetry.start(timerPeriod(std::chrono::seconds(Preferences::refreshInterval())));
}

void AccountSession::resumeSession()
{
    m_tokenRetry.stop();
    setTokenStatus(TokenState::Status::Stored);
    setLastError(std::nullopt);
    m_requests.setHeld(false);
    startTimers();
    refresh(Fetch::reconnected);
}

bool AccountSession::suspended() const
{
    return m_tokenStatus == TokenState::Status::Unavailable || m_tokenStatus == TokenState::Status::Locked;
}

QDateTime AccountSession::earliestFetch() const
{
    QDateTime earliest;
    if (const auto interval = RequestPacing::pollInterval(m_digest); interval && m_lastPoll.isValid())
        earliest = m_lastPoll.addSecs(interval->count());
    if (const auto until = RequestPacing::pausedUntil(m_digest); until && (!earliest.isValid() || *until > earliest))
        earliest = *until;
    return earliest.isValid() && earliest > QDateTime::currentDateTimeUtc() ? earliest : QDateTime();
}

QCoro::Task<> AccountSession::refresh(Fetch why)
{
    if (m_stopped)
        co_return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!m_freshness.wantsFetch(why, now))
        co_return;
    const bool whole = m_freshness.wantsWhole(why, now);
    // A whole list the user (or a view, or a reconnection) asked for is owed
    // until it goes out; a timed poll that cannot go now simply comes later.
    const auto owe = [this, whole, why] {
        if (whole && why != Fetch::timed)
            m_freshness.owe();
    };
    if (m_isRefreshing) {
        // The list on its way may be a revalidated copy: the whole one follows.
        owe();
        co_return;
    }
    if (m_tokenStatus == TokenState::Status::Checking) {
        m_refreshAfterTokenCheck = true;
        co_return;
    }
    if (m_tokenStatus == TokenState::Status::Missing) {
        setLastError(m_credential->missingDescription());
        emit refreshedWithoutToken();
        co_return;
    }
    // While the secret store is locked or failing there is nothing to send.
    if (m_tokenStatus != TokenState::Status::Stored)
        co_return;
    if (const QDateTime earliest = earliestFetch(); earliest.isValid()) {
        owe();
        if (m_polling || why != Fetch::timed) {
            const std::chrono::milliseconds wait(now.msecsTo(earliest));
            if (!m_refreshTimer.isActive() || m_refreshTimer.remainingTimeAsDuration() > wait)
                m_refreshTimer.start(timerPeriod(wait));
            updateCountdown();
        }
        co_return;
    }
    setRefreshing(true);
    setLastError(std::nullopt);
    m_freshness.sent();

    // The session may be destroyed, or its token change, while the request is out.
    QPointer<AccountSession> self(this);
    const quint64 generation = m_fetchGeneration;
    m_lastPoll = QDateTime::currentDateTimeUtc();
    const QDateTime askedAt = m_lastPoll;
    // Named before it is awaited: GCC 12 destroys some temporaries of a
    // co_await expression twice.
    auto fetching = GitHubAPIClient::fetchNotifications(access(), true, 50, Preferences::participatingOnly(),
                                                        whole ? GitHubAPIClient::ListRequest::whole
                                                              : GitHubAPIClient::ListRequest::revalidated);
    const auto fetched = co_await std::move(fetching);
    if (!self || generation != m_fetchGeneration)
        co_return;

    if (const auto *error = std::get_if<ClientError>(&fetched)) {
        // While GitHub's pause lasts, the line says until when Quillfen waits.
        const auto until = RequestPacing::pausedUntil(m_digest);
        setLastError(userDescription(until ? ClientError(GitHubAPIClient::APIError::paused(*until)) : *error));
        setRefreshing(false);
        scheduleNextPoll();
        co_return;
    }

    const GitHubAPIClient::NotificationList &list = std::get<GitHubAPIClient::NotificationList>(fetched);
    m_enterpriseWithoutDone = !hasDone(list.enterpriseVersion);
    if (!list.current) {
        // Nothing new on GitHub's side since the list shown.
        m_listFetchedAt = askedAt;
        setRefreshing(false);
        scheduleNextPoll();
        co_return;
    }
    const bool canMarkDone = !m_enterpriseWithoutDone && !m_doneRefused;
    QList<GHNotification> threads;
    threads.reserve(list.threads.size());
    for (const GitHubNotification &record : list.threads) {
        GHNotification thread = Conversion::toGHNotification(record);
        thread.account.key = key();
        thread.account.canMarkDone = canMarkDone;
        threads.append(std::move(thread));
    }
    // A list that stopped early, or at the page cap, is the newest part of
    // the list: the rest is kept as it was, dismissals included, until a
    // whole list says otherwise. Past the cap, the oldest kept go first.
    using Paging = GitHubAPIClient::NotificationList::Paging;
    const bool partial = list.paging != Paging::whole;
    ThreadMerge::MergeResult result =
        ThreadMerge::merge(m_items, threads, m_dismissed, {.partial = partial, .seenDownTo = m_seenDownTo});
    ThreadMerge::forgetSettled(m_dismissed, threads, partial);
    if (result.merged.size() > maxKeptThreads) {
        result.merged.resize(maxKeptThreads);
        QSet<QString> known;
        for (const QList<GHNotification> *list : {&threads, &result.merged}) {
            for (const GHNotification &thread : *list)
                known.insert(thread.id);
        }
        m_dismissed.removeIf([&known](const auto &entry) { return !known.contains(entry.key()); });
    }
    m_seenDownTo = std::nullopt;
    if (list.paging != Paging::whole && !threads.isEmpty())
        m_seenDownTo = std::min_element(threads.cbegin(), threads.cend(), [](const auto &a, const auto &b) {
                           return a.updatedAt < b.updatedAt;
                       })->updatedAt;
    if (list.stoppedBy)
        setLastError(
            tr("Only part of the list arrived, the rest is as it was: %1").arg(userDescription(*list.stoppedBy)));
    m_details.annotate(result.merged);
    setItems(std::move(result.merged));
    // An empty list before is a list all the same: what comes next is news.
    const bool hadPrevious = m_listFetchedAt.isValid();
    m_listFetchedAt = askedAt;
    m_freshness.arrived(askedAt, list.paging != Paging::stopped);
    setRefreshing(false);
    scheduleNextPoll();
    emit listed(result.newThreads, hadPrevious);
    m_details.follow(list.threads, m_digest, access());
}

void AccountSession::dismissError()
{
    setLastError(std::nullopt);
}

void AccountSession::startTimers()
{
    m_polling = true;
    m_countdownTimer.start();
    scheduleNextPoll();
}

void AccountSession::stopTimers()
{
    m_polling = false;
    m_refreshTimer.stop();
    m_countdownTimer.stop();
}

std::chrono::milliseconds AccountSession::pollPeriod() const
{
    std::chrono::milliseconds period = std::chrono::seconds(Preferences::refreshInterval());
    if (const auto asked = RequestPacing::pollInterval(m_digest))
        period = std::max<std::chrono::milliseconds>(period, *asked);
    return period;
}

void AccountSession::scheduleNextPoll()
{
    if (!m_polling) {
        setSecondsUntilRefresh(int(std::chrono::duration_cast<std::chrono::seconds>(pollPeriod()).count()));
        return;
    }
    // Never sooner than GitHub asks, nor while it asked for a pause; a whole
    // list the user is waiting for goes out as soon as GitHub lets it.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    // However long the user's interval, the whole list comes every few
    // minutes: what was read on the web shows without a new notification.
    std::chrono::milliseconds delay =
        m_freshness.owed() ? std::chrono::milliseconds(0)
                           : std::min<std::chrono::milliseconds>(pollPeriod(), ListFreshness::wholeAfterPoll);
    if (const QDateTime earliest = earliestFetch(); earliest.isValid())
        delay = std::max(delay, std::chrono::milliseconds(now.msecsTo(earliest)));
    m_refreshTimer.start(timerPeriod(delay));
    updateCountdown();
}

void AccountSession::updateCountdown()
{
    const auto remaining = m_refreshTimer.isActive() ? m_refreshTimer.remainingTime() : 0;
    setSecondsUntilRefresh(int((remaining + 500) / 1000));
}

void AccountSession::pollSoon()
{
    if (m_tokenStatus == TokenState::Status::Stored && m_polling)
        refresh(Fetch::reconnected);
}

void AccountSession::setItems(QList<GHNotification> items)
{
    m_items = std::move(items);
    emit itemsChanged();
}

void AccountSession::setLastError(std::optional<QString> message)
{
    if (message == m_lastError)
        return;
    m_lastError = std::move(message);
    emit lastErrorChanged();
}

void AccountSession::setTokenStatus(TokenState::Status status)
{
    if (status == m_tokenStatus)
        return;
    m_tokenStatus = status;
    emit tokenStatusChanged();
}

void AccountSession::setRefreshing(bool refreshing)
{
    if (refreshing == m_isRefreshing)
        return;
    m_isRefreshing = refreshing;
    emit isRefreshingChanged();
}

void AccountSession::setSecondsUntilRefresh(int seconds)
{
    if (seconds == m_secondsUntilRefresh)
        return;
    m_secondsUntilRefresh = seconds;
    emit secondsUntilRefreshChanged();
}
