#pragma once

#include <QUrl>

// Opens an address in the user's default browser, with the activation
// token of the user's action (Activation) where there is one, so that on
// Wayland a browser already open comes forward.
namespace Browser {

bool open(const QUrl &url);

} // namespace Browser
