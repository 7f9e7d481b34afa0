#include "TestAccount.h"

#include "credentials/AccountTokens.h"
#include "credentials/KeychainManager.h"
#include "settings/Accounts.h"

#include <QCoro/QCoroTask>

QString TestAccount::host() const
{
    return first ? QStringLiteral("github.com") : QStringLiteral("127.0.0.1:%1").arg(port);
}

QString TestAccount::key(const QString &id) const
{
    return first ? id : host() + QStringLiteral("/bob/") + id;
}

bool TestAccount::enrol() const
{
    if (first)
        return !KeychainManager::saveToken(QStringLiteral("ghp_first"));
    const QString item = AccountTokens::itemName(host(), QStringLiteral("bob"));
    return !KeychainManager::deleteToken() && !QCoro::waitFor(AccountTokens::store(item, QStringLiteral("ghp_second")))
           && Accounts::add({host(), QStringLiteral("bob")});
}
