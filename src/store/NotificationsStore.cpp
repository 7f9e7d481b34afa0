#include "store/NotificationsStore.h"

#include "model/SampleNotifications.h"
#include "platform/NoticeCenter.h"
#include "settings/Preferences.h"
#include "store/ThreadMerge.h"

#include <utility>
#include <vector>

NotificationsStore::NotificationsStore(QObject *parent) : QObject(parent)
{
    connect(&m_accounts, &AccountSessions::itemsChanged, this, &NotificationsStore::mergeItems);
    connect(&m_accounts, &AccountSessions::errorsChanged, this, &NotificationsStore::lastErrorChanged);
    connect(&m_accounts, &AccountSessions::stateChanged, this, &NotificationsStore::followSessions);
    connect(&m_accounts, &AccountSessions::listed, this, &NotificationsStore::settleAndAlert);
    // Nothing of a removed account is kept, its snoozes included.
    connect(&m_accounts, &AccountSessions::removed, this,
            [this](const QString &accountKey) { m_snoozes.settle({}, accountKey); });
    // A refresh asked for while no account has a token says so.
    connect(&m_accounts, &AccountSessions::refreshedWithoutToken, this, [this] {
        if (m_accounts.tokenStatus() == TokenState::Status::Missing)
            setLastError(tr("No token available. Please configure in Settings."));
    });
    for (auto changed : {&NotificationsStore::itemsChanged, &NotificationsStore::searchTextChanged,
                         &NotificationsStore::unreadOnlyChanged})
        connect(this, changed, this, &NotificationsStore::filteredItemsChanged);

    // Rules and snoozes change what is listed and counted.
    NoticeCenter::instance().observe(QString::fromLatin1(AlertRules::changedNotice), this,
                                     [this](const QVariant &) { emit itemsChanged(); });
    connect(&m_snoozes, &Snoozes::changed, this, &NotificationsStore::itemsChanged);
    connect(&m_snoozes, &Snoozes::returned, this, [this](const QStringList &keys) { alertAgain(keys, false); });
    connect(&m_quietHours, &QuietHours::ended, this, [this](const QStringList &keys) { alertAgain(keys, true); });

    followSessions();
    mergeItems();
    // Starting Quillfen is the user's doing: the one prompt it may show.
    m_accounts.first().start(KeychainManager::Prompt::allowed);
}

NotificationsStore::~NotificationsStore() = default;

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

void NotificationsStore::mergeItems()
{
    // The samples only while no account has a token.
    m_allItems = m_tokenStatus == TokenState::Status::Missing ? sampleNotifications() : m_accounts.merged();
    emit itemsChanged();
}

void NotificationsStore::followSessions()
{
    const QList<AccountSession *> sessions = m_accounts.all();
    const TokenState::Status status = m_accounts.tokenStatus();
    if (status != m_tokenStatus) {
        const bool samplesChange =
            (status == TokenState::Status::Missing) != (m_tokenStatus == TokenState::Status::Missing);
        m_tokenStatus = status;
        if (status != TokenState::Status::Missing)
            setLastError(std::nullopt);
        emit tokenStatusChanged();
        if (samplesChange)
            mergeItems();
    }
    const bool refreshing = std::any_of(sessions.cbegin(), sessions.cend(),
                                        [](const AccountSession *session) { return session->isRefreshing(); });
    if (refreshing != m_isRefreshing) {
        m_isRefreshing = refreshing;
        emit isRefreshingChanged();
    }
    // The soonest poll of the accounts that poll; the first account's
    // countdown while none does.
    int seconds = m_accounts.first().secondsUntilRefresh();
    bool polling = false;
    for (const AccountSession *session : sessions) {
        if (!session->timersRunning())
            continue;
        seconds = polling ? std::min(seconds, session->secondsUntilRefresh()) : session->secondsUntilRefresh();
        polling = true;
    }
    if (seconds != m_secondsUntilRefresh) {
        m_secondsUntilRefresh = seconds;
        emit secondsUntilRefreshChanged();
    }
}

int NotificationsStore::unreadCount() const
{
    return int(std::count_if(m_allItems.cbegin(), m_allItems.cend(),
                             [&](const GHNotification &thread) { return thread.unread && isListed(thread); }));
}

QList<std::pair<QString, int>> NotificationsStore::unreadByAccount() const
{
    QList<std::pair<QString, int>> counts;
    if (m_accounts.isEmpty())
        return counts;
    for (const AccountSession *session : m_accounts.all()) {
        const QString account = session->key();
        counts.append(
            {session->label(), int(std::count_if(m_allItems.cbegin(), m_allItems.cend(), [&](const auto &thread) {
                 return thread.account.key == account && thread.unread && isListed(thread);
             }))});
    }
    return counts;
}

QList<GHNotification> NotificationsStore::filteredItems() const
{
    QList<GHNotification> listed = m_allItems;
    listed.removeIf([&](const GHNotification &thread) { return !isListed(thread); });
    return ThreadMerge::filterAndSort(listed, m_searchText, m_unreadOnly);
}

std::optional<QString> NotificationsStore::lastError() const
{
    return m_lastError ? m_lastError : m_accounts.first().lastError();
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
    return AlertRules::actionFor(AlertRules::current().rules, thread, thread.host());
}

bool NotificationsStore::isListed(const GHNotification &thread) const
{
    return ruleAction(thread) != AlertRules::Action::hide && !m_snoozes.isSnoozed(thread);
}

int NotificationsStore::currentRefreshInterval()
{
    return Preferences::refreshInterval();
}

QCoro::Task<> NotificationsStore::refresh(AccountSession::Fetch why)
{
    std::vector<QCoro::Task<>> refreshes;
    for (AccountSession *session : m_accounts.all())
        refreshes.push_back(session->refresh(why));
    for (QCoro::Task<> &refreshing : refreshes)
        co_await std::move(refreshing);
}

bool NotificationsStore::timersRunning() const
{
    const QList<AccountSession *> sessions = m_accounts.all();
    return std::any_of(sessions.cbegin(), sessions.cend(),
                       [](const AccountSession *session) { return session->timersRunning(); });
}

void NotificationsStore::stopTimers()
{
    for (AccountSession *session : m_accounts.all())
        session->stopTimers();
}

void NotificationsStore::requestRefresh()
{
    refresh(AccountSession::Fetch::asked);
}

void NotificationsStore::viewOpened()
{
    // Only lists there are: an account without a token has nothing to say.
    for (AccountSession *session : m_accounts.all()) {
        if (session->hasToken())
            session->refresh(AccountSession::Fetch::viewOpened);
    }
}

void NotificationsStore::recheckToken()
{
    m_accounts.first().recheckToken();
}

void NotificationsStore::unlockKeyring()
{
    // One prompt, for the first account whose token waits on it: the others
    // hear of the unlock and read theirs again. An Enterprise-only user's
    // first account has no item to prompt for.
    const QList<AccountSession *> sessions = m_accounts.all();
    const auto locked = std::find_if(sessions.cbegin(), sessions.cend(), [](const AccountSession *session) {
        return session->tokenStatus() == TokenState::Status::Locked;
    });
    (locked != sessions.cend() ? **locked : m_accounts.first()).recheckToken(KeychainManager::Prompt::allowed);
}

void NotificationsStore::dismissError()
{
    for (AccountSession *session : m_accounts.all())
        session->dismissError();
    setLastError(std::nullopt);
}

void NotificationsStore::setLastError(std::optional<QString> message)
{
    if (message == m_lastError)
        return;
    m_lastError = std::move(message);
    emit lastErrorChanged();
}
