#include "credentials/KeychainManager.h"

#include "credentials/KeyringCall.h"
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

TokenResult readItem(const QByteArray &item, Prompt prompt)
{
    const SecretStoreBackend::ReadResult read = SecretStoreBackend::read(prompt == Prompt::allowed, item);
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

std::optional<KeychainError> writeItem(const QByteArray &item, const QString &token)
{
    // A lone surrogate has no UTF-8 form; storing a substitute would change the token.
    if (!token.isValidUtf16())
        return KeychainError::unexpectedData();
    const SecretStoreBackend::WriteResult written = SecretStoreBackend::write(token.toUtf8(), item);
    if (written.outcome != SecretStoreBackend::Outcome::ok)
        return KeychainError::saveFailed(written.code);
    return std::nullopt;
}

std::optional<KeychainError> removeItem(const QByteArray &item)
{
    const SecretStoreBackend::WriteResult removed = SecretStoreBackend::remove(item);
    if (removed.outcome == SecretStoreBackend::Outcome::failed)
        return KeychainError::deleteFailed(removed.code);
    return std::nullopt;
}

TokenResult getToken(Prompt prompt)
{
    return readItem(SecretStoreBackend::accountName, prompt);
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
    if (auto error = writeItem(SecretStoreBackend::accountName, token))
        return error;
    TokenState::shared().recordSaved(token);
    return std::nullopt;
}

std::optional<KeychainError> deleteToken()
{
    if (auto error = removeItem(SecretStoreBackend::accountName))
        return error;
    TokenState::shared().recordDeleted();
    return std::nullopt;
}

QCoro::Task<TokenResult> readToken(Prompt prompt)
{
    return KeyringCall::await<TokenResult>([prompt] { return getToken(prompt); }, KeychainError::notAnswering());
}

QCoro::Task<std::optional<KeychainError>> storeToken(QString token)
{
    return KeyringCall::await<std::optional<KeychainError>>([token] { return saveToken(token); },
                                                            KeychainError::notAnswering());
}

QCoro::Task<std::optional<KeychainError>> removeToken()
{
    return KeyringCall::await<std::optional<KeychainError>>([] { return deleteToken(); },
                                                            KeychainError::notAnswering());
}

QByteArray tokenDigest(const QString &token)
{
    return QCryptographicHash::hash(token.toUtf8(), QCryptographicHash::Sha256);
}

} // namespace KeychainManager
