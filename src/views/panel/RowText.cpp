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
    return line + separator + NotificationReasons::displayName(item.reason) + separator
           + RelativeTime::shortAge(item.updatedAt, now, locale);
}

QString countdownText(int seconds)
{
    if (seconds < 60)
        return QString::number(seconds) + u's';
    return QStringLiteral("%1m %2s").arg(seconds / 60).arg(seconds % 60);
}

QString accessibleName(const GHNotification &item, const QDateTime &now, const QLocale &locale)
{
    QString name = item.title + QStringLiteral(", ") + metaLine(item, now, locale);
    if (item.unread)
        name = QCoreApplication::translate("RowText", "Unread. %1").arg(name);
    if (item.muted)
        name = QCoreApplication::translate("RowText", "%1, muted").arg(name);
    return name;
}

} // namespace RowText
