#include "QmlTestEngine.h"

#include "views/IconImageProvider.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTest>

Q_IMPORT_QML_PLUGIN(QuillfenPlugin)

void prepareQmlEngine(QQmlEngine &engine)
{
    QQuickStyle::setStyle(QStringLiteral("Fusion"));
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    engine.addImageProvider(QStringLiteral("symbols"), new IconImageProvider);
}

QQuickWindow *showWindow(QQmlEngine &engine, const QString &type, const QVariantMap &properties)
{
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/qt/qml/Quillfen/qml/%1.qml").arg(type)));
    auto *window = qobject_cast<QQuickWindow *>(component.createWithInitialProperties(properties));
    if (!window)
        qFatal("%s", qPrintable(component.errorString()));
    window->setProperty("hideOnDeactivate", false);
    window->show();
    window->requestActivate();
    if (!QTest::qWaitForWindowExposed(window))
        qFatal("%s not exposed", qPrintable(type));
    return window;
}
