#pragma once

#include "credentials/KeychainManager.h"
#include "credentials/TokenState.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// Where one account's token lives, and what the secret store last said of
// it. The first account's is the item "github-token", followed through
// TokenState with its prompts and Locked state; another account's is its own
// item "github-token/<host>/<login>". Either is read when asked and whenever
// the keyring changes, never once per request. Main thread only.
class AccountCredential : public QObject {
    Q_OBJECT

public:
    static std::unique_ptr<AccountCredential> first();
    static std::unique_ptr<AccountCredential> item(QString itemName);
    ~AccountCredential() override;

    TokenState::Status status() const;
    const std::optional<QString> &token() const;
    QString errorDescription() const;
    // What an account says while no token is stored: nothing for the first
    // account, whose absence the views show as they always did.
    std::optional<QString> missingDescription() const;

    // Asks the secret store again; `answered` follows. Only a read the user
    // asked for may show the desktop's unlock prompt.
    void read(KeychainManager::Prompt prompt = KeychainManager::Prompt::never);

signals:
    // A read ended, whether or not anything changed.
    void answered();
    // Saved or deleted by this program: whatever was fetched with the old
    // token is not this token's.
    void replaced();

private:
    explicit AccountCredential(std::optional<QString> itemName);
    QCoro::Task<> readItem(KeychainManager::Prompt prompt);

    // Absent for the first account's item, which TokenState follows.
    std::optional<QString> m_itemName;
    TokenState::Status m_status = TokenState::Status::Checking;
    std::optional<QString> m_token;
    QString m_errorDescription;
    bool m_reading = false;
    bool m_readAgain = false;
};
