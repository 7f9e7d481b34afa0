#pragma once

#include "credentials/KeychainManager.h"

#include <QCoro/QCoroTask>
#include <QString>

#include <optional>

// The tokens of the accounts after the first: one item each in the secret
// store, service "com.quillfen.app", account "github-token/<host>/<login>",
// under the same generic schema as the first account's item. Like
// KeychainManager's bounded calls they run off the calling thread within
// KeyringCall's deadline; they are not recorded in TokenState, which follows
// the first account only.
namespace AccountTokens {

// "github-token/ghe.example.com/alice"; `host` as stored ("host" or "host:port").
QString itemName(const QString &host, const QString &login);

QCoro::Task<KeychainManager::TokenResult> read(QString item, KeychainManager::Prompt prompt);
QCoro::Task<std::optional<KeychainManager::KeychainError>> store(QString item, QString token);
// Succeeds when nothing is stored.
QCoro::Task<std::optional<KeychainManager::KeychainError>> remove(QString item);

} // namespace AccountTokens
