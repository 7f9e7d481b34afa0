#pragma once

#include "model/GHNotification.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// The pure steps of a refresh and of the panel's list, kept apart from the
// store so they can be tested and measured on their own.
namespace ThreadMerge {

struct MergeResult {
    QList<GHNotification> merged;
    // Unread threads with activity the previous list did not show: new to
    // it, or updated since (a reply on a thread the user already read), in
    // order.
    QList<GHNotification> newThreads;
};

// A thread the user marked read or done, with the update time it had then.
// Answers that carry it no newer (a cached page, a request already out at
// the click) cannot undo the action; only a later update of it can.
struct Dismissal {
    enum class Kind { read, done };
    Kind kind = Kind::read;
    QDateTime updatedAt;
};
using Dismissals = QHash<QString, Dismissal>;

// How much of GitHub's list a fetch saw.
struct Coverage {
    // Paging stopped early: the threads it did not see are kept as they were.
    bool partial = false;
    // An earlier list saw only its newest pages, down to this update time: a
    // thread never seen whose activity is no newer was beyond them, not news.
    std::optional<QDateTime> seenDownTo = std::nullopt;
};

// The fetched list is the truth, read and unread as GitHub says (so a thread
// read or marked unread on the web follows it); nothing of the previous copy
// is kept (a local mute ends here). Only what the user did in Quillfen
// holds: a dismissed thread stays read, or away, until it is updated again.
MergeResult merge(const QList<GHNotification> &previous, const QList<GHNotification> &fetched,
                  const Dismissals &dismissed = {}, const Coverage &coverage = {});

// Drops the dismissals an answer has settled: the thread came back updated,
// or, when the answer was the whole list, is gone from it.
void forgetSettled(Dismissals &dismissed, const QList<GHNotification> &fetched, bool partial = false);

// The filters on what a thread's subject details say.
enum class StateFilter { open, merged, closed, draft };
struct DetailFilter {
    // Threads whose state is not known do not pass; "closed" takes both kinds.
    std::optional<StateFilter> state = std::nullopt;
    // Leaves out threads whose latest actor is a bot.
    bool hideBotActivity = false;
    // The search also matches the latest actor's login.
    bool searchActors = false;
};

// Threads passing the unread-only, reason, detail and search tests, in their
// order. The search is one text matched against the title and, apart,
// "owner/repo" (and the actor's login when asked).
QList<GHNotification> matching(const QList<GHNotification> &items, const QString &searchText, bool unreadOnly,
                               std::optional<NotificationReason> reason = std::nullopt,
                               const DetailFilter &details = {});

// The panel's list: the matching threads, unread first, then the latest update
// first; equal threads keep their order.
QList<GHNotification> filterAndSort(const QList<GHNotification> &items, const QString &searchText, bool unreadOnly);

qsizetype unreadCount(const QList<GHNotification> &items);

} // namespace ThreadMerge
