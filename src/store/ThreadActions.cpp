// The store hands every action on a thread to the session of the thread's
// account, and actions on many threads to each session concerned.

#include "store/NotificationsStore.h"

void NotificationsStore::actOn(const QString &key, void (AccountSession::*action)(const QString &))
{
    QString id;
    AccountSession &session = m_accounts.sessionFor(key, &id);
    (session.*action)(id);
}

void NotificationsStore::open(const QString &id)
{
    actOn(id, &AccountSession::open);
}

void NotificationsStore::toggleRead(const QString &id)
{
    actOn(id, &AccountSession::toggleRead);
}

void NotificationsStore::toggleMute(const QString &id)
{
    actOn(id, &AccountSession::toggleMute);
}

void NotificationsStore::markAsDone(const QString &id)
{
    actOn(id, &AccountSession::markAsDone);
}

void NotificationsStore::markAllAsRead()
{
    for (AccountSession *session : m_accounts.all())
        session->markAllAsRead();
}

void NotificationsStore::markRepositoryAsRead(const QString &repoFullName)
{
    markRepositoryAsRead(repoFullName, std::nullopt);
}

void NotificationsStore::markRepositoryAsRead(const QString &repoFullName, const std::optional<QString> &accountKey)
{
    for (AccountSession *session : m_accounts.all()) {
        if (!accountKey || session->key() == *accountKey)
            session->markRepositoryAsRead(repoFullName);
    }
}

void NotificationsStore::markAccountAsRead(const QString &accountKey)
{
    if (AccountSession *session = m_accounts.sessionOfAccount(accountKey))
        session->markAllAsRead();
}
