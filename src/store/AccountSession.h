#pragma once

#include "api/AccountHost.h"
#include "api/ClientError.h"
#include "api/GitHubAPIClient.h"
#include "credentials/AccountCredential.h"
#include "model/GHNotification.h"
#include "store/ListFreshness.h"
#include "store/SubjectDetailsFetcher.h"
#include "store/ThreadMerge.h"
#include "store/ThreadRequestQueue.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

// One account, on github.com or a GitHub Enterprise Server: its token, its
// poll timer and countdown, GitHub's pace for it, its threads with their
// details and dismissals, the actions on them and its error line. Its
// requests go to its own host with its own token only; one account failing
// never touches another's session. The first account differs only in where
// its token lives and in having no login of its own: its threads are keyed
// by their bare ids. Main thread only.
class AccountSession : public QObject {
    Q_OBJECT

public:
    // The first account: github.com, with the item "github-token".
    static std::unique_ptr<AccountSession> first();
    // Another account, with the item "github-token/<host>/<login>".
    AccountSession(AccountHost host, QString login, std::unique_ptr<AccountCredential> credential,
                   QObject *parent = nullptr);
    ~AccountSession() override;

    const AccountHost &host() const { return m_host; }
    // Empty for the first account.
    const QString &login() const { return m_login; }
    bool isFirst() const { return m_login.isEmpty(); }
    // "<host>/<login>", the account part of its threads' keys; empty for the first.
    QString key() const { return isFirst() ? QString() : m_host.name() + u'/' + m_login; }
    // "github.com" for the first, "alice" on github.com, "alice@ghe.example.com" elsewhere.
    QString label() const;

    const QList<GHNotification> &items() const { return m_items; }
    const std::optional<QString> &lastError() const { return m_lastError; }
    TokenState::Status tokenStatus() const { return m_tokenStatus; }
    bool hasToken() const { return m_tokenStatus == TokenState::Status::Stored; }
    // Whether its token was read and its last list arrived.
    bool connected() const { return hasToken() && !m_lastError && m_listFetchedAt.isValid(); }
    bool isRefreshing() const { return m_isRefreshing; }
    int secondsUntilRefresh() const { return m_secondsUntilRefresh; }
    bool timersRunning() const { return m_polling; }
    // Bumped whenever its token changes: what was learnt with another token
    // does not apply.
    quint64 generation() const { return m_session; }

    // Reads the token, then polls while one is stored.
    void start(KeychainManager::Prompt prompt = KeychainManager::Prompt::never);
    // Removal: nothing more is sent, and what its token fetched is forgotten.
    void stop();
    // Why a list is asked for, which says whether it is asked for whole.
    using Fetch = ListFreshness::Fetch;
    // Its list: unless one is on its way, or no token is stored. Never sooner
    // than GitHub's poll interval after the last one, nor during a pause
    // GitHub asked for: a fetch asked for too early goes out when that ends,
    // and the countdown says when.
    QCoro::Task<> refresh(Fetch why = Fetch::timed);
    // Asks the secret store again.
    void recheckToken(KeychainManager::Prompt prompt = KeychainManager::Prompt::never);
    void startTimers();
    void stopTimers();
    void dismissError();

    // Thread actions, by the thread's id within this account: the local
    // change comes first, the request follows, and a refused request rolls
    // the change back and shows the error.
    void open(const QString &id);
    void toggleRead(const QString &id);
    void toggleMute(const QString &id);
    // Removes the thread from the list (GitHub's "done").
    void markAsDone(const QString &id);
    // Every thread of the list being looked at, or of one repository
    // ("owner/name"), is marked read; threads that arrived since are not.
    void markAllAsRead();
    void markRepositoryAsRead(const QString &repoFullName);

signals:
    void itemsChanged();
    void lastErrorChanged();
    void tokenStatusChanged();
    void isRefreshingChanged();
    void secondsUntilRefreshChanged();
    // A list arrived: `newThreads` are the unread ones with activity the
    // list before did not show, `hadPrevious` whether a list arrived before
    // this one with this token (an empty one counts).
    void listed(const QList<GHNotification> &newThreads, bool hadPrevious);
    // A refresh was asked for while no token is stored.
    void refreshedWithoutToken();

private:
    // The token's life: a session runs while a token is stored. Requests of
    // an ended session are dropped when they answer.
    void followCredential();
    void startSession();
    void endSession();
    // A keyring locked or failing: the threads and the queued actions are
    // kept, nothing is sent, and the secret store is asked again quietly.
    void suspendSession(TokenState::Status status, const std::optional<QString> &reason);
    // The same token back: the queued actions go out, and a fetch merges
    // into the kept list, so what arrived meanwhile alerts as usual.
    void resumeSession();
    bool suspended() const;
    GitHubAPIClient::Access access() const { return {m_host.apiBase(), m_token}; }

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
    // When GitHub lets the next list request go out: its poll interval after
    // the last one, or the end of a pause it asked for; invalid when now.
    QDateTime earliestFetch() const;

    void setItems(QList<GHNotification> items);
    void setLastError(std::optional<QString> message);
    void setTokenStatus(TokenState::Status status);
    void setRefreshing(bool refreshing);
    void setSecondsUntilRefresh(int seconds);
    qsizetype indexOf(const QString &id) const;
    // Sends an action's request when its turn comes; a refusal runs `undo`,
    // unless the token changed meanwhile.
    using Request = std::function<QCoro::Task<std::optional<ClientError>>(GitHubAPIClient::Access)>;
    void enqueue(const QString &queueKey, Request request, std::function<void(const ClientError &)> undo);
    void restoreUnread(const QStringList &ids, const ClientError &error);
    // A server without "done" offers it no more.
    void withdrawDone();

    AccountHost m_host;
    QString m_login;
    std::unique_ptr<AccountCredential> m_credential;
    TokenState::Status m_tokenStatus = TokenState::Status::Checking;
    bool m_stopped = false;
    // A refresh asked for before the secret store first answered.
    bool m_refreshAfterTokenCheck = false;
    quint64 m_session = 0;
    // The token of the session, and its digest: what tells a resume from a
    // new token, and GitHub's pace for it.
    QString m_token;
    QByteArray m_digest;
    // Bumped whenever a fetch's answer stops being wanted (suspend, start, end).
    quint64 m_fetchGeneration = 0;
    bool m_isRefreshing = false;
    std::optional<QString> m_lastError;
    int m_secondsUntilRefresh = 0;
    bool m_enterpriseWithoutDone = false;
    bool m_doneRefused = false;
    QList<GHNotification> m_items;
    ThreadMerge::Dismissals m_dismissed;
    bool m_polling = false;
    QDateTime m_lastPoll;
    // When the list shown was asked for.
    QDateTime m_listFetchedAt;
    ListFreshness m_freshness;
    // The last list saw only its newest pages, down to this update time.
    std::optional<QDateTime> m_seenDownTo;
    QTimer m_refreshTimer;
    QTimer m_countdownTimer;
    // Asks an unavailable secret store again.
    QTimer m_tokenRetry;
    ThreadRequestQueue m_requests;
    // Fills the rows' state and latest actor after each list is shown.
    SubjectDetailsFetcher m_details;
};
