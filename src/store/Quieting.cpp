// The store's side of rules, snoozes and quiet hours.

#include "store/NotificationsStore.h"

void NotificationsStore::snooze(const QString &key, int length)
{
    if (length < int(Snoozes::Length::hour) || length > int(Snoozes::Length::untilUpdated))
        return;
    const auto thread = std::find_if(m_allItems.cbegin(), m_allItems.cend(),
                                     [&key](const GHNotification &listed) { return listed.key() == key; });
    if (thread != m_allItems.cend())
        m_snoozes.snooze(*thread, Snoozes::Length(length));
}

void NotificationsStore::unsnooze(const QString &key)
{
    m_snoozes.unsnooze(key);
}

void NotificationsStore::muteRepositoryAlerts(const QString &key)
{
    addRepositoryRule(key, AlertRules::Action::silent);
}

void NotificationsStore::hideRepository(const QString &key)
{
    addRepositoryRule(key, AlertRules::Action::hide);
}

void NotificationsStore::addRepositoryRule(const QString &key, AlertRules::Action action)
{
    const auto thread = std::find_if(m_allItems.cbegin(), m_allItems.cend(),
                                     [&key](const GHNotification &listed) { return listed.key() == key; });
    if (thread == m_allItems.cend())
        return;
    // With one account a rule keeps meaning every host, as it always did.
    std::optional<QString> host;
    if (!m_accounts.isEmpty())
        host = thread->host();
    AlertRules::addRepositoryRule(thread->repoFullName(), action, host);
}

void NotificationsStore::alertAgain(const QStringList &keys, bool heldWhileQuiet)
{
    QList<GHNotification> threads;
    for (const GHNotification &thread : std::as_const(m_allItems)) {
        if (keys.contains(thread.key()) && thread.unread && isListed(thread))
            threads.append(thread);
    }
    // Held alerts were sifted by the rules already; rules may have changed since.
    if (heldWhileQuiet) {
        threads.removeIf(
            [this](const GHNotification &thread) { return ruleAction(thread) != AlertRules::Action::show; });
        postAlert(threads);
    } else {
        notifyNewNotifications(threads);
    }
}
