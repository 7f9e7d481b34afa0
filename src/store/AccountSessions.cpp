#include "store/AccountSessions.h"

#include "credentials/TokenState.h"
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

AccountSessions::AccountSessions(QObject *parent) : QObject(parent)
{
    running() = this;
    NoticeCenter::instance().observe(QString::fromLatin1(Notices::accountsChanged), this,
                                     [this](const QVariant &) { follow(); });
    // The keyring answering again (unlocked, or back): a session that could
    // not read its token tries again.
    connect(&TokenState::shared(), &TokenState::readFinished, this, [this] {
        for (const auto &session : m_sessions) {
            if (session->lastError())
                session->refresh();
        }
    });
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

void AccountSessions::follow()
{
    const QList<Accounts::Entry> listed = Accounts::list();
    bool changed = false;
    std::erase_if(m_sessions, [&](const std::unique_ptr<AccountSession> &session) {
        const bool keep = listed.contains(Accounts::Entry{session->host().name(), session->login()});
        if (!keep) {
            session->stop();
            changed = true;
        }
        return !keep;
    });
    for (const Accounts::Entry &entry : listed) {
        const std::optional<AccountHost> host = AccountHost::parse(entry.host);
        // Only the stored form itself: anything else names another item.
        if (!host || host->name() != entry.host || session(entry.host, entry.login))
            continue;
        auto created = std::make_unique<AccountSession>(*host, entry.login);
        AccountSession *added = created.get();
        connect(added, &AccountSession::itemsChanged, this, &AccountSessions::itemsChanged);
        connect(added, &AccountSession::lastErrorChanged, this, &AccountSessions::errorsChanged);
        connect(added, &AccountSession::newThreads, this, &AccountSessions::newThreads);
        m_sessions.push_back(std::move(created));
        added->start();
        changed = true;
    }
    if (!changed)
        return;
    emit accountsChanged();
    emit itemsChanged();
    emit errorsChanged();
}

QList<GHNotification> AccountSessions::merged(const QList<GHNotification> &first, const QString &firstName) const
{
    if (m_sessions.empty())
        return first;
    QList<GHNotification> all = first;
    for (GHNotification &thread : all)
        thread.account.name = firstName;
    for (const auto &session : m_sessions) {
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
    if (const AccountSession *session = sessionFor(thread.key()))
        return session->label();
    return QStringLiteral("github.com");
}

QStringList AccountSessions::errorLines() const
{
    QStringList lines;
    for (const auto &session : m_sessions) {
        if (session->lastError())
            lines.append(session->label() + QStringLiteral(": ") + *session->lastError());
    }
    return lines;
}

AccountSession *AccountSessions::sessionFor(const QString &key, QString *id) const
{
    for (const auto &session : m_sessions) {
        const QString prefix = session->key() + u'/';
        if (key.startsWith(prefix)) {
            if (id)
                *id = key.mid(prefix.size());
            return session.get();
        }
    }
    return nullptr;
}

AccountSession *AccountSessions::session(const QString &host, const QString &login) const
{
    for (const auto &session : m_sessions) {
        if (session->host().name() == host && session->login() == login)
            return session.get();
    }
    return nullptr;
}

void AccountSessions::refreshAll()
{
    for (const auto &session : m_sessions)
        session->refresh();
}

void AccountSessions::dismissErrors()
{
    for (const auto &session : m_sessions)
        session->dismissError();
}

void AccountSessions::markAllAsRead()
{
    for (const auto &session : m_sessions)
        session->markAllAsRead();
}

void AccountSessions::markRepositoryAsRead(const QString &repoFullName)
{
    for (const auto &session : m_sessions)
        session->markRepositoryAsRead(repoFullName);
}
