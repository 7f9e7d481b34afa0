#pragma once

#include "views/host/WindowPlacer.h"

#include <QObject>

// Places windows through KWin's plasma shell protocol. A plugin of its own,
// so that Qt's Wayland client and the protocol's code are mapped only on
// Wayland.
class PlasmaShellPlacer : public QObject, public WindowPlacer {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QuillfenWindowPlacer_iid)
    Q_INTERFACES(WindowPlacer)

public:
    bool available() override;
    bool placeAt(QWindow *window, const QPoint &position) override;
};
