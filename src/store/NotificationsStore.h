#pragma once

#include "credentials/TokenState.h"
#include "model/GHNotification.h"
#include "store/AlertRules.h"
#include "store/QuietHours.h"
#include "store/Snoozes.h"
#include "store/AccountSessions.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// The one model behind every window: the merge of every account's session,
// with new-thread alerts, rules, snoozes and quiet hours over all of them.
// It fetches, paces and acts on nothing itself: each thread's session does.
// Lives on the main thread; views observe its properties.
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
    // Starts every account's session; the first account's read of the
    // secret store is the one that may show an unlock prompt. While no
    // account has a token the sample threads are shown and nothing is sent.
    explicit NotificationsStore(QObject *parent = nullptr);
    ~NotificationsStore() override;

    // Every account's threads: the first account's, then the others'.
    const QList<GHNotification> &items() const { return m_allItems; }
    const QString &searchText() const { return m_searchText; }
    void setSearchText(const QString &text);
    bool unreadOnly() const { return m_unreadOnly; }
    void setUnreadOnly(bool unreadOnly);
    // Whether any account's list is on its way.
    bool isRefreshing() const { return m_isRefreshing; }
    // The first account's error, or that no account has a token; the views'
    // line adds the other accounts'.
    std::optional<QString> lastError() const;
    QString lastErrorText() const;
    bool hasError() const { return m_lastError.has_value() || !m_accounts.errorLines().isEmpty(); }
    // Until the next poll of the account polled soonest.
    int secondsUntilRefresh() const { return m_secondsUntilRefresh; }
    // Stored while any account has a token; Checking until the secret store
    // first answers.
    TokenState::Status tokenStatus() const { return m_tokenStatus; }

    // Of the listed threads only.
    int unreadCount() const;
    // Each account's label with its unread count, in the accounts' order;
    // empty while there is only one account.
    QList<std::pair<QString, int>> unreadByAccount() const;
    // The panel's list: the listed threads filtered by unreadOnly and
    // searchText, unread first, then the latest update first.
    QList<GHNotification> filteredItems() const;

    // Rules and snoozes: a thread a rule hides, or that is snoozed, is
    // neither listed nor counted. Rules see the thread's own host.
    AlertRules::Action ruleAction(const GHNotification &thread) const;
    bool isSnoozed(const GHNotification &thread) const { return m_snoozes.isSnoozed(thread); }
    bool isListed(const GHNotification &thread) const;
    Snoozes &snoozes() { return m_snoozes; }
    QuietHours &quietHours() { return m_quietHours; }
    // A thread's key(); `length` is a Snoozes::Length.
    Q_INVOKABLE void snooze(const QString &key, int length);
    Q_INVOKABLE void unsnooze(const QString &key);
    // A rule for the repository of the thread with that key, that keeps its
    // threads from alerting, or hides them. With several accounts it names
    // the thread's host.
    Q_INVOKABLE void muteRepositoryAlerts(const QString &key);
    Q_INVOKABLE void hideRepository(const QString &key);

    // The "refreshInterval" preference, read afresh on every call.
    static int currentRefreshInterval();

    // Every account's list, paced as each account's GitHub asks; ends when
    // they have all answered.
    QCoro::Task<> refresh(AccountSession::Fetch why = AccountSession::Fetch::timed);
    bool timersRunning() const;
    // No account polls by itself until its next refresh; for callers that
    // poll on their own.
    void stopTimers();

    // The user's refresh (the button, the command line, D-Bus): every
    // account's whole list, as GitHub has it now.
    Q_INVOKABLE void requestRefresh();
    // The panel or the main window opened: lists whose last whole answer is
    // a minute old are asked for whole, so what was read on the web shows.
    void viewOpened();
    // Asks the secret store again (the panel does on every show): a token
    // saved or deleted by another program, or a keyring unlocked meanwhile.
    // Never shows an unlock prompt.
    Q_INVOKABLE void recheckToken();
    // The user asks to unlock a locked keyring: the desktop's prompt shows.
    Q_INVOKABLE void unlockKeyring();
    Q_INVOKABLE void dismissError();

    // Thread actions, addressed by thread key (GHNotification::key(): the
    // id, for the first account's threads), handed to the thread's session.
    Q_INVOKABLE void open(const QString &id);
    Q_INVOKABLE void toggleRead(const QString &id);
    Q_INVOKABLE void toggleMute(const QString &id);
    // Removes the thread from the list (GitHub's "done").
    Q_INVOKABLE void markAsDone(const QString &id);
    // Every account's threads, or those of one repository ("owner/name") on
    // every account, are marked read; threads that arrived since are not.
    Q_INVOKABLE void markAllAsRead();
    Q_INVOKABLE void markRepositoryAsRead(const QString &repoFullName);
    // The same for one account ("" for the first), or every account when absent.
    void markRepositoryAsRead(const QString &repoFullName, const std::optional<QString> &accountKey);
    Q_INVOKABLE void markAccountAsRead(const QString &accountKey);

    const AccountSessions &accounts() const { return m_accounts; }

    // New-thread alerts, from every account's session alike.
    // Only threads the rules let alert; held while it is quiet.
    void notifyNewNotifications(const QList<GHNotification> &newThreads);

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
    // A list of one account arrived: its snoozes settle, and its new threads
    // alert.
    void settleAndAlert(const QString &accountKey, QList<GHNotification> newThreads, bool hadPrevious);
    // Token status, refreshing and countdown, from the sessions.
    void followSessions();
    void mergeItems();
    // Alerts at once, whatever the quiet hours.
    void postAlert(const QList<GHNotification> &threads);
    // Snoozed or held threads that are back: those still unread and listed alert.
    void alertAgain(const QStringList &keys, bool heldWhileQuiet);
    void addRepositoryRule(const QString &key, AlertRules::Action action);
    // Runs `action` of the session of the thread with that key, with the
    // thread's id within it.
    void actOn(const QString &key, void (AccountSession::*action)(const QString &));
    void setLastError(std::optional<QString> message);

    AccountSessions m_accounts;
    QList<GHNotification> m_allItems;
    QString m_searchText;
    bool m_unreadOnly = false;
    bool m_isRefreshing = false;
    // That no account has a token, once a refresh was asked for.
    std::optional<QString> m_lastError;
    int m_secondsUntilRefresh = 0;
    TokenState::Status m_tokenStatus = TokenState::Status::Checking;
    Snoozes m_snoozes;
    QuietHours m_quietHours;
};
