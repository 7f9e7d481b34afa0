// New-thread alerts of the notifications store.

#include "store/NotificationsStore.h"

#include "platform/DesktopNotifications.h"
#include "platform/NotificationSound.h"
#include "settings/Preferences.h"

void NotificationsStore::notifyNewNotifications(const QList<GHNotification> &newThreads)
{
    if (newThreads.isEmpty() || !Preferences::notificationsEnabled())
        return;
    const bool withSound = Preferences::notificationSoundEnabled();
    if (withSound)
        playNotificationSound();

    DesktopNotification notification;
    notification.withSound = withSound;
    if (newThreads.size() == 1) {
        const GHNotification &thread = newThreads.first();
        notification.title = thread.title;
        notification.subtitle = thread.repoFullName();
        notification.body = NotificationReasons::displayName(thread.reason);
    } else {
        notification.title = QStringLiteral("New GitHub Notifications");
        notification.body = QString::number(newThreads.size()) + QStringLiteral(" new notifications");
    }
    DesktopNotifications::post(notification);
}

void NotificationsStore::playNotificationSound()
{
    NotificationSound::play();
}
