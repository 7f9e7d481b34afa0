#include "api/AccountHost.h"

#include "api/GitHubAPIClient.h"
#include "api/GitHubEndpoints.h"

#include <QHostAddress>

std::optional<AccountHost> AccountHost::parse(const QString &text)
{
    QString typed = text.trimmed();
    if (typed.isEmpty())
        return std::nullopt;
    if (!typed.contains(QStringLiteral("://")))
        typed.prepend(QStringLiteral("https://"));
    const QUrl url(typed, QUrl::StrictMode);
    const QString path = url.path();
    const bool bare = path.isEmpty() || path == u"/" || path == u"/api/v3" || path == u"/api/v3/";
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment()
        || !bare || (url.scheme() != u"https" && url.scheme() != u"http"))
        return std::nullopt;

    const QString host = url.host();
    if (host == u"github.com" || host == u"api.github.com" || host == u"www.github.com")
        return AccountHost(QStringLiteral("github.com"), false);
    const bool loopback = host == u"localhost" || QHostAddress(host).isLoopback();
    // The scheme follows the host, not what was typed: a token never goes
    // over plain http beyond this machine.
    const int defaultPort = loopback ? 80 : 443;
    QString name = host.contains(u':') ? u'[' + host + u']' : host;
    if (url.port(defaultPort) != defaultPort)
        name += u':' + QString::number(url.port());
    return AccountHost(std::move(name), loopback);
}

QString AccountHost::apiBase() const
{
    if (isGitHubCom())
        return GitHubAPIClient::baseUrl();
    return scheme() + QStringLiteral("://") + m_name + QStringLiteral("/api/v3");
}

QString AccountHost::webRoot() const
{
    if (isGitHubCom())
        return GitHubEndpoints::webRootUrl();
    return scheme() + QStringLiteral("://") + m_name + u'/';
}

bool AccountHost::isWebPage(const QUrl &url) const
{
    const QUrl root(webRoot());
    const int defaultPort = root.scheme() == u"https" ? 443 : 80;
    return url.isValid() && url.scheme() == root.scheme() && url.host() == root.host()
           && url.port(defaultPort) == root.port(defaultPort) && url.userInfo().isEmpty();
}
