#include "Version.h"
#include "platform/Translations.h"
#include "shell/QuillfenApp.h"
#include "shell/RuntimeFolder.h"
#include "shell/SingleInstance.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

void describe()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillfen"));
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1 (build %2)").arg(QLatin1StringView(Quillfen::versionString), QLatin1StringView(Quillfen::buildNumber)));
    QCoreApplication::setOrganizationDomain(QStringLiteral("quillfen.app"));
}

} // namespace

int main(int argc, char *argv[])
{
    // The command line is read before the GUI starts: --version and --help
    // answer on a machine with no display at all.
    bool background = false;
    // Read before Qt's X11 start-up takes the startup id out of the environment.
    const QString launchToken = qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN")
                                    ? qEnvironmentVariable("XDG_ACTIVATION_TOKEN")
                                    : qEnvironmentVariable("DESKTOP_STARTUP_ID");
    {
        QCoreApplication probe(argc, argv);
        describe();
        QCommandLineParser parser;
        parser.setApplicationDescription(QStringLiteral("GitHub notifications in the system tray."));
        parser.addHelpOption();
        parser.addVersionOption();
        const QCommandLineOption backgroundOption(
            QStringLiteral("background"), QStringLiteral("Start quietly in the tray (as at login): no window opens."));
        parser.addOption(backgroundOption);
        parser.process(probe);
        background = parser.isSet(backgroundOption);
    }

    QApplication app(argc, argv);
    Translations::install();
    describe();
    // No display name: Qt would append it to every window title.
    QApplication::setDesktopFileName(QStringLiteral("com.quillfen.app"));

    // In the user's runtime folder: one instance per user and login. Without
    // a private one Quillfen still runs, and says why a second start may too.
    const std::optional<QString> runtime = RuntimeFolder::find();
    SingleInstance instance(runtime.value_or(QString()) + QStringLiteral("/com.quillfen.app"));
    if (!runtime)
        std::fputs("Quillfen: no private runtime folder; running without the single-instance check\n", stderr);
    else if (!instance.claim(launchToken))
        return 0;

    QuillfenApp quillfen;
    QObject::connect(&instance, &SingleInstance::activationRequested, &quillfen, [&quillfen](const QString &token) {
        quillfen.setActivationToken(token);
        quillfen.showMainWindow();
    });
    quillfen.start(background ? QuillfenApp::Start::Quietly : QuillfenApp::Start::Normally);
    return QApplication::exec();
}
