// New-thread alerts of the notifications store.

#include "store/NotificationsStore.h"

#include "platform/DesktopNotifications.h"
#include "platform/NotificationSound.h"
#include "settings/Preferences.h"

#include <QPointer>

void NotificationsStore::notifyNewNotifications(const QList<GHNotification> &newThreads)
{
    QList<GHNotification> alerting = newThreads;
    const QList<AlertRules::Rule> rules = AlertRules::current().rules;
    alerting.removeIf([&rules](const GHNotification &thread) {
        return AlertRules::actionFor(rules, thread) != AlertRules::Action::show;
    });
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
    const bool withSound = Preferences::notificationSoundEnabled();
    if (withSound)
        playNotificationSound();

    DesktopNotification notification;
    notification.withSound = withSound;
    // An action that comes after the token changed, or after the thread went,
    // does nothing.
    QPointer<NotificationsStore> self(this);
    const quint64 session = m_session;
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
        // The first account's threads are keyed by their id, and belong to its session.
        const bool first = thread.account.key.isEmpty();
        notification.onAction = [self, session, first, id = thread.key()](const QString &key) {
            if (!self || (first && session != self->m_session))
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
        notification.onAction = [self, session](const QString &key) {
            if (self && session == self->m_session && key == u"default")
                emit self->alertActivated();
        };
    }
    DesktopNotifications::post(notification);
}

void NotificationsStore::playNotificationSound()
{
    NotificationSound::play();
}
