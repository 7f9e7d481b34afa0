#include "Version.h"
#include "shell/QuillfenApp.h"
#include "shell/SingleInstance.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillfen"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillfen"));
    QApplication::setApplicationVersion(QString::fromLatin1(Quillfen::versionString));
    QApplication::setOrganizationDomain(QStringLiteral("quillfen.app"));
    QApplication::setDesktopFileName(QStringLiteral("com.quillfen.app"));

    // In the user's runtime folder: one instance per user and login.
    SingleInstance instance(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                            + QStringLiteral("/com.quillfen.app"));
    if (!instance.claim())
        return 0;

    QuillfenApp quillfen;
    QObject::connect(&instance, &SingleInstance::activationRequested, &quillfen, &QuillfenApp::showMainWindow);
    quillfen.start();
    return QApplication::exec();
}
