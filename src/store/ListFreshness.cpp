#include "store/ListFreshness.h"

bool ListFreshness::wantsWhole(Fetch why, const QDateTime &now) const
{
    if (m_owed || !m_wholeAt.isValid())
        return true;
    const std::chrono::seconds age(m_wholeAt.secsTo(now));
    switch (why) {
    case Fetch::timed:
        return age >= wholeAfterPoll;
    case Fetch::viewOpened:
        return age >= wholeAfterView;
    case Fetch::asked:
    case Fetch::reconnected:
        return true;
    }
    return true;
}

void ListFreshness::arrived(const QDateTime &askedAt, bool whole)
{
    if (whole)
        m_wholeAt = askedAt;
}
