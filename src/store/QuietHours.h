#pragma once

#include "model/GHNotification.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QTime>
#include <QTimer>

#include <functional>

// Quiet hours: a daily window (it may cross midnight) on chosen days, and
// whenever the desktop is in do-not-disturb. While quiet, alerts are held;
// when quiet ends, the held threads make one summary alert.
class QuietHours : public QObject {
    Q_OBJECT

public:
    inline static constexpr char enabledKey[] = "quietHoursEnabled";
    inline static constexpr char fromKey[] = "quietHoursFrom";
    inline static constexpr char toKey[] = "quietHoursTo";
    // Days of the week, 1 (Monday) to 7.
    inline static constexpr char daysKey[] = "quietHoursDays";

    struct Window {
        bool enabled = false;
        QTime from = QTime(22, 0);
        QTime to = QTime(7, 0);
        // A window that crosses midnight belongs to the day it starts on.
        QList<int> days = {1, 2, 3, 4, 5, 6, 7};

        friend bool operator==(const Window &, const Window &) = default;
    };

    // The preferences, read afresh ("HH:mm" times); anything unreadable
    // keeps the default.
    static Window current();
    static void write(const Window &window);
    // Equal times mean the whole day.
    static bool contains(const Window &window, const QDateTime &time);

    using Clock = std::function<QDateTime()>;
    explicit QuietHours(QObject *parent = nullptr);
    void setClock(Clock clock);

    bool isQuiet() const;
    // Alerts held back for the end of the quiet time.
    void hold(const QList<GHNotification> &threads);
    // Tells `ended` of the held threads once it is no longer quiet.
    void check();

signals:
    void ended(const QStringList &heldKeys);

private:
    Clock m_clock;
    QStringList m_held;
    QTimer m_check;
};
