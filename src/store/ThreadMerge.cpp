#include "store/ThreadMerge.h"

#include "platform/TextSearch.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace ThreadMerge {

MergeResult merge(const QList<GHNotification> &previous, const QList<GHNotification> &fetched,
                  const Dismissals &dismissed, const Coverage &coverage)
{
    // Where ids repeat, the later thread wins.
    QHash<QString, const GHNotification *> byId;
    byId.reserve(previous.size());
    for (const GHNotification &thread : previous)
        byId.insert(thread.id, &thread);

    MergeResult result;
    result.merged.reserve(fetched.size());
    QSet<QString> seen;
    for (const GHNotification &thread : fetched) {
        seen.insert(thread.id);
        GHNotification merged = thread;
        const auto dismissal = dismissed.constFind(thread.id);
        if (dismissal != dismissed.cend() && thread.updatedAt <= dismissal->updatedAt) {
            if (dismissal->kind == Dismissal::Kind::done)
                continue;
            merged.unread = false;
        }
        const auto old = byId.constFind(thread.id);
        const bool news = old == byId.cend() ? !coverage.seenDownTo || thread.updatedAt > *coverage.seenDownTo
                                             : thread.updatedAt > (*old)->updatedAt;
        if (merged.unread && news)
            result.newThreads.append(merged);
        result.merged.append(std::move(merged));
    }
    // The pages not read are older than those read: their threads follow.
    if (coverage.partial) {
        for (const GHNotification &thread : previous) {
            if (!seen.contains(thread.id)) {
                seen.insert(thread.id);
                result.merged.append(thread);
            }
        }
    }
    return result;
}

void forgetSettled(Dismissals &dismissed, const QList<GHNotification> &fetched, bool partial)
{
    if (dismissed.isEmpty())
        return;
    QHash<QString, QDateTime> updated;
    for (const GHNotification &thread : fetched)
        updated.insert(thread.id, thread.updatedAt);
    dismissed.removeIf([&updated, partial](const auto &entry) {
        const auto now = updated.constFind(entry.key());
        return now == updated.cend() ? !partial : *now > entry.value().updatedAt;
    });
}

namespace {

bool inState(const GHNotification &thread, StateFilter filter)
{
    if (!thread.details)
        return false;
    switch (filter) {
    case StateFilter::open:
        return thread.details->state == SubjectState::open;
    case StateFilter::merged:
        return thread.details->state == SubjectState::merged;
    case StateFilter::closed:
        return thread.details->state == SubjectState::closed || thread.details->state == SubjectState::closedNotPlanned;
    case StateFilter::draft:
        return thread.details->state == SubjectState::draft;
    }
    return false;
}

} // namespace

QList<GHNotification> matching(const QList<GHNotification> &items, const QString &searchText, bool unreadOnly,
                               std::optional<NotificationReason> reason, const DetailFilter &details)
{
    const TextSearch search(searchText);
    QList<GHNotification> result;
    for (const GHNotification &thread : items) {
        if (unreadOnly && !thread.unread)
            continue;
        if (reason && thread.reason != *reason)
            continue;
        if (details.state && !inState(thread, *details.state))
            continue;
        if (details.hideBotActivity && thread.details && thread.details->latestActor.isBot)
            continue;
        const bool actorMatches =
            details.searchActors && thread.details && search.matches(thread.details->latestActor.login);
        if (!search.isEmpty() && !search.matches(thread.title) && !search.matches(thread.repoFullName())
            && !actorMatches)
            continue;
        result.append(thread);
    }
    return result;
}

QList<GHNotification> filterAndSort(const QList<GHNotification> &items, const QString &searchText, bool unreadOnly)
{
    QList<GHNotification> result = matching(items, searchText, unreadOnly);
    std::stable_sort(result.begin(), result.end(), [](const GHNotification &a, const GHNotification &b) {
        if (a.unread != b.unread)
            return a.unread;
        return a.updatedAt > b.updatedAt;
    });
    return result;
}

qsizetype unreadCount(const QList<GHNotification> &items)
{
    return std::count_if(items.begin(), items.end(), [](const GHNotification &thread) { return thread.unread; });
}

} // namespace ThreadMerge
