// Quillfen as its tray starts it, against a fake GitHub on loopback that
// lists 120 threads and answers their issues, pull requests and comments:
// what bench/measure-tray.sh compares with a QML window app when the panel
// holds a full list with its details. Needs the test harness's keyring.

#include "api/GitHubAPIClient.h"
#include "credentials/KeychainManager.h"
#include "platform/Translations.h"
#include "shell/QuillfenApp.h"

#include "FakeGitHubServer.h"
#include "ThreadJson.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Translations::install();
    FakeGitHubServer github;
    const QList<WireThread> threads = onServer(manyThreads(120), github.baseUrl());
    serveSubjects(github, threads);
    github.setHandler([body = threadsBody(threads)](const RecordedRequest &) {
        return ScriptedResponse{200, body, {}, ScriptedResponse::Behaviour::respond};
    });
    GitHubAPIClient::setBaseUrl(github.baseUrl());
    if (KeychainManager::saveToken(QStringLiteral("ghp_measure")))
        qFatal("no keyring: run inside tools/session/run-in-session.sh --keyring");

    QuillfenApp quillfen;
    quillfen.start(QuillfenApp::Start::Quietly);
    return QApplication::exec();
}
