#include "model/NotificationReason.h"

#include "model/RawValueTable.h"

namespace NotificationReasons {
namespace {

struct ReasonInfo {
    NotificationReason value;
    const char16_t *raw;
    const char16_t *display;
};

constexpr std::array<ReasonInfo, 9> reasonTable{{
    {NotificationReason::assign, u"assign", u"Assigned"},
    {NotificationReason::author, u"author", u"Author"},
    {NotificationReason::comment, u"comment", u"Comment"},
    {NotificationReason::manual, u"manual", u"Manual"},
    {NotificationReason::mention, u"mention", u"Mention"},
    {NotificationReason::state_change, u"state_change", u"State change"},
    {NotificationReason::review_requested, u"review_requested", u"Review requested"},
    {NotificationReason::team_mention, u"team_mention", u"Team mention"},
    {NotificationReason::subscribed, u"subscribed", u"Subscribed"},
}};

const ReasonInfo &infoFor(NotificationReason reason)
{
    return reasonTable[static_cast<std::size_t>(reason)];
}

} // namespace

std::optional<NotificationReason> fromRawValue(QStringView raw)
{
    return RawValueTable::fromRaw(reasonTable, raw);
}

QString rawValue(NotificationReason reason)
{
    return QString::fromUtf16(infoFor(reason).raw);
}

QString displayName(NotificationReason reason)
{
    return QString::fromUtf16(infoFor(reason).display);
}

const std::array<NotificationReason, 9> &allCases()
{
    static constexpr auto all = RawValueTable::cases(reasonTable);
    return all;
}

} // namespace NotificationReasons
