#pragma once

#include <QPoint>
#include <QtPlugin>

class QWindow;

// What the KWin placement plugin offers (see PlasmaSurface).
class WindowPlacer {
public:
    virtual ~WindowPlacer() = default;
    virtual bool available() = 0;
    virtual bool placeAt(QWindow *window, const QPoint &position) = 0;
};

#define QuillfenWindowPlacer_iid "app.quillfen.WindowPlacer/1"
Q_DECLARE_INTERFACE(WindowPlacer, QuillfenWindowPlacer_iid)
