#include "platform/RelativeTime.h"

#include <QThreadPool>

#include <unicode/locid.h>
#include <unicode/reldatefmt.h>
#include <unicode/unistr.h>

#include <cstdlib>

namespace RelativeTime {
namespace {

struct Amount {
    double value;
    URelativeDateTimeUnit unit;
};

Amount largestUnit(qint64 seconds)
{
    const qint64 magnitude = std::llabs(seconds);
    const double sign = seconds < 0 ? -1.0 : 1.0;
    constexpr qint64 minute = 60, hour = 3600, day = 86400;
    if (magnitude < minute)
        return {sign * double(magnitude), UDAT_REL_UNIT_SECOND};
    if (magnitude < hour)
        return {sign * double(magnitude / minute), UDAT_REL_UNIT_MINUTE};
    if (magnitude < day)
        return {sign * double(magnitude / hour), UDAT_REL_UNIT_HOUR};
    const qint64 days = magnitude / day;
    if (days < 7)
        return {sign * double(days), UDAT_REL_UNIT_DAY};
    if (days < 30)
        return {sign * double(days / 7), UDAT_REL_UNIT_WEEK};
    if (days < 365)
        return {sign * double(days / 30), UDAT_REL_UNIT_MONTH};
    return {sign * double(days / 365), UDAT_REL_UNIT_YEAR};
}

} // namespace

QString shortAge(const QDateTime &moment, const QDateTime &now, const QLocale &locale)
{
    // Positive offsets lie in the future for ICU.
    const Amount amount = largestUnit(now.secsTo(moment));
    UErrorCode status = U_ZERO_ERROR;
    // The C locale has no words of its own; ICU's root data would say "1 days ago".
    const QString name = locale.language() == QLocale::C ? QStringLiteral("en_US") : locale.name();
    const icu::Locale icuLocale(name.toUtf8().constData());
    icu::RelativeDateTimeFormatter formatter(icuLocale, nullptr, UDAT_STYLE_SHORT, UDISPCTX_CAPITALIZATION_NONE,
                                             status);
    icu::UnicodeString text;
    if (U_SUCCESS(status))
        formatter.formatNumeric(amount.value, amount.unit, text, status);
    if (U_FAILURE(status))
        return locale.toString(moment.toLocalTime(), QLocale::ShortFormat);
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

void prepare(const QLocale &locale)
{
    QThreadPool::globalInstance()->start([locale] {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        shortAge(now.addSecs(-60), now, locale);
    });
}

} // namespace RelativeTime
