#include "credentials/AccountTokens.h"

#include "credentials/KeyringCall.h"
#include "credentials/SecretStoreBackend.h"

namespace AccountTokens {

using KeychainManager::KeychainError;
using KeychainManager::TokenResult;

QString itemName(const QString &host, const QString &login)
{
    return QString::fromLatin1(SecretStoreBackend::accountName) + u'/' + host + u'/' + login;
}

QCoro::Task<TokenResult> read(QString item, KeychainManager::Prompt prompt)
{
    auto call = [item = item.toUtf8(), prompt] { return KeychainManager::readItem(item, prompt); };
    return KeyringCall::await<TokenResult>(call, KeychainError::notAnswering());
}

QCoro::Task<std::optional<KeychainError>> store(QString item, QString token)
{
    auto call = [item = item.toUtf8(), token] { return KeychainManager::writeItem(item, token); };
    return KeyringCall::await<std::optional<KeychainError>>(call, KeychainError::notAnswering());
}

QCoro::Task<std::optional<KeychainError>> remove(QString item)
{
    auto call = [item = item.toUtf8()] { return KeychainManager::removeItem(item); };
    return KeyringCall::await<std::optional<KeychainError>>(call, KeychainError::notAnswering());
}

} // namespace AccountTokens
