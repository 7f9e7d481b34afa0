#pragma once

#include "credentials/TokenState.h"
#include "model/GHNotification.h"
#include "store/AccountSession.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

// The session of every account: the first account's, always there, and one
// per entry of the "accounts" preference, following it as accounts are added
// and removed. Main thread only.
class AccountSessions : public QObject {
    Q_OBJECT

public:
    explicit AccountSessions(QObject *parent = nullptr);
    ~AccountSessions() override;

    // The sessions of the store that runs (the settings read their status);
    // null when none runs.
    static AccountSessions *current();

    AccountSession &first() const { return *m_first; }
    // The accounts after the first.
    const std::vector<std::unique_ptr<AccountSession>> &sessions() const { return m_sessions; }
    bool isEmpty() const { return m_sessions.empty(); }
    // The first account's session, then the others', in the order the
    // accounts were added.
    QList<AccountSession *> all() const;

    // Every account's threads. With more than one account every thread names
    // its account.
    QList<GHNotification> merged() const;
    // What the views name a thread's account by: empty while there is only one.
    QString nameOf(const GHNotification &thread) const;
    // The first account's error line as it is, then one line per other
    // account whose session has an error, naming the account.
    QStringList errorLines() const;
    // Stored while any account has a token; otherwise the state of the
    // first account, unless another's says more (locked, failing, checking).
    TokenState::Status tokenStatus() const;

    // The session of a thread's key (the bare id for the first account's
    // threads, "<host>/<login>/<id>" for others) and the id within it.
    AccountSession &sessionFor(const QString &key, QString *id = nullptr) const;
    AccountSession *session(const QString &host, const QString &login) const;
    // The session of an account key ("" for the first); null when gone.
    AccountSession *sessionOfAccount(const QString &accountKey) const;

signals:
    void itemsChanged();
    void errorsChanged();
    // Token status, refreshing or countdown of some session.
    void stateChanged();
    // An account was added or removed.
    void accountsChanged();
    // An account's list arrived; see AccountSession::listed.
    void listed(const QString &accountKey, const QList<GHNotification> &newThreads, bool hadPrevious);
    // Some account's refresh was asked for while it had no token.
    void refreshedWithoutToken();
    // An account was removed: nothing of it is left.
    void removed(const QString &accountKey);

private:
    void adopt(AccountSession *session);
    // Starts a session for each listed account that has none; stops and
    // drops the sessions of accounts no longer listed, with their threads,
    // raising no alert.
    void follow();

    std::unique_ptr<AccountSession> m_first;
    std::vector<std::unique_ptr<AccountSession>> m_sessions;
};
