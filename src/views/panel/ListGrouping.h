#pragma once

#include "model/GHNotification.h"

#include <QList>
#include <QString>

#include <optional>

// The main window's own filtering, ordering and grouping of the store's items.
namespace ListGrouping {

struct Filter {
    QString searchText;
    bool unreadOnly = false;
    std::optional<NotificationReason> reason;
};

struct RepoGroup {
    QString key; // owner "/" repo
    QList<GHNotification> items; // newest first
};

// Items passing the unread, reason and search tests, in the store's order.
QList<GHNotification> filtered(const QList<GHNotification> &items, const Filter &filter);

// Newest first; equal times keep their order.
QList<GHNotification> newestFirst(QList<GHNotification> items);

// Groups by repository, the group with the latest update first.
QList<RepoGroup> groupedByRepository(const QList<GHNotification> &items);

} // namespace ListGrouping
