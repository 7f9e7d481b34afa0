#include "Version.h"
#include "app/QuillfenApp.h"
#include "app/SingleInstance.h"

#include <QApplication>
#include <QIcon>
#include <QStandardPaths>
#include <QQmlEngineExtensionPlugin>
#include <QQuickStyle>

Q_IMPORT_QML_PLUGIN(QuillfenPlugin)

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillfen"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillfen"));
    QApplication::setApplicationVersion(QString::fromLatin1(Quillfen::versionString));
    QApplication::setOrganizationDomain(QStringLiteral("quillfen.app"));
    QApplication::setDesktopFileName(QStringLiteral("com.quillfen.app"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillfen/desktop/com.quillfen.app.svg")));
    if (QQuickStyle::name().isEmpty())
        QQuickStyle::setStyle(QStringLiteral("Fusion"));

    // In the user's runtime folder: one instance per user and login.
    SingleInstance instance(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                            + QStringLiteral("/com.quillfen.app.socket"));
    if (instance.handOverToRunningInstance())
        return 0;
    instance.listen();

    QuillfenApp quillfen;
    QObject::connect(&instance, &SingleInstance::activationRequested, &quillfen, &QuillfenApp::showMainWindow);
    quillfen.start();
    return QApplication::exec();
}
