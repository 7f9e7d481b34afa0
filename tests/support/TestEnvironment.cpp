#include "TestEnvironment.h"

#include "api/GitHubAPIClient.h"
#include "api/RequestPacing.h"
#include "api/RevalidationCache.h"
#include "platform/PreferencesFile.h"

#include <QFile>

void useFakeGitHub(const FakeGitHubServer &server)
{
    GitHubAPIClient::setBaseUrl(server.baseUrl());
    GitHubAPIClient::setRequestTimeout(GitHubAPIClient::defaultRequestTimeout);
    RevalidationCache::shared().clear();
    RequestPacing::clear();
    QFile::remove(PreferencesFile::path());
}
