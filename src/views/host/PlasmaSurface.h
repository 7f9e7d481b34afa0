#pragma once

#include <QPoint>

class QWindow;

// KWin lets a client place its own windows, and keep one off the taskbar and
// the window switcher, through its plasma shell protocol: an add-on to a
// normal window's surface. Other compositors do not offer it, and neither do
// X11 and the other platforms, where everything here does nothing.
namespace PlasmaSurface {

// Whether the compositor offers the protocol to Quillfen.
bool available();

// From its next frame on, and again each time it is shown, `window` stands
// at `position` (global, in the compositor's logical pixels), off the taskbar
// and the switcher, above normal windows. False when the protocol is not
// offered.
bool placeAt(QWindow *window, const QPoint &position);

} // namespace PlasmaSurface
