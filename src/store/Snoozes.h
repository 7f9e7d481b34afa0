#pragma once

#include "model/GHNotification.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <optional>

// Threads the user put away for a while: hidden and not counted until their
// time comes or GitHub reports them updated after the snooze. Kept in the
// state file, so they outlast a restart.
class Snoozes : public QObject {
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    struct Snooze {
        // Invalid: until the thread is updated.
        QDateTime until;
        // The thread's update time at the snooze.
        QDateTime updatedAt;
    };

    // How long, as the views offer it.
    enum class Length { hour, tomorrowMorning, nextWeek, untilUpdated };

    explicit Snoozes(QObject *parent = nullptr);

    // Tests set the time.
    void setClock(Clock clock);
    QDateTime now() const { return m_clock(); }

    void snooze(const GHNotification &thread, Length length);
    // Snoozes are filed under the thread's key(): ids repeat across hosts.
    void unsnooze(const QString &key);
    bool isSnoozed(const GHNotification &thread) const;
    bool contains(const QString &key) const { return m_snoozes.contains(key); }
    // When a snooze of that length ends, from `now` in local time: an hour
    // on, 8:00 tomorrow, 8:00 next Monday, or never (invalid).
    static QDateTime endOf(Length length, const QDateTime &now);

    // Ends the snoozes whose time came or whose thread was updated, and of
    // threads that the list of the account with `accountKey` (empty for the
    // first) no longer holds; returns the keys of the threads that came back.
    QStringList settle(const QList<GHNotification> &items, const QString &accountKey = {});
    // Ends the snoozes whose time came; tells `returned` of them.
    void expire();

signals:
    void changed();
    // Keys of the threads whose snooze ended by time.
    void returned(const QStringList &keys);

private:
    void load();
    void save();
    void armTimer();

    Clock m_clock;
    QHash<QString, Snooze> m_snoozes;
    QTimer m_timer;
};
