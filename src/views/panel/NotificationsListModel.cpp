#include "views/panel/NotificationsListModel.h"

#include "store/ThreadMerge.h"
#include "views/panel/RowText.h"

#include <array>

namespace {

constexpr std::array<std::pair<ThreadMerge::StateFilter, SubjectState>, 4> stateChoices{{
    {ThreadMerge::StateFilter::open, SubjectState::open},
    {ThreadMerge::StateFilter::merged, SubjectState::merged},
    {ThreadMerge::StateFilter::closed, SubjectState::closed},
    {ThreadMerge::StateFilter::draft, SubjectState::draft},
}};

} // namespace

NotificationsListModel::NotificationsListModel(QObject *parent) : QObject(parent)
{
}

void NotificationsListModel::setStore(NotificationsStore *store)
{
    if (store == m_store)
        return;
    if (m_store)
        m_store->disconnect(this);
    m_store = store;
    if (m_store) {
        connect(m_store, &NotificationsStore::itemsChanged, this, &NotificationsListModel::rebuild);
        connect(&m_store->accounts(), &AccountSessions::accountsChanged, this, [this] {
            m_account.reset();
            rebuild();
            emit accountNamesChanged();
            emit filterChanged();
        });
    }
    rebuild();
    emit storeChanged();
}

void NotificationsListModel::setSearchText(const QString &text)
{
    if (text == m_filter.searchText)
        return;
    m_filter.searchText = text;
    rebuild();
    emit filterChanged();
}

void NotificationsListModel::setShowUnreadOnly(bool unreadOnly)
{
    if (unreadOnly == m_filter.unreadOnly)
        return;
    m_filter.unreadOnly = unreadOnly;
    rebuild();
    emit filterChanged();
}

int NotificationsListModel::selectedReason() const
{
    return m_filter.reason ? int(*m_filter.reason) : -1;
}

void NotificationsListModel::setSelectedReason(int index)
{
    const auto &all = NotificationReasons::allCases();
    std::optional<NotificationReason> reason;
    if (index >= 0 && std::size_t(index) < all.size())
        reason = all[std::size_t(index)];
    if (reason == m_filter.reason)
        return;
    m_filter.reason = reason;
    rebuild();
    emit filterChanged();
}

QString NotificationsListModel::reasonLabel() const
{
    return m_filter.reason ? NotificationReasons::displayName(*m_filter.reason) : tr("Any Reason");
}

QStringList NotificationsListModel::reasonNames() const
{
    QStringList names;
    for (NotificationReason reason : NotificationReasons::allCases())
        names << NotificationReasons::displayName(reason);
    return names;
}

int NotificationsListModel::selectedState() const
{
    return m_filter.details.state ? int(*m_filter.details.state) : -1;
}

void NotificationsListModel::setSelectedState(int index)
{
    std::optional<ThreadMerge::StateFilter> state;
    if (index >= 0 && std::size_t(index) < stateChoices.size())
        state = stateChoices[std::size_t(index)].first;
    if (state == m_filter.details.state)
        return;
    m_filter.details.state = state;
    rebuild();
    emit filterChanged();
}

QString NotificationsListModel::stateLabel() const
{
    return m_filter.details.state ? stateNames().at(selectedState()) : tr("Any State");
}

QStringList NotificationsListModel::stateNames() const
{
    QStringList names;
    for (const auto &choice : stateChoices)
        names << RowText::stateWord(choice.second);
    return names;
}

void NotificationsListModel::setHideBotActivity(bool hide)
{
    if (hide == m_filter.details.hideBotActivity)
        return;
    m_filter.details.hideBotActivity = hide;
    rebuild();
    emit filterChanged();
}

void NotificationsListModel::setGroupByRepo(bool group)
{
    if (group == m_groupByRepo)
        return;
    m_groupByRepo = group;
    rebuild();
    emit groupByRepoChanged();
}

QStringList NotificationsListModel::collapsedRepos() const
{
    QStringList keys(m_collapsed.begin(), m_collapsed.end());
    keys.sort();
    return keys;
}

void NotificationsListModel::toggleCollapsed(const QString &key)
{
    // A key stays collapsed while its group is filtered away.
    if (!m_collapsed.remove(key))
        m_collapsed.insert(key);
    rebuild();
    emit collapsedReposChanged();
}

void NotificationsListModel::setShowHidden(bool show)
{
    if (show == m_showHidden)
        return;
    m_showHidden = show;
    rebuild();
    emit filterChanged();
}

QStringList NotificationsListModel::accountNames() const
{
    if (!m_store || m_store->accounts().isEmpty())
        return {};
    QStringList names{QStringLiteral("github.com")};
    for (const auto &session : m_store->accounts().sessions())
        names.append(session->label());
    return names;
}

int NotificationsListModel::selectedAccount() const
{
    if (!m_store || !m_account)
        return -1;
    if (m_account->isEmpty())
        return 0;
    const auto &sessions = m_store->accounts().sessions();
    for (std::size_t i = 0; i < sessions.size(); ++i) {
        if (sessions[i]->key() == *m_account)
            return int(i) + 1;
    }
    return -1;
}

void NotificationsListModel::setSelectedAccount(int index)
{
    std::optional<QString> account;
    if (m_store && index == 0)
        account = QString();
    else if (m_store && index > 0 && std::size_t(index) <= m_store->accounts().sessions().size())
        account = m_store->accounts().sessions()[std::size_t(index) - 1]->key();
    if (account == m_account)
        return;
    m_account = account;
    rebuild();
    emit filterChanged();
}

void NotificationsListModel::setShowSnoozed(bool show)
{
    if (show == m_showSnoozed)
        return;
    m_showSnoozed = show;
    rebuild();
    emit filterChanged();
}

QList<GHNotification> NotificationsListModel::shownThreads() const
{
    if (!m_store)
        return {};
    QList<GHNotification> threads = m_store->items();
    threads.removeIf([this](const GHNotification &thread) {
        if (m_store->isSnoozed(thread) != m_showSnoozed)
            return true;
        return !m_showHidden && m_store->ruleAction(thread) == AlertRules::Action::hide;
    });
    return threads;
}

QString NotificationsListModel::accountLabel() const
{
    const int index = selectedAccount();
    return index < 0 ? tr("All Accounts") : accountNames().value(index);
}

void NotificationsListModel::markAllAsRead()
{
    if (!m_store)
        return;
    if (m_account)
        m_store->markAccountAsRead(*m_account);
    else
        m_store->markAllAsRead();
}

void NotificationsListModel::markRepositoryAsRead(const QString &repoFullName)
{
    if (m_store)
        m_store->markRepositoryAsRead(repoFullName, m_account);
}

void NotificationsListModel::rebuild()
{
    QList<GHNotification> items = ThreadMerge::matching(shownThreads(), m_filter.searchText, m_filter.unreadOnly,
                                                        m_filter.reason, m_filter.details);
    if (m_account)
        items.removeIf([this](const GHNotification &thread) { return thread.account.key != *m_account; });
    QList<NotificationEntryModel::Entry> entries;
    QVariantMap counts;
    if (m_groupByRepo) {
        for (const ListGrouping::RepoGroup &group : ListGrouping::groupedByRepository(items)) {
            counts.insert(group.key, int(group.items.size()));
            if (m_collapsed.contains(group.key)) {
                entries.append({group.items.constFirst(), group.key, true, m_showSnoozed});
                continue;
            }
            for (const GHNotification &item : group.items)
                entries.append({item, group.key, false, m_showSnoozed});
        }
    } else {
        for (const GHNotification &item : ListGrouping::newestFirst(items))
            entries.append({item, QString(), false, m_showSnoozed});
    }
    m_rows.setEntries(std::move(entries));
    if (counts != m_groupCounts) {
        m_groupCounts = counts;
        emit groupCountsChanged();
    }
}
