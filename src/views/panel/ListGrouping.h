#pragma once

#include "model/GHNotification.h"
#include "store/ThreadMerge.h"

#include <QList>
#include <QString>

#include <optional>

// The main window's own filter (applied by ThreadMerge::matching), ordering
// and grouping of the store's items.
namespace ListGrouping {

struct Filter {
    QString searchText;
    bool unreadOnly = false;
    std::optional<NotificationReason> reason;
    // The window's search finds actors too.
    ThreadMerge::DetailFilter details{.searchActors = true};
};

struct RepoGroup {
    QString key; // owner "/" repo
    QList<GHNotification> items; // newest first
};

// Newest first; equal times keep their order.
QList<GHNotification> newestFirst(QList<GHNotification> items);

// Groups by repository, the group with the latest update first.
QList<RepoGroup> groupedByRepository(const QList<GHNotification> &items);

} // namespace ListGrouping
