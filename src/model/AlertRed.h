#pragma once

#include <QRgb>

// The desktop's red, as Theme.red gives it to the views, for what C++ paints
// where no QML engine runs: the tray's badge (drawn before any view is
// loaded, and with none loaded at all in the tray-only case) and the tint of a
// security alert's row, picked in the model.
inline constexpr QRgb alertRed = 0xffff3b30;
