#include "Version.h"
#include "platform/Translations.h"
#include "shell/QuillfenApp.h"
#include "shell/RemoteControl.h"
#include "shell/SingleInstance.h"
#include "shell/StatusCommand.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

void describe()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillfen"));
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1 (build %2)")
            .arg(QLatin1StringView(Quillfen::versionString), QLatin1StringView(Quillfen::buildNumber)));
    QCoreApplication::setOrganizationDomain(QStringLiteral("quillfen.app"));
}

} // namespace

int main(int argc, char *argv[])
{
    // The command line is read before the GUI starts: --version and --help
    // answer on a machine with no display at all.
    bool background = false;
    // The act a later start hands to the running instance, or does itself.
    QByteArray act = "activate";
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
        const QCommandLineOption backgroundOption(QStringLiteral("background"),
                                                  QStringLiteral(
                                                      "Start quietly in the tray (as at login): no window opens."));
        parser.addOption(backgroundOption);
        const QCommandLineOption statusOption(
            QStringLiteral("status"),
            QStringLiteral("Print the running Quillfen's status as one JSON line (for status bars)."));
        const QCommandLineOption watchOption(
            QStringLiteral("watch"),
            QStringLiteral("With --status: print a new line on every change, until interrupted."));
        const QCommandLineOption toggleOption(QStringLiteral("toggle-panel"),
                                              QStringLiteral(
                                                  "Open or close the notifications panel (for a keyboard shortcut)."));
        const QCommandLineOption windowOption(QStringLiteral("show-window"), QStringLiteral("Show the main window."));
        const QCommandLineOption refreshOption(QStringLiteral("refresh"),
                                               QStringLiteral("Fetch the notifications now."));
        parser.addOptions({statusOption, watchOption, toggleOption, windowOption, refreshOption});
        parser.process(probe);
        if (parser.isSet(statusOption)) {
            Translations::install();
            return StatusCommand::run(parser.isSet(watchOption));
        }
        background = parser.isSet(backgroundOption);
        if (parser.isSet(toggleOption))
            act = "toggle-panel";
        else if (parser.isSet(windowOption))
            act = "show-window";
        else if (parser.isSet(refreshOption))
            act = "refresh";
    }

    QApplication app(argc, argv);
    Translations::install();
    describe();
    // No display name: Qt would append it to every window title.
    QApplication::setDesktopFileName(QStringLiteral("com.quillfen.app"));

    // In the user's runtime folder: one instance per user and login. Without
    // a private one Quillfen still runs, and says why a second start may too.
    const std::optional<QString> path = SingleInstance::userPath();
    SingleInstance instance(path.value_or(QString()));
    if (!path)
        std::fputs("Quillfen: no private runtime folder; running without the single-instance check\n", stderr);
    else if (const SingleInstance::Claim claim = instance.claim(launchToken, act);
             claim != SingleInstance::Claim::ours) {
        if (claim == SingleInstance::Claim::handedOver)
            return 0;
        std::fputs(qPrintable(QCoreApplication::translate("StatusCommand", "Quillfen is running but not answering.")
                              + u'\n'),
                   stderr);
        return 1;
    }

    QuillfenApp quillfen;
    RemoteControl remote(instance, quillfen);
    // Started for a panel or a window, none other opens first.
    const bool acting = act == "toggle-panel" || act == "show-window";
    quillfen.start(background || acting ? QuillfenApp::Start::Quietly : QuillfenApp::Start::Normally);
    if (acting)
        remote.perform(QString::fromLatin1(act), launchToken);
    return QApplication::exec();
}
