#include "TestEnvironment.h"

#include "api/GitHubAPIClient.h"
#include "api/RequestPacing.h"
#include "api/RevalidationCache.h"
#include "platform/PreferencesFile.h"

#include <QFile>
#include <QProcess>
#include <QTcpServer>

namespace {

// The attributes of Quillfen's item, the generic schema's name among them.
const QStringList tokenItem{QStringLiteral("xdg:schema"), QStringLiteral("org.freedesktop.Secret.Generic"),
                            QStringLiteral("service"),    QStringLiteral("com.quillfen.app"),
                            QStringLiteral("account"),    QStringLiteral("github-token")};

} // namespace

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

std::optional<QByteArray> storedSecret()
{
    QProcess tool;
    tool.start(QStringLiteral("secret-tool"), QStringList{QStringLiteral("lookup")} + tokenItem);
    if (!tool.waitForFinished() || tool.exitCode() != 0)
        return std::nullopt;
    return tool.readAllStandardOutput();
}

bool plantSecret(const QByteArray &bytes)
{
    QProcess tool;
    tool.start(QStringLiteral("secret-tool"),
               QStringList{QStringLiteral("store"), QStringLiteral("--label=planted")} + tokenItem);
    tool.write(bytes);
    tool.closeWriteChannel();
    return tool.waitForFinished() && tool.exitCode() == 0;
}
