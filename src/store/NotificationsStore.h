#pragma once

#include "api/ClientError.h"
#include "credentials/TokenState.h"
#include "model/GHNotification.h"
#include "store/AlertRules.h"
#include "store/QuietHours.h"
#include "store/Snoozes.h"
#include "store/AccountSessions.h"
#include "store/ThreadMerge.h"
#include "store/SubjectDetailsFetcher.h"
#include "store/ThreadRequestQueue.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

// The one model behind every window: the threads, the refresh cycle with its
// timers and countdown, new-thread alerts and the per-thread actions. Lives
// on the main thread; views observe its properties.
class NotificationsStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<GHNotification> items READ items NOTIFY itemsChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(bool unreadOnly READ unreadOnly WRITE setUnreadOnly NOTIFY unreadOnlyChanged)
    Q_PROPERTY(bool isRefreshing READ isRefreshing NOTIFY isRefreshingChanged)
    Q_PROPERTY(QString lastError READ lastErrorText NOTIFY lastErrorChanged)
    Q_PROPERTY(bool hasError READ hasError NOTIFY lastErrorChanged)
    Q_PROPERTY(int secondsUntilRefresh READ secondsUntilRefresh NOTIFY secondsUntilRefreshChanged)
    Q_PROPERTY(int unreadCount READ unreadCount NOTIFY itemsChanged)
    Q_PROPERTY(TokenState::Status tokenStatus READ tokenStatus NOTIFY tokenStatusChanged)

public:
    // Asks the secret store for the token, off the GUI thread, and follows
    // its answer and every later save and delete: with a token, the list is
    // emptied, a fetch starts and the timers run; without one the sample
    // threads are shown and nothing is sent.
    explicit NotificationsStore(QObject *parent = nullptr);
    ~NotificationsStore() override;

    // Every account's threads: the first account's, then the others'.
    const QList<GHNotification> &items() const { return m_allItems; }
    const QString &searchText() const { return m_searchText; }
    void setSearchText(const QString &text);
    bool unreadOnly() const { return m_unreadOnly; }
    void setUnreadOnly(bool unreadOnly);
    bool isRefreshing() const { return m_isRefreshing; }
    // The first account's error; the views' line adds the other accounts'.
    const std::optional<QString> &lastError() const { return m_lastError; }
    QString lastErrorText() const;
    bool hasError() const { return m_lastError.has_value() || !m_accounts.errorLines().isEmpty(); }
    int secondsUntilRefresh() const { return m_secondsUntilRefresh; }
    // Checking until the secret store first answers this store.
    TokenState::Status tokenStatus() const { return m_tokenStatus; }

    // Of the listed threads only.
    int unreadCount() const;
    // The panel's list: the listed threads filtered by unreadOnly and
    // searchText, unread first, then the latest update first.
    QList<GHNotification> filteredItems() const;

    // Rules and snoozes: a thread a rule hides, or that is snoozed, is
    // neither listed nor counted.
    AlertRules::Action ruleAction(const GHNotification &thread) const;
    bool isSnoozed(const GHNotification &thread) const { return m_snoozes.isSnoozed(thread); }
    bool isListed(const GHNotification &thread) const;
    Snoozes &snoozes() { return m_snoozes; }
    QuietHours &quietHours() { return m_quietHours; }
    // A thread's key(); `length` is a Snoozes::Length.
    Q_INVOKABLE void snooze(const QString &key, int length);
    Q_INVOKABLE void unsnooze(const QString &key);
    // "owner/name": a rule that keeps its threads from alerting, or hides them.
    Q_INVOKABLE void muteRepositoryAlerts(const QString &repoFullName);
    Q_INVOKABLE void hideRepository(const QString &repoFullName);

    // The "refreshInterval" preference, read afresh on every call.
    static int currentRefreshInterval();

    QCoro::Task<> refresh();
    void startTimers();
    void stopTimers();
    bool timersRunning() const { return m_polling; }

    // Every account's list, now.
    Q_INVOKABLE void requestRefresh();
    // Asks the secret store again (the panel does on every show): a token
    // saved or deleted by another program, or a keyring unlocked meanwhile.
    // Never shows an unlock prompt.
    Q_INVOKABLE void recheckToken();
    // The user asks to unlock a locked keyring: the desktop's prompt shows.
    Q_INVOKABLE void unlockKeyring();
    Q_INVOKABLE void dismissError();

    // Thread actions, addressed by thread key (GHNotification::key(): the
    // id, for the first account's threads).
    Q_INVOKABLE void open(const QString &id);
    Q_INVOKABLE void toggleRead(const QString &id);
    Q_INVOKABLE void toggleMute(const QString &id);
    // Removes the thread from the list (GitHub's "done").
    Q_INVOKABLE void markAsDone(const QString &id);
    // Every thread of the list being looked at, or of one repository
    // ("owner/name"), is marked read; threads that arrived since are not.
    Q_INVOKABLE void markAllAsRead();
    Q_INVOKABLE void markRepositoryAsRead(const QString &repoFullName);
    // The same for one account's list ("" for the first account).
    Q_INVOKABLE void markAccountAsRead(const QString &accountKey);

    // The accounts after the first.
    const AccountSessions &accounts() const { return m_accounts; }

    // New-thread alerts.
    // Only threads the rules let alert; held while it is quiet.
    void notifyNewNotifications(const QList<GHNotification> &newThreads);
    static void playNotificationSound();

signals:
    void itemsChanged();
    void searchTextChanged();
    void unreadOnlyChanged();
    void isRefreshingChanged();
    void lastErrorChanged();
    void secondsUntilRefreshChanged();
    void filteredItemsChanged();
    void tokenStatusChanged();
    // The user clicked an alert about several new threads: show them.
    void alertActivated();

private:
    // The token's life: a session runs while a token is stored. Requests of
    // an ended session are dropped when they answer.
    void followTokenState();
    void startSession();
    void endSession();
    // A keyring locked or failing: the threads and the queued actions are
    // kept, nothing is sent, and the secret store is asked again quietly.
    void suspendSession(TokenState::Status status, const std::optional<QString> &reason);
    // The same token back: the queued actions go out, and a fetch merges
    // into the kept list, so what arrived meanwhile alerts as usual.
    void resumeSession();
    bool suspended() const;
    // Remembers what the user dismissed, so that older answers cannot undo it.
    void recordDismissal(const GHNotification &thread, ThreadMerge::Dismissal::Kind kind);
    void forgetDismissal(const QString &id);
    void setTokenStatus(TokenState::Status status);
    // Alerts at once, whatever the quiet hours.
    void postAlert(const QList<GHNotification> &threads);
    // Snoozed or held threads that are back: those still unread and listed alert.
    void alertAgain(const QStringList &keys, bool heldWhileQuiet);

    void setItems(QList<GHNotification> items);
    void setRefreshing(bool refreshing);
    void setLastError(std::optional<QString> message);
    void setSecondsUntilRefresh(int seconds);
    // The time between two timed polls: the user's interval, or GitHub's
    // poll interval when that is longer.
    std::chrono::milliseconds pollPeriod() const;
    // Arms the poll timer when a refresh ends, however it was started, so the
    // countdown always says when the next request goes out.
    void scheduleNextPoll();
    void updateCountdown();
    // After a resume or a reconnection: a poll now, unless GitHub asked for
    // a pause or for more time between polls.
    void pollSoon();

    QCoro::Task<> sendMarkRead(QString id, qsizetype position, quint64 session);
    QCoro::Task<> sendMute(QString id, qsizetype position, bool previous, quint64 session);
    // Where the rollback applies: the remembered position while it still holds
    // the thread, else wherever the thread is now; absent when it is gone.
    std::optional<qsizetype> rollbackPosition(const QString &id, qsizetype remembered) const;
    void markReadWhere(const QString &queueKey, const std::function<bool(const GHNotification &)> &matches,
                       std::function<QCoro::Task<std::optional<ClientError>>(QDateTime)> request);
    qsizetype indexOf(const QString &id) const;

    // The first account's threads.
    QList<GHNotification> m_items;
    AccountSessions m_accounts;
    QList<GHNotification> m_allItems;
    QString m_searchText;
    bool m_unreadOnly = false;
    bool m_isRefreshing = false;
    std::optional<QString> m_lastError;
    int m_secondsUntilRefresh = 0;
    TokenState::Status m_tokenStatus = TokenState::Status::Checking;
    // A refresh asked for before the secret store first answered.
    bool m_refreshAfterTokenCheck = false;
    quint64 m_session = 0;
    // The token of the session, to tell a resume from a new token.
    QByteArray m_sessionDigest;
    // Bumped whenever a fetch's answer stops being wanted (suspend, start, end).
    quint64 m_fetchGeneration = 0;
    ThreadMerge::Dismissals m_dismissed;
    Snoozes m_snoozes;
    QuietHours m_quietHours;
    bool m_polling = false;
    QDateTime m_lastPoll;
    // When the list shown was asked for.
    QDateTime m_listFetchedAt;
    QTimer m_refreshTimer;
    QTimer m_countdownTimer;
    // Asks an unavailable secret store again.
    QTimer m_tokenRetry;
    ThreadRequestQueue m_threadRequests;
    // Fills the rows' state and latest actor after each list is shown.
    SubjectDetailsFetcher m_subjectDetails;
};
