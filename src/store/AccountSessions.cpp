#include "store/AccountSessions.h"

#include "credentials/AccountTokens.h"
#include "platform/NoticeCenter.h"
#include "settings/Accounts.h"
#include "settings/Notices.h"

namespace {

AccountSessions *&running()
{
    static AccountSessions *sessions = nullptr;
    return sessions;
}

} // namespace

AccountSessions::AccountSessions(QObject *parent) : QObject(parent), m_first(AccountSession::first())
{
    running() = this;
    adopt(m_first.get());
    NoticeCenter::instance().observe(QString::fromLatin1(Notices::accountsChanged), this,
                                     [this](const QVariant &) { follow(); });
    follow();
}

AccountSessions::~AccountSessions()
{
    if (running() == this)
        running() = nullptr;
}

AccountSessions *AccountSessions::current()
{
    return running();
}

QList<AccountSession *> AccountSessions::all() const
{
    QList<AccountSession *> list{m_first.get()};
    for (const auto &session : m_sessions)
        list.append(session.get());
    return list;
}

void AccountSessions::adopt(AccountSession *session)
{
    connect(session, &AccountSession::itemsChanged, this, &AccountSessions::itemsChanged);
    connect(session, &AccountSession::lastErrorChanged, this, &AccountSessions::errorsChanged);
    for (auto changed : {&AccountSession::tokenStatusChanged, &AccountSession::isRefreshingChanged,
                         &AccountSession::secondsUntilRefreshChanged})
        connect(session, changed, this, &AccountSessions::stateChanged);
    connect(session, &AccountSession::refreshedWithoutToken, this, &AccountSessions::refreshedWithoutToken);
    connect(session, &AccountSession::listed, this,
            [this, session](const QList<GHNotification> &newThreads, bool hadPrevious) {
                emit listed(session->key(), newThreads, hadPrevious);
            });
}

void AccountSessions::follow()
{
    const QList<Accounts::Entry> listed = Accounts::list();
    // Taken out of the list before any is stopped: what a stopping session
    // announces reads the list, which then holds the kept ones only.
    std::vector<std::unique_ptr<AccountSession>> gone;
    for (auto &session : m_sessions) {
        if (!listed.contains(Accounts::Entry{session->host().name(), session->login()}))
            gone.push_back(std::move(session));
    }
    std::erase(m_sessions, nullptr);
    for (const auto &session : gone) {
        session->disconnect(this);
        session->stop();
        emit removed(session->key());
    }
    bool changed = !gone.empty();
    for (const Accounts::Entry &entry : listed) {
        const std::optional<AccountHost> host = AccountHost::parse(entry.host);
        // Only the stored form itself: anything else names another item.
        if (!host || host->name() != entry.host || session(entry.host, entry.login))
            continue;
        m_sessions.push_back(std::make_unique<AccountSession>(
            *host, entry.login, AccountCredential::item(AccountTokens::itemName(entry.host, entry.login))));
        adopt(m_sessions.back().get());
        m_sessions.back()->start();
        changed = true;
    }
    if (!changed)
        return;
    emit accountsChanged();
    emit itemsChanged();
    emit errorsChanged();
    emit stateChanged();
}

QList<GHNotification> AccountSessions::merged() const
{
    if (m_sessions.empty())
        return m_first->items();
    QList<GHNotification> all;
    for (const AccountSession *session : this->all()) {
        const QString name = session->label();
        for (GHNotification thread : session->items()) {
            thread.account.name = name;
            all.append(std::move(thread));
        }
    }
    return all;
}

QString AccountSessions::nameOf(const GHNotification &thread) const
{
    if (m_sessions.empty())
        return {};
    return sessionFor(thread.key()).label();
}

QStringList AccountSessions::errorLines() const
{
    QStringList lines;
    if (m_first->lastError())
        lines.append(*m_first->lastError());
    for (const auto &session : m_sessions) {
        if (session->lastError())
            lines.append(session->label() + QStringLiteral(": ") + *session->lastError());
    }
    return lines;
}

TokenState::Status AccountSessions::tokenStatus() const
{
    using Status = TokenState::Status;
    const QList<AccountSession *> sessions = all();
    for (const Status status : {Status::Stored, Status::Locked, Status::Unavailable, Status::Checking}) {
        if (std::any_of(sessions.cbegin(), sessions.cend(),
                        [status](const AccountSession *session) { return session->tokenStatus() == status; }))
            return status;
    }
    return Status::Missing;
}

AccountSession &AccountSessions::sessionFor(const QString &key, QString *id) const
{
    for (const auto &session : m_sessions) {
        const QString prefix = session->key() + u'/';
        if (key.startsWith(prefix)) {
            if (id)
                *id = key.mid(prefix.size());
            return *session;
        }
    }
    if (id)
        *id = key;
    return *m_first;
}

AccountSession *AccountSessions::session(const QString &host, const QString &login) const
{
    for (const auto &session : m_sessions) {
        if (session->host().name() == host && session->login() == login)
            return session.get();
    }
    return nullptr;
}

AccountSession *AccountSessions::sessionOfAccount(const QString &accountKey) const
{
    for (AccountSession *session : all()) {
        if (session->key() == accountKey)
            return session;
    }
    return nullptr;
}
