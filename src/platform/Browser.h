#pragma once

#include <QUrl>

// Opens an address in the user's default browser.
namespace Browser {

bool open(const QUrl &url);

} // namespace Browser
