#include "TestEnvironment.h"

#include "api/GitHubAPIClient.h"
#include "api/RevalidationCache.h"
#include "platform/PreferencesFile.h"
#include "ui/IconImageProvider.h"

#include <QFile>
#include <QQmlEngine>
#include <QQuickStyle>

void useFakeGitHub(const FakeGitHubServer &server)
{
    GitHubAPIClient::setBaseUrl(server.baseUrl());
    GitHubAPIClient::setRequestTimeout(GitHubAPIClient::defaultRequestTimeout);
    RevalidationCache::shared().clear();
    QFile::remove(PreferencesFile::path());
}

void prepareQmlEngine(QQmlEngine &engine)
{
    QQuickStyle::setStyle(QStringLiteral("Fusion"));
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    engine.addImageProvider(QStringLiteral("symbols"), new IconImageProvider);
}
