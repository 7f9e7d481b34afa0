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
        notification.subtitle = thread.repoFullName();
        notification.body = NotificationReasons::displayName(thread.reason);
        notification.actions = {
            //: Alert button, a verb: open the thread in the browser
            {QStringLiteral("default"), tr("Open")},
            {QStringLiteral("mark-read"), tr("Mark as Read")},
        };
        notification.onAction = [self, session, id = thread.id](const QString &key) {
            if (!self || session != self->m_session)
                return;
            if (key == u"default") {
                self->open(id);
            } else if (key == u"mark-read") {
                const qsizetype index = self->indexOf(id);
                if (index >= 0 && self->m_items.at(index).unread)
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
