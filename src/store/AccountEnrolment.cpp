#include "store/AccountEnrolment.h"

#include "api/AccountHost.h"
#include "api/GitHubAPIClient.h"
#include "credentials/AccountTokens.h"
#include "credentials/TokenState.h"
#include "platform/NoticeCenter.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"

#include <QCoreApplication>

namespace AccountEnrolment {
namespace {

QString label(const AccountHost &host, const QString &login)
{
    return host.isGitHubCom() ? login : login + u'@' + host.name();
}

// A refusal that names the host: unreachable, or TLS failing.
QString transportRefusal(const AccountHost &host, const TransportError &error)
{
    if (error.code == QNetworkReply::SslHandshakeFailedError)
        return QCoreApplication::translate("AccountEnrolment", "Secure connection to %1 failed: %2")
            .arg(host.name(), error.description);
    return QCoreApplication::translate("AccountEnrolment", "Cannot reach %1: %2").arg(host.name(), error.description);
}

void announce()
{
    NoticeCenter::instance().post(QString::fromLatin1(Notices::accountsChanged));
}

// Whether `login` on `host` is the first account, whose token is the
// "github-token" item: that token's user resource names it.
QCoro::Task<bool> isFirstAccount(AccountHost host, QString login)
{
    const std::optional<QString> &first = TokenState::shared().token();
    if (!host.isGitHubCom() || !first)
        co_return false;
    auto asking = GitHubAPIClient::fetchUser(GitHubAPIClient::Access{host.apiBase(), *first});
    const auto asked = co_await std::move(asking);
    const auto *user = std::get_if<GitHubAPIClient::UserAnswer>(&asked);
    co_return user && user->status == 200 && user->login.compare(login, Qt::CaseInsensitive) == 0;
}

} // namespace

QCoro::Task<AddResult> add(QString hostText, QString token)
{
    const std::optional<AccountHost> host = AccountHost::parse(hostText);
    if (!host)
        co_return AddResult(
            QCoreApplication::translate("AccountEnrolment", "Enter a host name, such as ghe.example.com"));
    if (token.isEmpty())
        co_return AddResult(QCoreApplication::translate("AccountEnrolment", "Enter a token"));
    // The notifications API refuses them whatever their permissions.
    if (token.startsWith(QStringLiteral("github_pat_")))
        co_return AddResult(QCoreApplication::translate(
            "AccountEnrolment", "Fine-grained tokens (github_pat_…) cannot read notifications. Use a classic token "
                                "with the notifications scope."));

    // Tasks are named before they are awaited: GCC 12 destroys some
    // temporaries of a co_await expression twice.
    auto asking = GitHubAPIClient::fetchUser(GitHubAPIClient::Access{host->apiBase(), token});
    const auto asked = co_await std::move(asking);
    if (const auto *error = std::get_if<ClientError>(&asked)) {
        if (const auto *transport = std::get_if<TransportError>(error))
            co_return AddResult(transportRefusal(*host, *transport));
        co_return AddResult(userDescription(*error));
    }
    const GitHubAPIClient::UserAnswer &user = std::get<GitHubAPIClient::UserAnswer>(asked);
    if (user.status != 200)
        co_return AddResult(
            QCoreApplication::translate("AccountEnrolment", "Invalid token or insufficient permissions"));
    if (user.hasScopes && !user.scopes.contains(QStringLiteral("notifications"))
        && !user.scopes.contains(QStringLiteral("repo")))
        co_return AddResult(QCoreApplication::translate("AccountEnrolment",
                                                        "This token has neither the notifications nor the repo scope"));
    const Accounts::Entry entry{host->name(), user.login};
    if (user.login.isEmpty())
        co_return AddResult(userDescription(ClientError(GitHubAPIClient::APIError::invalidResponse())));
    if (!Accounts::wellFormed(entry))
        co_return AddResult(
            QCoreApplication::translate("AccountEnrolment", "%1 names a login that cannot be stored: %2")
                .arg(host->name(), user.login));
    if (Accounts::list().contains(entry))
        co_return AddResult(
            QCoreApplication::translate("AccountEnrolment", "%1 is added already").arg(label(*host, user.login)));
    auto comparing = isFirstAccount(*host, user.login);
    if (co_await std::move(comparing))
        co_return AddResult(
            QCoreApplication::translate("AccountEnrolment", "%1 is the github.com account already").arg(user.login));

    const QString item = AccountTokens::itemName(entry.host, entry.login);
    auto saving = AccountTokens::store(item, token);
    const auto saved = co_await std::move(saving);
    if (saved)
        co_return AddResult(saved->errorDescription());
    if (!Accounts::add(entry)) {
        // Listed meanwhile by another window: the token stored is its own.
        if (!Accounts::list().contains(entry)) {
            auto removing = AccountTokens::remove(item);
            co_await std::move(removing);
        }
        co_return AddResult(
            QCoreApplication::translate("AccountEnrolment", "%1 is added already").arg(label(*host, user.login)));
    }
    Preferences::enableNotificationsUnlessChosen();
    announce();
    co_return AddResult(entry);
}

QCoro::Task<std::optional<QString>> remove(Accounts::Entry entry)
{
    Accounts::remove(entry);
    announce();
    auto removing = AccountTokens::remove(AccountTokens::itemName(entry.host, entry.login));
    const auto removed = co_await std::move(removing);
    if (removed)
        co_return removed->errorDescription();
    co_return std::nullopt;
}

} // namespace AccountEnrolment
