#pragma once

#include "model/GHNotification.h"
#include "store/AccountSession.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

// The sessions of the accounts after the first, one per entry of the
// "accounts" preference, following it as accounts are added and removed.
// The store merges their threads with the first account's and hands them
// every action on a thread of theirs. Main thread only.
class AccountSessions : public QObject {
    Q_OBJECT

public:
    explicit AccountSessions(QObject *parent = nullptr);
    ~AccountSessions() override;

    // The sessions of the store that runs (the settings read their status);
    // null when none runs.
    static AccountSessions *current();

    const std::vector<std::unique_ptr<AccountSession>> &sessions() const { return m_sessions; }
    bool isEmpty() const { return m_sessions.empty(); }

    // The first account's threads followed by each account's, in the order
    // the accounts were added. With more than one account every thread names
    // its account; `firstName` names the first.
    QList<GHNotification> merged(const QList<GHNotification> &first, const QString &firstName) const;
    // What the views name a thread's account by: empty while there is only one.
    QString nameOf(const GHNotification &thread) const;
    // One line per account whose session has an error, naming the account.
    QStringList errorLines() const;

    // The session of a thread's key ("<host>/<login>/<id>") and the id
    // within it; null for the first account's threads.
    AccountSession *sessionFor(const QString &key, QString *id = nullptr) const;
    AccountSession *session(const QString &host, const QString &login) const;

    void refreshAll();
    void dismissErrors();
    void markAllAsRead();
    void markRepositoryAsRead(const QString &repoFullName);

signals:
    void itemsChanged();
    void errorsChanged();
    // An account was added or removed.
    void accountsChanged();
    void newThreads(const QList<GHNotification> &threads);

private:
    // Starts a session for each listed account that has none; stops and
    // drops the sessions of accounts no longer listed, with their threads,
    // raising no alert.
    void follow();

    std::vector<std::unique_ptr<AccountSession>> m_sessions;
};
