#pragma once

#include <QString>

class QWindow;

// The desktop's permission for a window to come forward: an XDG activation
// token on Wayland, a startup-notification id on X11.
namespace ActivationToken {

// Before the window is shown or raised.
void applyTo(QWindow *window, const QString &token);
// After the click was handled, whether or not a window came: ends the
// startup feedback (the busy cursor). Only X11 lets a client do that; a
// Wayland compositor ends it when the token is used, or lets it expire.
void release(const QString &token);

} // namespace ActivationToken
