#include "Version.h"
#include "app/QuillfenApp.h"
#include "app/SingleInstance.h"

#include <QApplication>
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
    if (QQuickStyle::name().isEmpty())
        QQuickStyle::setStyle(QStringLiteral("Fusion"));

    SingleInstance instance(QStringLiteral("com.quillfen.app-") + qEnvironmentVariable("USER"));
    if (instance.handOverToRunningInstance())
        return 0;
    instance.listen();

    QuillfenApp quillfen;
    QObject::connect(&instance, &SingleInstance::activationRequested, &quillfen, &QuillfenApp::showMainWindow);
    quillfen.start();
    return QApplication::exec();
}
