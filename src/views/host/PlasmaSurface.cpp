#include "views/host/PlasmaSurface.h"

#include "platform/Plugins.h"
#include "views/host/WindowPlacer.h"

#include <QGuiApplication>

namespace {

WindowPlacer *placer()
{
    // Loaded on Wayland only, where Qt has mapped its Wayland client already:
    // on X11 the views map none of it.
#ifdef QUILLFEN_PLASMA_SHELL
    static WindowPlacer *const loaded =
        QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
            ? qobject_cast<WindowPlacer *>(Plugins::instance(QStringLiteral("quillfen_plasma")))
            : nullptr;
    return loaded;
#else
    return nullptr;
#endif
}

} // namespace

bool PlasmaSurface::available()
{
    return placer() && placer()->available();
}

bool PlasmaSurface::placeAt(QWindow *window, const QPoint &position)
{
    return placer() && placer()->placeAt(window, position);
}
