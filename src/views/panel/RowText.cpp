#include "views/panel/RowText.h"

#include "platform/RelativeTime.h"

#include <QCoreApplication>

namespace RowText {

QString metaLine(const GHNotification &item, const QDateTime &now, const QLocale &locale)
{
    QString line = item.owner + QStringLiteral(" / ") + item.repo;
    if (item.number)
        line += QStringLiteral(" #") + QString::number(*item.number);
    const QString separator = QStringLiteral(" \u00B7 ");
    // With several accounts, each row says whose it is.
    if (!item.account.name.isEmpty())
        line = item.account.name + separator + line;
    line += separator + NotificationReasons::displayName(item.reason) + separator
            + RelativeTime::shortAge(item.updatedAt, now, locale);
    if (item.details && !item.details->latestActor.login.isEmpty())
        line += separator + actorText(item.details->latestActor);
    return line;
}

QString actorText(const Actor &actor)
{
    if (!actor.isBot)
        return QCoreApplication::translate("RowText", "by %1").arg(actor.login);
    QString name = actor.login;
    if (name.endsWith(QLatin1StringView("[bot]")))
        name.chop(5);
    return QCoreApplication::translate("RowText", "by %1 (bot)").arg(name);
}

QString stateWord(SubjectState state)
{
    switch (state) {
    //: A thread's state, an adjective: the issue or pull request is open
    case SubjectState::open:
        return QCoreApplication::translate("RowText", "Open");
    case SubjectState::merged:
        return QCoreApplication::translate("RowText", "Merged");
    case SubjectState::closed:
    case SubjectState::closedNotPlanned:
        return QCoreApplication::translate("RowText", "Closed");
    case SubjectState::draft:
        break;
    }
    //: A thread's state: a draft pull request or issue
    return QCoreApplication::translate("RowText", "Draft");
}

QString countdownText(int seconds)
{
    if (seconds < 60) {
        //: Time to the next refresh, under a minute: seconds, abbreviated
        return QCoreApplication::translate("RowText", "%1s").arg(seconds);
    }
    //: Time to the next refresh: minutes and seconds, abbreviated
    return QCoreApplication::translate("RowText", "%1m %2s").arg(seconds / 60).arg(seconds % 60);
}

QString accessibleName(const GHNotification &item, const QDateTime &now, const QLocale &locale)
{
    QString name = item.title + QStringLiteral(", ") + metaLine(item, now, locale);
    if (item.details)
        name = stateWord(item.details->state) + QStringLiteral(", ") + name;
    if (item.unread)
        name = QCoreApplication::translate("RowText", "Unread. %1").arg(name);
    if (item.muted)
        name = QCoreApplication::translate("RowText", "%1, muted").arg(name);
    return name;
}

} // namespace RowText
