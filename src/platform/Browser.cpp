#include "platform/Browser.h"

#include "platform/Activation.h"

#include <QDesktopServices>

namespace Browser {

bool open(const QUrl &url)
{
    const QString token = Activation::token();
    if (token.isEmpty())
        return QDesktopServices::openUrl(url);
    // The browser is started with this process's environment; the token is
    // the browser's alone, so it is taken back at once.
    const QByteArray before = qgetenv("XDG_ACTIVATION_TOKEN");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN");
    qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    const bool opened = QDesktopServices::openUrl(url);
    if (wasSet)
        qputenv("XDG_ACTIVATION_TOKEN", before);
    else
        qunsetenv("XDG_ACTIVATION_TOKEN");
    return opened;
}

} // namespace Browser
