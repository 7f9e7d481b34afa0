#include "store/Snoozes.h"

#include "platform/StateFile.h"

#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <limits>

namespace {

const QString stateKey = QStringLiteral("snoozes");
constexpr int morningHour = 8;

} // namespace

Snoozes::Snoozes(QObject *parent) : QObject(parent), m_clock([] { return QDateTime::currentDateTimeUtc(); })
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &Snoozes::expire);
    load();
}

void Snoozes::setClock(Clock clock)
{
    m_clock = std::move(clock);
    armTimer();
}

QDateTime Snoozes::endOf(Length length, const QDateTime &now)
{
    const QDateTime local = now.toLocalTime();
    switch (length) {
    case Length::hour:
        return now.addSecs(3600);
    case Length::tomorrowMorning:
        return QDateTime(local.date().addDays(1), QTime(morningHour, 0));
    case Length::nextWeek:
        return QDateTime(local.date().addDays(8 - local.date().dayOfWeek()), QTime(morningHour, 0));
    case Length::untilUpdated:
        return {};
    }
    return {};
}

void Snoozes::snooze(const GHNotification &thread, Length length)
{
    m_snoozes.insert(thread.key(), {endOf(length, now()), thread.updatedAt});
    save();
}

void Snoozes::unsnooze(const QString &key)
{
    if (m_snoozes.remove(key))
        save();
}

bool Snoozes::isSnoozed(const GHNotification &thread) const
{
    const auto found = m_snoozes.constFind(thread.key());
    return found != m_snoozes.cend() && (!found->until.isValid() || now() < found->until)
           && thread.updatedAt <= found->updatedAt;
}

QStringList Snoozes::settle(const QList<GHNotification> &items, const QString &accountKey)
{
    QSet<QString> present;
    QStringList back;
    for (const GHNotification &thread : items) {
        const QString key = thread.key();
        present.insert(key);
        if (m_snoozes.contains(key) && !isSnoozed(thread)) {
            m_snoozes.remove(key);
            back.append(key);
        }
    }
    // The first account's keys are bare thread ids; another's start with its own key.
    const auto ofAccount = [prefix = accountKey.isEmpty() ? QString() : accountKey + u'/'](const QString &key) {
        return prefix.isEmpty() ? !key.contains(u'/') : key.startsWith(prefix);
    };
    const auto before = m_snoozes.size();
    m_snoozes.removeIf([&](const auto &entry) { return ofAccount(entry.key()) && !present.contains(entry.key()); });
    if (!back.isEmpty() || m_snoozes.size() != before)
        save();
    return back;
}

void Snoozes::expire()
{
    QStringList back;
    const QDateTime time = now();
    for (auto it = m_snoozes.begin(); it != m_snoozes.end();) {
        if (it->until.isValid() && it->until <= time) {
            back.append(it.key());
            it = m_snoozes.erase(it);
        } else {
            ++it;
        }
    }
    if (!back.isEmpty()) {
        save();
        emit returned(back);
    } else {
        armTimer();
    }
}

void Snoozes::load()
{
    const QJsonObject stored = QJsonObject::fromVariantMap(StateFile::value(stateKey).toMap());
    for (auto it = stored.begin(); it != stored.end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        const QDateTime updatedAt = QDateTime::fromString(entry.value(u"updatedAt").toString(), Qt::ISODate);
        const QDateTime until = QDateTime::fromString(entry.value(u"until").toString(), Qt::ISODate);
        if (updatedAt.isValid())
            m_snoozes.insert(it.key(), {until, updatedAt});
    }
    armTimer();
}

void Snoozes::save()
{
    QJsonObject stored;
    for (auto it = m_snoozes.cbegin(); it != m_snoozes.cend(); ++it) {
        QJsonObject entry{{QStringLiteral("updatedAt"), it->updatedAt.toUTC().toString(Qt::ISODate)}};
        if (it->until.isValid())
            entry.insert(QStringLiteral("until"), it->until.toUTC().toString(Qt::ISODate));
        stored.insert(it.key(), entry);
    }
    StateFile::setValue(stateKey, stored.toVariantMap());
    armTimer();
    emit changed();
}

void Snoozes::armTimer()
{
    QDateTime next;
    for (const Snooze &snooze : std::as_const(m_snoozes)) {
        if (snooze.until.isValid() && (!next.isValid() || snooze.until < next))
            next = snooze.until;
    }
    if (!next.isValid()) {
        m_timer.stop();
        return;
    }
    // QTimer counts in int milliseconds: a later end is looked at again then.
    const qint64 delay = std::clamp<qint64>(now().msecsTo(next), 0, std::numeric_limits<int>::max());
    m_timer.start(int(delay));
}
