#pragma once

#include "credentials/KeychainManager.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

// Whether a token is stored, as the secret store last answered. Reads run
// off the GUI thread within a deadline, so a locked keyring waiting for its
// unlock prompt never freezes the interface. Saves and deletes made through
// KeychainManager, by any caller, are recorded here the moment they succeed.
// One per process, on the main thread.
class TokenState : public QObject {
    Q_OBJECT
    Q_PROPERTY(Status status READ status NOTIFY statusChanged)
    Q_PROPERTY(QString errorDescription READ errorDescription NOTIFY statusChanged)

public:
    enum class Status {
        Checking, // not answered yet (a locked keyring may wait for its prompt)
        Missing, // no token is stored
        Stored, // a token is stored
        Unavailable, // the secret store failed; errorDescription says how
        Locked, // a token is stored, but its keyring stayed locked
    };
    Q_ENUM(Status)

    static TokenState &shared();

    Status status() const { return m_status; }
    QString errorDescription() const { return m_errorDescription; }

    // Names the token last read or saved (KeychainManager::tokenDigest);
    // empty while none is known.
    QByteArray tokenDigest() const { return m_tokenDigest; }
    // The token last read or saved, kept so that requests need not read the
    // keyring again.
    const std::optional<QString> &token() const { return m_token; }

    // Asks the secret store again; `readFinished` follows when it answers.
    // Asked while a read is out, one more read follows it. Only a read the
    // user asked for may show the desktop's unlock prompt.
    void reload(KeychainManager::Prompt prompt = KeychainManager::Prompt::never);

    // Tests stand in for a slow or locked secret store; an empty function
    // restores the real one.
    using Reader = std::function<decltype(KeychainManager::getToken())()>;
    void setReaderForTesting(Reader reader) { m_reader = std::move(reader); }

    // Called by KeychainManager after a successful save or delete.
    void recordSaved(const QString &token);
    void recordDeleted();

signals:
    void statusChanged();
    // A read ended, whether or not the status changed.
    void readFinished();
    // A token was stored (possibly replacing another) or removed.
    void tokenSaved();
    void tokenDeleted();

private slots:
    void keyringPropertiesChanged(const QString &interface, const QVariantMap &changed);

private:
    TokenState() = default;
    QCoro::Task<> read(KeychainManager::Prompt prompt);
    QCoro::Task<KeychainManager::TokenResult> ask(KeychainManager::Prompt prompt) const;
    void follow(const KeychainManager::TokenResult &result);
    void setStatus(Status status, const QString &errorDescription = {});
    // Follows the collections' Locked property: an unlock anywhere is worth
    // a quiet read.
    void watchKeyrings();

    Status m_status = Status::Checking;
    QString m_errorDescription;
    Reader m_reader;
    bool m_reading = false;
    bool m_readAgain = false;
    KeychainManager::Prompt m_readAgainPrompt = KeychainManager::Prompt::never;
    QByteArray m_tokenDigest;
    std::optional<QString> m_token;
    // Bumped by every save and delete: a read that started before one is
    // stale when it answers.
    quint64 m_changes = 0;
};
