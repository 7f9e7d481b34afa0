#include "views/panel/ListGrouping.h"

#include <QHash>

#include <algorithm>

namespace ListGrouping {

QList<GHNotification> newestFirst(QList<GHNotification> items)
{
    std::stable_sort(items.begin(), items.end(),
                     [](const GHNotification &a, const GHNotification &b) { return a.updatedAt > b.updatedAt; });
    return items;
}

QList<RepoGroup> groupedByRepository(const QList<GHNotification> &items)
{
    QList<RepoGroup> groups;
    QHash<QString, qsizetype> indexByKey;
    for (const GHNotification &item : items) {
        const QString key = item.repoFullName();
        qsizetype index = indexByKey.value(key, -1);
        if (index < 0) {
            index = groups.size();
            indexByKey.insert(key, index);
            groups.append({key, {}});
        }
        groups[index].items.append(item);
    }
    for (RepoGroup &group : groups)
        group.items = newestFirst(std::move(group.items));
    // Each group's first item is now its latest; ties keep first-seen order.
    std::stable_sort(groups.begin(), groups.end(), [](const RepoGroup &a, const RepoGroup &b) {
        return a.items.constFirst().updatedAt > b.items.constFirst().updatedAt;
    });
    return groups;
}

} // namespace ListGrouping
