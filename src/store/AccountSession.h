#pragma once

#include "api/AccountHost.h"
#include "api/ClientError.h"
#include "api/GitHubAPIClient.h"
#include "model/GHNotification.h"
#include "store/SubjectDetailsFetcher.h"
#include "store/ThreadMerge.h"
#include "store/ThreadRequestQueue.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

// One account after the first, on github.com or a GitHub Enterprise Server:
// its token, its own poll timer and pace, its threads and its error line.
// Its requests go to its own host with its own token only. One account
// failing never touches another's session. Main thread only.
class AccountSession : public QObject {
    Q_OBJECT

public:
    AccountSession(AccountHost host, QString login, QObject *parent = nullptr);
    ~AccountSession() override;

    const AccountHost &host() const { return m_host; }
    const QString &login() const { return m_login; }
    // "<host>/<login>": the account part of its threads' keys.
    QString key() const { return m_host.name() + u'/' + m_login; }
    // "alice" on github.com, "alice@ghe.example.com" elsewhere.
    QString label() const;

    const QList<GHNotification> &items() const { return m_items; }
    const std::optional<QString> &lastError() const { return m_lastError; }
    // Whether its token was read and its last list arrived.
    bool connected() const { return m_token && !m_lastError; }
    bool canMarkDone() const { return m_canMarkDone; }

    // Reads the token, then polls. Never shows an unlock prompt.
    void start();
    // Removal: nothing more is sent, and what its token fetched is forgotten.
    void stop();
    // A fetch now, unless one is out or no token was read; reads the token
    // again when it could not be read before.
    void refresh();
    // After a resume or a reconnection: a poll now, unless GitHub asked for
    // a pause or for more time between polls.
    void pollSoon();
    void dismissError();

    void open(const QString &id);
    void toggleRead(const QString &id);
    void toggleMute(const QString &id);
    void markAsDone(const QString &id);
    void markAllAsRead();
    void markRepositoryAsRead(const QString &repoFullName);

signals:
    void itemsChanged();
    void lastErrorChanged();
    // Unread threads that were not in the list before; never from its first list.
    void newThreads(const QList<GHNotification> &threads);

private:
    QCoro::Task<> readToken();
    QCoro::Task<> fetch();
    void scheduleNextPoll();
    void setLastError(std::optional<QString> message);
    void setItems(QList<GHNotification> items);
    qsizetype indexOf(const QString &id) const;
    GitHubAPIClient::Access credentials() const { return {m_host.apiBase(), m_token.value_or(QString())}; }
    QByteArray pacingKey() const;
    // Sends an action's request when its turn comes; a refusal runs `undo`
    // and shows the error, unless the session was stopped meanwhile.
    void enqueue(const QString &queueKey, std::function<QCoro::Task<std::optional<ClientError>>()> request,
                 std::function<void(const ClientError &)> undo);

    AccountHost m_host;
    QString m_login;
    std::optional<QString> m_token;
    bool m_readingToken = false;
    bool m_fetching = false;
    bool m_stopped = false;
    bool m_canMarkDone = true;
    QList<GHNotification> m_items;
    std::optional<QString> m_lastError;
    ThreadMerge::Dismissals m_dismissed;
    QDateTime m_lastPoll;
    QDateTime m_listFetchedAt;
    QTimer m_pollTimer;
    ThreadRequestQueue m_requests;
    SubjectDetailsFetcher m_details;
};
