#pragma once

#include <QDateTime>

#include <chrono>

// Whether an account's list is asked for whole or revalidated. GitHub answers
// a revalidated request 304 (no rate-limit point) until a new notification
// arrives, whatever was read, done or marked unread on the web meanwhile; a
// whole list costs a point a page and is the only way to learn of those. So:
// a timed poll asks for the whole list once the last whole answer is five
// minutes old; the user's refresh, a resume and a reconnection always do; a
// view opening does once the last whole answer is a minute old, and sends
// nothing otherwise.
class ListFreshness {
public:
    enum class Fetch { timed, asked, viewOpened, reconnected };

    static constexpr std::chrono::seconds wholeAfterPoll{5 * 60};
    static constexpr std::chrono::seconds wholeAfterView{60};

    // Whether a fetch for `why` at `now` is sent at all.
    bool wantsFetch(Fetch why, const QDateTime &now) const { return why != Fetch::viewOpened || wantsWhole(why, now); }
    bool wantsWhole(Fetch why, const QDateTime &now) const;
    // A whole list is owed (the user asked while a fetch was out, or too
    // early): the next fetch asks for it, whatever its reason.
    void owe() { m_owed = true; }
    bool owed() const { return m_owed; }
    // A fetch went out.
    void sent() { m_owed = false; }
    // A list asked for at `askedAt` arrived, whole or as the copy held.
    void arrived(const QDateTime &askedAt, bool whole);
    // Another token: nothing is known.
    void reset() { *this = {}; }

private:
    QDateTime m_wholeAt;
    bool m_owed = false;
};
