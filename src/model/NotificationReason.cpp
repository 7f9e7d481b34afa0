#include "model/NotificationReason.h"

#include "model/RawValueTable.h"

#include <QCoreApplication>

namespace NotificationReasons {
namespace {

struct ReasonInfo {
    NotificationReason value;
    const char16_t *raw;
    const char *display;
};

constexpr std::array<ReasonInfo, 9> reasonTable{{
    {NotificationReason::assign, u"assign", QT_TRANSLATE_NOOP("NotificationReason", "Assigned")},
    {NotificationReason::author, u"author", QT_TRANSLATE_NOOP("NotificationReason", "Author")},
    {NotificationReason::comment, u"comment", QT_TRANSLATE_NOOP("NotificationReason", "Comment")},
    {NotificationReason::manual, u"manual", QT_TRANSLATE_NOOP("NotificationReason", "Manual")},
    {NotificationReason::mention, u"mention", QT_TRANSLATE_NOOP("NotificationReason", "Mention")},
    {NotificationReason::state_change, u"state_change", QT_TRANSLATE_NOOP("NotificationReason", "State change")},
    {NotificationReason::review_requested, u"review_requested",
     QT_TRANSLATE_NOOP("NotificationReason", "Review requested")},
    {NotificationReason::team_mention, u"team_mention", QT_TRANSLATE_NOOP("NotificationReason", "Team mention")},
    {NotificationReason::subscribed, u"subscribed", QT_TRANSLATE_NOOP("NotificationReason", "Subscribed")},
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
    return QCoreApplication::translate("NotificationReason", infoFor(reason).display);
}

const std::array<NotificationReason, 9> &allCases()
{
    static constexpr auto all = RawValueTable::cases(reasonTable);
    return all;
}

} // namespace NotificationReasons
