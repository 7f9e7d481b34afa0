#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// How long ago a moment was, in the locale's short relative style
// ("18 min. ago", "vor 18 Min."), from ICU's relative date-time formatter.
// The largest whole unit is used: seconds, minutes, hours, days, weeks,
// months, years.
namespace RelativeTime {

QString shortAge(const QDateTime &moment, const QDateTime &now, const QLocale &locale = QLocale());

// Loads ICU's data for the locale on a worker thread, so a list about to be
// built on the GUI thread finds it loaded (or waits for it, never loads it twice).
void prepare(const QLocale &locale = QLocale());

} // namespace RelativeTime
