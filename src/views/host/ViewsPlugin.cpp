#include "views/host/ViewsPlugin.h"

#include "views/host/SceneBackend.h"
#include "views/host/TextInputAccessible.h"
#include "views/host/WindowHost.h"

#include <QGuiApplication>
#include <QIcon>
#include <QQmlEngineExtensionPlugin>

Q_IMPORT_QML_PLUGIN(QuillfenPlugin)

ViewsPlugin::ViewsPlugin()
{
    SceneBackend::choose();
    TextInputAccessible::install();
    // Set here, not at start: the icon is an SVG, and the tray alone draws none.
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/quillfen/desktop/com.quillfen.app.svg")));
}

std::unique_ptr<ViewHost> ViewsPlugin::create(NotificationsStore *store)
{
    return std::make_unique<WindowHost>(store);
}
