#pragma once

#include <QCoro/QCoroTask>
#include <QString>

#include <optional>
#include <variant>

// The user's GitHub token as one item in the system's secret store
// (service "com.quillfen.app", account "github-token"). Stateless: every
// call asks the store again. The synchronous calls may wait on an unlock
// prompt for ever, so the GUI thread uses the bounded ones at the end.
namespace KeychainManager {

class KeychainError {
public:
    // locked: the item exists but the keyring stayed locked (the prompt was
    // dismissed, or none may be shown). notAnswering: past the deadline.
    enum class Kind { saveFailed, readFailed, deleteFailed, unexpectedData, locked, notAnswering };

    static KeychainError saveFailed(int status) { return {Kind::saveFailed, status}; }
    static KeychainError readFailed(int status) { return {Kind::readFailed, status}; }
    static KeychainError deleteFailed(int status) { return {Kind::deleteFailed, status}; }
    static KeychainError unexpectedData() { return {Kind::unexpectedData, 0}; }
    static KeychainError locked() { return {Kind::locked, 0}; }
    static KeychainError notAnswering() { return {Kind::notAnswering, 0}; }

    Kind kind() const { return m_kind; }
    // The secret store's own error code; 0 for the kinds without one.
    int status() const { return m_status; }
    QString errorDescription() const;

    friend bool operator==(const KeychainError &, const KeychainError &) = default;

private:
    KeychainError(Kind kind, int status) : m_kind(kind), m_status(status) { }

    Kind m_kind;
    int m_status;
};

using TokenResult = std::variant<std::optional<QString>, KeychainError>;

// Whether a read may show the desktop's unlock prompt. A quiet read of a
// locked item answers `locked` at once.
enum class Prompt { allowed, never };

// One item of the secret store, named as SecretStoreBackend names it: the
// store's outcomes as the rest of the program knows them.
TokenResult readItem(const QByteArray &item, Prompt prompt);
std::optional<KeychainError> writeItem(const QByteArray &item, const QString &token);
// Succeeds when nothing is stored.
std::optional<KeychainError> removeItem(const QByteArray &item);

// Absent when no token is stored; that is not an error.
TokenResult getToken(Prompt prompt = Prompt::allowed);
// Replaces any stored token with `token`, byte for byte as UTF-8. Saves and
// deletes that succeed are recorded in TokenState.
std::optional<KeychainError> saveToken(const QString &token);
// Succeeds when nothing is stored.
std::optional<KeychainError> deleteToken();

// The same off the calling thread, bounded by KeyringCall's deadline
// (`notAnswering` past it), resuming the caller on its own thread.
QCoro::Task<TokenResult> readToken(Prompt prompt);
QCoro::Task<std::optional<KeychainError>> storeToken(QString token);
QCoro::Task<std::optional<KeychainError>> removeToken();

// The stored bytes as a token: UTF-8, byte for byte, or unexpectedData.
TokenResult tokenFromBytes(const QByteArray &bytes);

// Names a token without holding it: what is kept per token (the pace GitHub
// asked of it) is filed under this.
QByteArray tokenDigest(const QString &token);

} // namespace KeychainManager
