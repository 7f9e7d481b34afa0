// New-thread alerts of the notifications store, for every account alike.

#include "store/NotificationsStore.h"

#include "platform/DesktopNotifications.h"
#include "settings/Preferences.h"

#include <QPointer>

void NotificationsStore::settleAndAlert(const QString &accountKey, QList<GHNotification> newThreads, bool hadPrevious)
{
    const AccountSession *session = m_accounts.sessionOfAccount(accountKey);
    if (!session)
        return;
    // Snoozed threads GitHub reports updated come back, and alert as new ones do.
    const QStringList unsnoozed = m_snoozes.settle(session->items(), accountKey);
    for (const GHNotification &thread : session->items()) {
        const auto alerting = [&thread](const GHNotification &other) { return other.key() == thread.key(); };
        if (thread.unread && unsnoozed.contains(thread.key())
            && std::none_of(newThreads.cbegin(), newThreads.cend(), alerting))
            newThreads.append(thread);
    }
    // A thread still snoozed keeps quiet, whatever happens in it.
    newThreads.removeIf([this](const GHNotification &thread) { return m_snoozes.isSnoozed(thread); });
    if (!newThreads.isEmpty() && hadPrevious)
        notifyNewNotifications(newThreads);
}

void NotificationsStore::notifyNewNotifications(const QList<GHNotification> &newThreads)
{
    QList<GHNotification> alerting = newThreads;
    alerting.removeIf([this](const GHNotification &thread) { return ruleAction(thread) != AlertRules::Action::show; });
    if (alerting.isEmpty() || !Preferences::notificationsEnabled())
        return;
    if (m_quietHours.isQuiet()) {
        m_quietHours.hold(alerting);
        return;
    }
    postAlert(alerting);
}

void NotificationsStore::postAlert(const QList<GHNotification> &newThreads)
{
    if (newThreads.isEmpty() || !Preferences::notificationsEnabled())
        return;
    DesktopNotification notification;
    notification.withSound = Preferences::notificationSoundEnabled();
    for (const GHNotification &thread : newThreads)
        notification.about.append(thread.key());
    // An action that comes after the token of a thread's account changed, or
    // after the thread went, does nothing.
    QPointer<NotificationsStore> self(this);
    QList<std::pair<QPointer<AccountSession>, quint64>> sessions;
    for (const GHNotification &thread : newThreads) {
        AccountSession &session = m_accounts.sessionFor(thread.key());
        sessions.append({&session, session.generation()});
    }
    const auto current = [self, sessions] {
        return self && std::all_of(sessions.cbegin(), sessions.cend(), [](const auto &session) {
                   return session.first && session.first->generation() == session.second;
               });
    };
    if (newThreads.size() == 1) {
        const GHNotification &thread = newThreads.first();
        notification.title = thread.title;
        const QString account = m_accounts.nameOf(thread);
        notification.subtitle =
            account.isEmpty() ? thread.repoFullName() : tr("%1 · %2").arg(thread.repoFullName(), account);
        notification.body = NotificationReasons::displayName(thread.reason);
        notification.actions = {
            //: Alert button, a verb: open the thread in the browser
            {QStringLiteral("default"), tr("Open")},
            {QStringLiteral("mark-read"), tr("Mark as Read")},
        };
        notification.onAction = [self, current, id = thread.key()](const QString &key) {
            if (!current())
                return;
            if (key == u"default") {
                self->open(id);
            } else if (key == u"mark-read") {
                const auto &items = self->items();
                const auto found = std::find_if(items.cbegin(), items.cend(),
                                                [&id](const GHNotification &thread) { return thread.key() == id; });
                if (found != items.cend() && found->unread)
                    self->toggleRead(id);
            }
        };
    } else {
        notification.title = tr("New GitHub Notifications");
        //: Body of the alert for two or more new threads
        notification.body = tr("%n new notifications", nullptr, int(newThreads.size()));
        //: Alert button, a verb: show the new threads in the panel
        notification.actions = {{QStringLiteral("default"), tr("Show")}};
        notification.onAction = [self, current](const QString &key) {
            if (current() && key == u"default")
                emit self->alertActivated();
        };
    }
    DesktopNotifications::post(notification);
}
