#include "views/host/ViewsPlugin.h"

#include "views/host/SceneBackend.h"
#include "views/host/TextInputAccessible.h"
#include "views/host/WindowHost.h"

#include <QQmlEngineExtensionPlugin>

Q_IMPORT_QML_PLUGIN(QuillfenPlugin)

ViewsPlugin::ViewsPlugin()
{
    SceneBackend::choose();
    TextInputAccessible::install();
}

std::unique_ptr<ViewHost> ViewsPlugin::create(NotificationsStore *store)
{
    return std::make_unique<WindowHost>(store);
}
