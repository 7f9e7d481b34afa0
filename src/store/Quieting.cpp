// The store's side of rules, snoozes and quiet hours.

#include "store/NotificationsStore.h"

void NotificationsStore::snooze(const QString &id, int length)
{
    const qsizetype index = indexOf(id);
    if (index < 0 || length < int(Snoozes::Length::hour) || length > int(Snoozes::Length::untilUpdated))
        return;
    m_snoozes.snooze(m_items.at(index), Snoozes::Length(length));
}

void NotificationsStore::unsnooze(const QString &id)
{
    m_snoozes.unsnooze(id);
}

void NotificationsStore::muteRepositoryAlerts(const QString &repoFullName)
{
    AlertRules::addRepositoryRule(repoFullName, AlertRules::Action::silent);
}

void NotificationsStore::hideRepository(const QString &repoFullName)
{
    AlertRules::addRepositoryRule(repoFullName, AlertRules::Action::hide);
}

void NotificationsStore::alertAgain(const QStringList &ids, bool heldWhileQuiet)
{
    QList<GHNotification> threads;
    for (const GHNotification &thread : std::as_const(m_items)) {
        if (ids.contains(thread.id) && thread.unread && isListed(thread))
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
