#pragma once

#include <QString>

// The desktop's activation token for what the user is doing now (a click on
// an alert's button, as the notification server reports it): on Wayland, a
// browser the action starts or a window it shows may come forward with it.
namespace Activation {

// While one lives, token() is its token.
class Scope {
public:
    explicit Scope(const QString &token);
    ~Scope();
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;

private:
    QString m_previous;
};

// The innermost living scope's token; empty outside every scope.
QString token();

} // namespace Activation
