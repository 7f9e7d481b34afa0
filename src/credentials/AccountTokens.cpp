#include "credentials/AccountTokens.h"

#include "credentials/KeyringCall.h"
#include "credentials/SecretStoreBackend.h"

#include <QCoro/QCoroFuture>

namespace AccountTokens {

using KeychainManager::KeychainError;
using KeychainManager::TokenResult;

QString itemName(const QString &host, const QString &login)
{
    return QString::fromLatin1(SecretStoreBackend::accountName) + u'/' + host + u'/' + login;
}

// The futures are named before they are awaited: GCC 12 destroys some
// temporaries of a co_await expression twice.
QCoro::Task<TokenResult> read(QString item, KeychainManager::Prompt prompt)
{
    QFuture<std::optional<TokenResult>> call = KeyringCall::run<TokenResult>([item = item.toUtf8(), prompt] {
        const SecretStoreBackend::ReadResult read =
            SecretStoreBackend::read(prompt == KeychainManager::Prompt::allowed, item);
        switch (read.outcome) {
        case SecretStoreBackend::Outcome::notFound:
            return TokenResult(std::optional<QString>());
        case SecretStoreBackend::Outcome::locked:
            return TokenResult(KeychainError::locked());
        case SecretStoreBackend::Outcome::failed:
            return TokenResult(KeychainError::readFailed(read.code));
        case SecretStoreBackend::Outcome::ok:
            break;
        }
        return KeychainManager::tokenFromBytes(read.secret);
    });
    const std::optional<TokenResult> answered = co_await call;
    if (!answered)
        co_return TokenResult(KeychainError::notAnswering());
    co_return *answered;
}

QCoro::Task<std::optional<KeychainError>> store(QString item, QString token)
{
    using Result = std::optional<KeychainError>;
    if (!token.isValidUtf16())
        co_return Result(KeychainError::unexpectedData());
    QFuture<std::optional<Result>> call = KeyringCall::run<Result>([item = item.toUtf8(), bytes = token.toUtf8()] {
        const SecretStoreBackend::WriteResult written = SecretStoreBackend::write(bytes, item);
        return written.outcome == SecretStoreBackend::Outcome::ok ? Result()
                                                                  : Result(KeychainError::saveFailed(written.code));
    });
    const std::optional<Result> stored = co_await call;
    if (!stored)
        co_return Result(KeychainError::notAnswering());
    co_return *stored;
}

QCoro::Task<std::optional<KeychainError>> remove(QString item)
{
    using Result = std::optional<KeychainError>;
    QFuture<std::optional<Result>> call = KeyringCall::run<Result>([item = item.toUtf8()] {
        const SecretStoreBackend::WriteResult removed = SecretStoreBackend::remove(item);
        return removed.outcome == SecretStoreBackend::Outcome::failed
                   ? Result(KeychainError::deleteFailed(removed.code))
                   : Result();
    });
    const std::optional<Result> removed = co_await call;
    if (!removed)
        co_return Result(KeychainError::notAnswering());
    co_return *removed;
}

} // namespace AccountTokens
