#include "views/settings/AccountsViewModel.h"

#include "platform/NoticeCenter.h"
#include "settings/Accounts.h"
#include "settings/Notices.h"
#include "store/AccountEnrolment.h"
#include "store/AccountSessions.h"

#include <QPointer>
#include <QUrl>

AccountsViewModel::AccountsViewModel(QObject *parent) : QObject(parent)
{
    NoticeCenter::instance().observe(QString::fromLatin1(Notices::accountsChanged), this, [this](const QVariant &) {
        followSessions();
        emit accountsChanged();
    });
    followSessions();
}

void AccountsViewModel::followSessions()
{
    AccountSessions *sessions = AccountSessions::current();
    if (!sessions)
        return;
    for (auto changed :
         {&AccountSessions::errorsChanged, &AccountSessions::itemsChanged, &AccountSessions::accountsChanged})
        connect(sessions, changed, this, &AccountsViewModel::accountsChanged, Qt::UniqueConnection);
}

QVariantList AccountsViewModel::accounts() const
{
    const AccountSessions *sessions = AccountSessions::current();
    QVariantList list;
    for (const Accounts::Entry &entry : Accounts::list()) {
        const AccountSession *session = sessions ? sessions->session(entry.host, entry.login) : nullptr;
        QString status;
        if (session && session->lastError())
            status = *session->lastError();
        else if (session && session->connected())
            status = tr("Connected");
        else
            status = tr("Connecting…");
        list.append(QVariantMap{{QStringLiteral("host"), entry.host},
                                {QStringLiteral("login"), entry.login},
                                {QStringLiteral("status"), status}});
    }
    return list;
}

void AccountsViewModel::setHostInput(const QString &host)
{
    if (host == m_hostInput)
        return;
    m_hostInput = host;
    emit inputChanged();
}

void AccountsViewModel::setTokenInput(const QString &token)
{
    if (token == m_tokenInput)
        return;
    m_tokenInput = token;
    emit inputChanged();
}

void AccountsViewModel::setStatus(const QString &message, bool success)
{
    m_statusMessage = message;
    m_isSuccess = success;
    emit statusChanged();
}

void AccountsViewModel::add()
{
    if (m_isAdding || m_hostInput.trimmed().isEmpty() || m_tokenInput.isEmpty())
        return;
    enrol(m_hostInput, m_tokenInput);
}

void AccountsViewModel::addWithGitHubCliToken()
{
    if (m_isAdding || m_hostInput.trimmed().isEmpty())
        return;
    enrol(m_hostInput, std::nullopt);
}

QCoro::Task<> AccountsViewModel::enrol(QString host, std::optional<QString> token)
{
    m_isAdding = true;
    emit isAddingChanged();
    QPointer<AccountsViewModel> self(this);
    if (!token) {
        // The CLI names a host as typed, without a scheme or a path.
        const QUrl typed = QUrl::fromUserInput(host.trimmed());
        const QString name = typed.port() > 0 ? typed.host() + u':' + QString::number(typed.port()) : typed.host();
        const auto answer = co_await GitHubCli::token(name);
        if (!self)
            co_return;
        if (const auto *failure = std::get_if<GitHubCli::Failure>(&answer)) {
            m_isAdding = false;
            emit isAddingChanged();
            setStatus(failure->description, false);
            co_return;
        }
        token = std::get<QString>(answer);
    }
    auto adding = AccountEnrolment::add(std::move(host), std::move(*token));
    const AccountEnrolment::AddResult added = co_await std::move(adding);
    if (!self)
        co_return;
    m_isAdding = false;
    emit isAddingChanged();
    if (const auto *refusal = std::get_if<QString>(&added)) {
        setStatus(*refusal, false);
        co_return;
    }
    const Accounts::Entry &entry = std::get<Accounts::Entry>(added);
    setStatus(tr("Added %1 on %2").arg(entry.login, entry.host), true);
    m_hostInput.clear();
    m_tokenInput.clear();
    emit inputChanged();
}

void AccountsViewModel::remove(const QString &host, const QString &login)
{
    QPointer<AccountsViewModel> self(this);
    [](QPointer<AccountsViewModel> self, Accounts::Entry entry) -> QCoro::Task<> {
        auto removing = AccountEnrolment::remove(entry);
        const std::optional<QString> failed = co_await std::move(removing);
        if (self && failed)
            self->setStatus(tr("Failed to delete token: %1").arg(*failed), false);
    }(self, Accounts::Entry{host, login});
}
