#pragma once

#include <QString>
#include <QUrl>

// Opens an address in the user's default browser.
namespace Browser {

bool open(const QUrl &url);

// While one lives, a browser started to open an address gets the desktop's
// activation token (XDG_ACTIVATION_TOKEN), so that on Wayland a browser
// already open comes forward.
class ActivationScope {
public:
    explicit ActivationScope(const QString &token);
    ~ActivationScope();
    ActivationScope(const ActivationScope &) = delete;
    ActivationScope &operator=(const ActivationScope &) = delete;

private:
    QString m_previous;
};

} // namespace Browser
