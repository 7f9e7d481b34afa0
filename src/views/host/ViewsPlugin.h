#pragma once

#include "views/ViewHost.h"

#include <QObject>

// The plugin the shell loads when a window is first wanted.
class ViewsPlugin : public QObject, public ViewHostFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QuillfenViewHostFactory_iid)
    Q_INTERFACES(ViewHostFactory)

public:
    ViewsPlugin();
    std::unique_ptr<ViewHost> create(NotificationsStore *store) override;
};
