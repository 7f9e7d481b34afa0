#include "views/settings/AccountsViewModel.h"

#include "platform/NoticeCenter.h"
#include "settings/Accounts.h"
#include "settings/Notices.h"
#include "store/AccountEnrolment.h"
#include "store/AccountSessions.h"

#include <QPointer>

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
    m_isAdding = true;
    emit isAddingChanged();
    QPointer<AccountsViewModel> self(this);
    [](QPointer<AccountsViewModel> self, QString host, QString token) -> QCoro::Task<> {
        auto adding = AccountEnrolment::add(std::move(host), std::move(token));
        const AccountEnrolment::AddResult added = co_await std::move(adding);
        if (!self)
            co_return;
        self->m_isAdding = false;
        emit self->isAddingChanged();
        if (const auto *refusal = std::get_if<QString>(&added)) {
            self->setStatus(*refusal, false);
            co_return;
        }
        const Accounts::Entry &entry = std::get<Accounts::Entry>(added);
        self->setStatus(tr("Added %1 on %2").arg(entry.login, entry.host), true);
        self->m_hostInput.clear();
        self->m_tokenInput.clear();
        emit self->inputChanged();
    }(self, m_hostInput, m_tokenInput);
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
