// The real application in-process, against a fake GitHub, for
// accessibility.py: it walks what screen readers see over AT-SPI and asks,
// one line at a time, for the windows it needs ("show panel", "show main",
// "show settings", "show update"). The host answers "shown" and passes on the script's exit
// status.
//   run-in-session.sh --keyring --tray --a11y -- accessibility_host accessibility.py

#include "api/GitHubAPIClient.h"
#include "shell/QuillfenApp.h"
#include "shell/TrayIcon.h"
#include "updates/SparkleUpdaterService.h"

#include "FakeGitHubServer.h"
#include "ThreadJson.h"

#include <QApplication>
#include <QProcess>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc < 2)
        qFatal("usage: accessibility_host <script>");

    FakeGitHubServer github;
    github.setHandler([](const RecordedRequest &request) {
        if (request.target.startsWith("/notifications"))
            return ScriptedResponse{200, threadsBody(manyThreads(3)), {}, ScriptedResponse::Behaviour::respond};
        return ScriptedResponse{200, "{}", {}, ScriptedResponse::Behaviour::respond};
    });
    GitHubAPIClient::setBaseUrl(github.baseUrl());

    QuillfenApp app;
    app.start();

    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(&script, &QProcess::readyReadStandardOutput, &script, [&] {
        while (script.canReadLine()) {
            const QByteArray line = script.readLine().trimmed();
            if (line == "show panel") {
                const QRect icon = app.trayIcon()->geometry();
                app.togglePanel(icon.isValid() ? QPoint(icon.center().x(), icon.bottom()) : QPoint(1200, 30));
            } else if (line == "show settings") {
                app.showSettings();
            } else if (line == "show main") {
                app.showMainWindow();
            } else if (line == "show update") {
                AppcastItem item;
                item.version = QStringLiteral("9.0");
                item.description = QStringLiteral("Faster refresh.");
                item.downloadUrl = QUrl(QStringLiteral("https://quillfen.app/download/9.0"));
                emit SparkleUpdaterService::shared().updateFoundForUser(item);
            } else {
                std::fprintf(stdout, "%s\n", line.constData());
                continue;
            }
            // Windows are exposed to AT-SPI once they are mapped.
            QTimer::singleShot(500, &script, [&script] { script.write("shown\n"); });
        }
    });
    QObject::connect(&script, &QProcess::finished, &application, [&](int code, QProcess::ExitStatus status) {
        QCoreApplication::exit(status == QProcess::NormalExit ? code : 1);
    });
    script.start(QStringLiteral("/usr/bin/python3"),
                 {QString::fromLocal8Bit(argv[1]), QString::number(QCoreApplication::applicationPid())});
    return application.exec();
}
