#include "views/host/PlasmaSurface.h"

bool PlasmaSurface::available()
{
    return false;
}

bool PlasmaSurface::placeAt(QWindow *, const QPoint &)
{
    return false;
}
