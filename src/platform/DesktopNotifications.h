#pragma once

#include <QCoro/QCoroTask>
#include <QString>

#include <functional>
#include <optional>

struct DesktopNotification {
    QString title;
    std::optional<QString> subtitle;
    QString body;
    bool withSound = false;
};

// Desktop notifications through org.freedesktop.Notifications on the session
// bus. Each one is new (never replaces an earlier one). Where no notification
// service exists, the fallback (the tray icon's message) is used; when that
// fails too, a "Failed to show notification: " diagnostic is printed.
namespace DesktopNotifications {

inline constexpr char serviceName[] = "org.freedesktop.Notifications";

// `failurePrefix` starts the diagnostic line printed when it cannot be shown.
void post(const DesktopNotification &notification,
          const QString &failurePrefix = QStringLiteral("Failed to show notification: "));

// Whether a notification service is on the session bus right now.
bool isServiceAvailable();

// The same question without blocking: true or false, or why it could not be
// answered (no session bus, the bus refused).
struct ServiceQuery {
    bool available = false;
    std::optional<QString> error;
};
QCoro::Task<ServiceQuery> queryService();

// Returns whether it could show the message.
using Fallback = std::function<bool(const QString &title, const QString &body)>;
void setFallback(Fallback fallback);

// The freedesktop protocol has a summary and a body: the title is the
// summary, the subtitle the body's first line.
QString bodyText(const DesktopNotification &notification, bool markup);

} // namespace DesktopNotifications
