#include "platform/Browser.h"

#include <QDesktopServices>

namespace Browser {

bool open(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace Browser
