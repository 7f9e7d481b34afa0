#pragma once

#include "model/GHNotification.h"

#include <QStringList>
#include <QTimeZone>

// Threads as the store holds them, for the tests above the wire format.
inline GHNotification modelThread(const char *id, bool unread = true, int minutesAgo = 0, const char *title = "Title",
                                  const char *repository = "octo/hooks",
                                  NotificationReason reason = NotificationReason::mention)
{
    GHNotification thread;
    thread.id = QString::fromUtf8(id);
    thread.unread = unread;
    thread.updatedAt = QDateTime(QDate(2024, 5, 1), QTime(12, 0), QTimeZone::utc()).addSecs(-60 * minutesAgo);
    thread.title = QString::fromUtf8(title);
    thread.owner = QString::fromUtf8(repository).section(u'/', 0, 0);
    thread.repo = QString::fromUtf8(repository).section(u'/', 1);
    thread.reason = reason;
    return thread;
}

// The ids in order, optionally only of the threads `keep` accepts.
template<typename Keep = bool (*)(const GHNotification &)> QStringList ids(
    const QList<GHNotification> &threads, Keep keep = [](const GHNotification &) { return true; })
{
    QStringList result;
    for (const GHNotification &thread : threads) {
        if (keep(thread))
            result << thread.id;
    }
    return result;
}
