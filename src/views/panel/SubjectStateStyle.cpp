#include "views/panel/SubjectStateStyle.h"

namespace SubjectStateStyle {

QString iconName(SubjectType type, SubjectState state)
{
    if (type == SubjectType::pull_request) {
        switch (state) {
        case SubjectState::merged:
            return QStringLiteral("pull.merged");
        case SubjectState::closed:
        case SubjectState::closedNotPlanned:
            return QStringLiteral("pull.closed");
        case SubjectState::draft:
            return QStringLiteral("pull.draft");
        case SubjectState::open:
            break;
        }
        return SubjectTypes::iconName(SubjectType::pull_request);
    }
    switch (state) {
    case SubjectState::closed:
    case SubjectState::merged:
        return QStringLiteral("issue.closed");
    case SubjectState::closedNotPlanned:
        return QStringLiteral("issue.notplanned");
    case SubjectState::draft:
        return QStringLiteral("issue.draft");
    case SubjectState::open:
        break;
    }
    return SubjectTypes::iconName(SubjectType::issue);
}

QColor tint(SubjectType type, SubjectState state, bool darkBackground)
{
    // GitHub's open, done, closed and neutral foregrounds: a closed issue is
    // done, a pull request closed unmerged is not.
    const QColor done = QColor::fromRgb(darkBackground ? 0xa371f7 : 0x8250df);
    switch (state) {
    case SubjectState::open:
        return QColor::fromRgb(darkBackground ? 0x3fb950 : 0x1a7f37);
    case SubjectState::merged:
        return done;
    case SubjectState::closed:
        return type == SubjectType::pull_request ? QColor::fromRgb(darkBackground ? 0xf85149 : 0xd1242f) : done;
    case SubjectState::closedNotPlanned:
    case SubjectState::draft:
        break;
    }
    return QColor::fromRgb(darkBackground ? 0x9198a1 : 0x59636e);
}

} // namespace SubjectStateStyle
