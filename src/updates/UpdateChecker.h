#pragma once

#include "updates/Appcast.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <chrono>

// The questions and callbacks of an update checker's owner.
class UpdaterDelegate {
public:
    virtual ~UpdaterDelegate() = default;
    virtual QString feedURLString() const = 0;
    virtual QStringList allowedChannels() const = 0;
    virtual void didFinishLoadingAppcast() = 0;
    virtual void didFindValidUpdate(const AppcastItem &item, bool userInitiated) = 0;
    virtual void didNotFindUpdate(bool userInitiated) = 0;
    virtual void didFailToCheck(const QString &reason, bool userInitiated) = 0;
};

// Reads the appcast, picks the newest release newer than the running one in
// the allowed channels, and reports to its delegate. It never downloads or
// installs anything: a found update is only announced. While automatic
// checks are on, one runs shortly after start when the last one (kept across
// restarts) is a check interval old, and again whenever it comes due.
class UpdateChecker : public QObject {
    Q_OBJECT

public:
    // `currentBuild` is the running build number, which the feed's
    // sparkle:version is compared with.
    UpdateChecker(UpdaterDelegate *delegate, QString currentBuild, QObject *parent = nullptr);

    bool automaticallyChecksForUpdates() const { return m_automatic; }
    void setAutomaticallyChecksForUpdates(bool automatic);
    void setUpdateCheckInterval(std::chrono::seconds interval);

    bool isScheduled() const { return m_schedule.isActive(); }
    // Tests shorten the silence that ends a feed request.
    void setIdleTimeoutForTesting(std::chrono::milliseconds timeout) { m_idleTimeout = timeout; }
    // When a check last ended, whoever started it; invalid when never.
    static QDateTime lastCheck();

    // How soon after start, and how often after that, the schedule looks
    // whether a check is due.
    static constexpr std::chrono::seconds firstLookDelay{3};
    static constexpr std::chrono::minutes recheckPeriod{30};
    // After a failed check, the next one comes this soon, doubled on each
    // failure in a row, at most the recheck period.
    static constexpr std::chrono::minutes firstRetryDelay{1};
    std::chrono::milliseconds retryDelay() const;
    std::chrono::milliseconds scheduledIn() const { return std::chrono::milliseconds(m_schedule.remainingTime()); }

    // A check the user asked for.
    void checkForUpdates();
    // A scheduled check in the background.
    void checkForUpdatesInBackground();

private:
    QCoro::Task<> check(bool userInitiated);
    void reschedule();
    void checkIfDue();

    UpdaterDelegate *m_delegate;
    QString m_currentBuild;
    bool m_automatic = false;
    bool m_checking = false;
    bool m_userWaiting = false;
    int m_failuresInARow = 0;
    std::chrono::milliseconds m_idleTimeout{60000};
    std::chrono::seconds m_interval{86400};
    QTimer m_schedule;
};
