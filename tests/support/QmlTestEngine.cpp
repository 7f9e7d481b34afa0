#include "QmlTestEngine.h"

#include "views/IconImageProvider.h"

#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickStyle>

Q_IMPORT_QML_PLUGIN(QuillfenPlugin)

void prepareQmlEngine(QQmlEngine &engine)
{
    QQuickStyle::setStyle(QStringLiteral("Fusion"));
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    engine.addImageProvider(QStringLiteral("symbols"), new IconImageProvider);
}
