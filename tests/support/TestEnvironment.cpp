#include "TestEnvironment.h"

#include "api/GitHubAPIClient.h"
#include "api/RequestPacing.h"
#include "api/RevalidationCache.h"
#include "platform/PreferencesFile.h"

#include <QFile>
#include <QTcpServer>

void useFakeGitHub(const FakeGitHubServer &server)
{
    GitHubAPIClient::setBaseUrl(server.baseUrl());
    GitHubAPIClient::setRequestTimeout(GitHubAPIClient::defaultRequestTimeout);
    RevalidationCache::shared().clear();
    RequestPacing::clear();
    QFile::remove(PreferencesFile::path());
}

QString closedLoopbackUrl()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost))
        qFatal("cannot listen on loopback");
    return QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
}
