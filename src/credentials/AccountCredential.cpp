#include "credentials/AccountCredential.h"

#include "credentials/AccountTokens.h"

#include <QCoreApplication>
#include <QPointer>

std::unique_ptr<AccountCredential> AccountCredential::first()
{
    return std::unique_ptr<AccountCredential>(new AccountCredential(std::nullopt));
}

std::unique_ptr<AccountCredential> AccountCredential::item(QString itemName)
{
    return std::unique_ptr<AccountCredential>(new AccountCredential(std::move(itemName)));
}

AccountCredential::AccountCredential(std::optional<QString> itemName) : m_itemName(std::move(itemName))
{
    TokenState &shared = TokenState::shared();
    if (!m_itemName) {
        connect(&shared, &TokenState::readFinished, this, &AccountCredential::answered);
        connect(&shared, &TokenState::tokenSaved, this, &AccountCredential::replaced);
        connect(&shared, &TokenState::tokenDeleted, this, &AccountCredential::replaced);
        return;
    }
    // Every read of the first item follows a keyring unlocked, locked or
    // looked at again: this item may have changed with it.
    connect(&shared, &TokenState::readFinished, this, [this] { read(); });
}

AccountCredential::~AccountCredential() = default;

TokenState::Status AccountCredential::status() const
{
    return m_itemName ? m_status : TokenState::shared().status();
}

const std::optional<QString> &AccountCredential::token() const
{
    return m_itemName ? m_token : TokenState::shared().token();
}

QString AccountCredential::errorDescription() const
{
    return m_itemName ? m_errorDescription : TokenState::shared().errorDescription();
}

std::optional<QString> AccountCredential::missingDescription() const
{
    if (!m_itemName)
        return std::nullopt;
    return QCoreApplication::translate("AccountSession",
                                       "No token stored for this account. Please add it again in Settings.");
}

void AccountCredential::read(KeychainManager::Prompt prompt)
{
    if (!m_itemName) {
        TokenState::shared().reload(prompt);
        return;
    }
    if (std::exchange(m_reading, true)) {
        m_readAgain = true;
        return;
    }
    readItem(prompt);
}

QCoro::Task<> AccountCredential::readItem(KeychainManager::Prompt prompt)
{
    QPointer<AccountCredential> self(this);
    do {
        m_readAgain = false;
        // Named before it is awaited: GCC 12 destroys some temporaries of a
        // co_await expression twice.
        auto reading = AccountTokens::read(*m_itemName, prompt);
        const KeychainManager::TokenResult read = co_await std::move(reading);
        if (!self)
            co_return;
        using KeychainManager::KeychainError;
        if (const auto *error = std::get_if<KeychainError>(&read)) {
            m_status = error->kind() == KeychainError::Kind::locked ? TokenState::Status::Locked
                                                                    : TokenState::Status::Unavailable;
            m_errorDescription = error->errorDescription();
        } else {
            m_token = std::get<std::optional<QString>>(read);
            m_status = m_token ? TokenState::Status::Stored : TokenState::Status::Missing;
            m_errorDescription.clear();
        }
    } while (m_readAgain);
    m_reading = false;
    emit answered();
}
