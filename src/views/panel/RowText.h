#pragma once

#include "model/GHNotification.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

// The texts of a notification row and of the panel's footer.
namespace RowText {

// "rails / rails #54993 · Comment · 6 min. ago", then " · by alice" once the
// latest actor is known; led by the account's name when there are several.
QString metaLine(const GHNotification &item, const QDateTime &now, const QLocale &locale = QLocale());

// "45s" under a minute, else "5m 0s"; minutes are not carried into hours.
QString countdownText(int seconds);

// "by alice"; a bot is marked: "by dependabot (bot)".
QString actorText(const Actor &actor);

// "Open", "Merged", "Closed" (completed or not planned) or "Draft".
QString stateWord(SubjectState state);

// What a screen reader announces for the row: its state first when known.
QString accessibleName(const GHNotification &item, const QDateTime &now, const QLocale &locale = QLocale());

} // namespace RowText
