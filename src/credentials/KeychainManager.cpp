#include "credentials/KeychainManager.h"

#include "credentials/KeyringCall.h"

#include <QCoro/QCoroFuture>
#include "credentials/SecretStoreBackend.h"
#include "credentials/TokenState.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QStringDecoder>

namespace KeychainManager {

QString KeychainError::errorDescription() const
{
    switch (m_kind) {
    case Kind::saveFailed:
        return QCoreApplication::translate("KeychainError", "Failed to save token to keychain (status: %1)")
            .arg(m_status);
    case Kind::readFailed:
        return QCoreApplication::translate("KeychainError", "Failed to read token from keychain (status: %1)")
            .arg(m_status);
    case Kind::deleteFailed:
        return QCoreApplication::translate("KeychainError", "Failed to delete token from keychain (status: %1)")
            .arg(m_status);
    case Kind::locked:
        return QCoreApplication::translate("KeychainError", "The keyring is locked");
    case Kind::notAnswering:
        return QCoreApplication::translate("KeychainError", "The keyring is not answering");
    case Kind::unexpectedData:
        break;
    }
    return QCoreApplication::translate("KeychainError", "Unexpected data format in keychain");
}

TokenResult getToken(Prompt prompt)
{
    const SecretStoreBackend::ReadResult read = SecretStoreBackend::read(prompt == Prompt::allowed);
    switch (read.outcome) {
    case SecretStoreBackend::Outcome::notFound:
        return std::optional<QString>();
    case SecretStoreBackend::Outcome::locked:
        return KeychainError::locked();
    case SecretStoreBackend::Outcome::failed:
        return KeychainError::readFailed(read.code);
    case SecretStoreBackend::Outcome::ok:
        break;
    }
    return tokenFromBytes(read.secret);
}

TokenResult tokenFromBytes(const QByteArray &bytes)
{
    // Byte for byte: a leading byte-order mark is part of the token.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString token = decoder.decode(bytes);
    if (decoder.hasError())
        return KeychainError::unexpectedData();
    return std::optional<QString>(std::move(token));
}

std::optional<KeychainError> saveToken(const QString &token)
{
    // A lone surrogate has no UTF-8 form; storing a substitute would change the token.
    if (!token.isValidUtf16())
        return KeychainError::unexpectedData();
    const SecretStoreBackend::WriteResult written = SecretStoreBackend::write(token.toUtf8());
    if (written.outcome != SecretStoreBackend::Outcome::ok)
        return KeychainError::saveFailed(written.code);
    TokenState::shared().recordSaved(tokenDigest(token));
    return std::nullopt;
}

std::optional<KeychainError> deleteToken()
{
    const SecretStoreBackend::WriteResult removed = SecretStoreBackend::remove();
    if (removed.outcome == SecretStoreBackend::Outcome::failed)
        return KeychainError::deleteFailed(removed.code);
    TokenState::shared().recordDeleted();
    return std::nullopt;
}

// The futures are named before they are awaited: GCC 12 destroys some
// temporaries of a co_await expression twice.
QCoro::Task<TokenResult> readToken(Prompt prompt)
{
    QFuture<std::optional<TokenResult>> call = KeyringCall::run<TokenResult>([prompt] { return getToken(prompt); });
    const std::optional<TokenResult> read = co_await call;
    if (!read)
        co_return TokenResult(KeychainError::notAnswering());
    co_return *read;
}

QCoro::Task<std::optional<KeychainError>> storeToken(QString token)
{
    using Result = std::optional<KeychainError>;
    QFuture<std::optional<Result>> call = KeyringCall::run<Result>([token] { return saveToken(token); });
    const std::optional<Result> stored = co_await call;
    if (!stored)
        co_return Result(KeychainError::notAnswering());
    co_return *stored;
}

QCoro::Task<std::optional<KeychainError>> removeToken()
{
    using Result = std::optional<KeychainError>;
    QFuture<std::optional<Result>> call = KeyringCall::run<Result>([] { return deleteToken(); });
    const std::optional<Result> removed = co_await call;
    if (!removed)
        co_return Result(KeychainError::notAnswering());
    co_return *removed;
}

QByteArray tokenDigest(const QString &token)
{
    return QCryptographicHash::hash(token.toUtf8(), QCryptographicHash::Sha256);
}

} // namespace KeychainManager
