#pragma once

#include <QString>

#include <optional>
#include <variant>

// The user's GitHub token as one item in the system's secret store
// (service "com.quillfen.app", account "github-token"). Synchronous and
// stateless: every call asks the store again.
namespace KeychainManager {

class KeychainError {
public:
    enum class Kind { saveFailed, readFailed, deleteFailed, unexpectedData };

    static KeychainError saveFailed(int status) { return {Kind::saveFailed, status}; }
    static KeychainError readFailed(int status) { return {Kind::readFailed, status}; }
    static KeychainError deleteFailed(int status) { return {Kind::deleteFailed, status}; }
    static KeychainError unexpectedData() { return {Kind::unexpectedData, 0}; }

    Kind kind() const { return m_kind; }
    // The secret store's own error code; 0 for unexpectedData.
    int status() const { return m_status; }
    QString errorDescription() const;

    friend bool operator==(const KeychainError &, const KeychainError &) = default;

private:
    KeychainError(Kind kind, int status) : m_kind(kind), m_status(status) {}

    Kind m_kind;
    int m_status;
};

// Absent when no token is stored; that is not an error.
std::variant<std::optional<QString>, KeychainError> getToken();
// Replaces any stored token with `token`, byte for byte as UTF-8. Saves and
// deletes that succeed are recorded in TokenState.
std::optional<KeychainError> saveToken(const QString &token);
// Succeeds when nothing is stored.
std::optional<KeychainError> deleteToken();

} // namespace KeychainManager
