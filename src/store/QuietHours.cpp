#include "store/QuietHours.h"

#include "platform/DoNotDisturb.h"
#include "platform/PreferencesFile.h"

#include <chrono>

namespace {

QVariant stored(const char *key)
{
    return PreferencesFile::value(QString::fromLatin1(key));
}

QTime storedTime(const char *key, QTime fallback)
{
    const QVariant value = stored(key);
    const QTime time = value.typeId() == QMetaType::QString ? QTime::fromString(value.toString(), u"HH:mm") : QTime();
    return time.isValid() ? time : fallback;
}

} // namespace

QuietHours::Window QuietHours::current()
{
    Window window;
    const QVariant enabled = stored(enabledKey);
    window.enabled = enabled.typeId() == QMetaType::Bool && enabled.toBool();
    window.from = storedTime(fromKey, window.from);
    window.to = storedTime(toKey, window.to);
    const QVariant days = stored(daysKey);
    if (days.typeId() == QMetaType::QVariantList) {
        window.days.clear();
        for (const QVariant &day : days.toList()) {
            const int number = day.toInt();
            if (day.canConvert<int>() && number >= 1 && number <= 7 && !window.days.contains(number))
                window.days.append(number);
        }
    }
    return window;
}

void QuietHours::write(const Window &window)
{
    PreferencesFile::setValue(QString::fromLatin1(enabledKey), window.enabled);
    PreferencesFile::setValue(QString::fromLatin1(fromKey), window.from.toString(u"HH:mm"));
    PreferencesFile::setValue(QString::fromLatin1(toKey), window.to.toString(u"HH:mm"));
    QVariantList days;
    for (int day : window.days)
        days.append(day);
    PreferencesFile::setValue(QString::fromLatin1(daysKey), days);
}

bool QuietHours::contains(const Window &window, const QDateTime &time)
{
    if (!window.enabled)
        return false;
    const QDateTime local = time.toLocalTime();
    const QTime now = local.time();
    const int today = local.date().dayOfWeek();
    const int yesterday = today == 1 ? 7 : today - 1;
    if (window.from == window.to)
        return window.days.contains(today);
    if (window.from < window.to)
        return window.days.contains(today) && now >= window.from && now < window.to;
    return (now >= window.from && window.days.contains(today)) || (now < window.to && window.days.contains(yesterday));
}

QuietHours::QuietHours(QObject *parent) : QObject(parent), m_clock([] { return QDateTime::currentDateTimeUtc(); })
{
    // Held alerts go out within half a minute of the window's end.
    m_check.setInterval(std::chrono::seconds(30));
    connect(&m_check, &QTimer::timeout, this, &QuietHours::check);
    connect(&DoNotDisturb::shared(), &DoNotDisturb::inhibitedChanged, this, &QuietHours::check);
}

void QuietHours::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

bool QuietHours::isQuiet() const
{
    return DoNotDisturb::shared().isInhibited() || contains(current(), m_clock());
}

void QuietHours::hold(const QList<GHNotification> &threads)
{
    for (const GHNotification &thread : threads) {
        if (!m_held.contains(thread.key()))
            m_held.append(thread.key());
    }
    if (!m_held.isEmpty())
        m_check.start();
}

void QuietHours::check()
{
    if (m_held.isEmpty() || isQuiet())
        return;
    m_check.stop();
    emit ended(std::exchange(m_held, {}));
}
