#include "model/SubjectType.h"

#include "model/AlertRed.h"
#include "model/RawValueTable.h"

namespace SubjectTypes {
namespace {

struct SubjectInfo {
    SubjectType value;
    const char16_t *raw;
    const char16_t *icon;
    QRgb tint;
};

// Tints follow the desktop's usual named colours (blue, green, gray, purple,
// teal, red) at a saturation that reads on both light and dark panels.
constexpr std::array<SubjectInfo, 6> subjectTable{{
    {SubjectType::issue, u"issue", u"exclamationmark.circle", 0xff0a84ff},
    {SubjectType::pull_request, u"pull_request", u"arrow.triangle.pull", 0xff30b94d},
    {SubjectType::release, u"release", u"tag", 0xff8e8e93},
    {SubjectType::discussion, u"discussion", u"text.bubble", 0xffaf52de},
    {SubjectType::commit, u"commit", u"chevron.left.forwardslash.chevron.right", 0xff30b0c7},
    {SubjectType::security_alert, u"security_alert", u"shield.lefthalf.filled", alertRed},
}};

const SubjectInfo &infoFor(SubjectType type)
{
    return subjectTable[static_cast<std::size_t>(type)];
}

} // namespace

std::optional<SubjectType> fromRawValue(QStringView raw)
{
    return RawValueTable::fromRaw(subjectTable, raw);
}

QString rawValue(SubjectType type)
{
    return QString::fromUtf16(infoFor(type).raw);
}

QString iconName(SubjectType type)
{
    return QString::fromUtf16(infoFor(type).icon);
}

QColor tintColor(SubjectType type)
{
    return QColor::fromRgba(infoFor(type).tint);
}

const std::array<SubjectType, 6> &allCases()
{
    static constexpr auto all = RawValueTable::cases(subjectTable);
    return all;
}

} // namespace SubjectTypes
