#include "platform/Browser.h"

#include <QDesktopServices>

#include <utility>

namespace Browser {
namespace {

QString &activationToken()
{
    static QString token;
    return token;
}

} // namespace

bool open(const QUrl &url)
{
    const QString token = activationToken();
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

ActivationScope::ActivationScope(const QString &token) : m_previous(std::exchange(activationToken(), token))
{
}

ActivationScope::~ActivationScope()
{
    activationToken() = m_previous;
}

} // namespace Browser
