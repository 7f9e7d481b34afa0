#pragma once

#include <QCoro/QCoroTask>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct DesktopNotification {
    QString title;
    std::optional<QString> subtitle;
    QString body;
    // The user's bell: the server's own sound where it plays sounds,
    // otherwise Quillfen's clip; never both.
    bool withSound = false;
    // Offered where the notification server shows actions, as (key, label);
    // the key "default" is a click on the alert itself. `onAction` receives
    // the key the user chose, on the main thread.
    QList<QPair<QString, QString>> actions = {};
    std::function<void(const QString &key)> onAction = {};
    // Called once the notification service (or the fallback) took it.
    std::function<void()> onShown = {};
    // What it is about (thread keys): it replaces the notification still
    // shown about the same things, or about some of them and nothing else,
    // so a busy thread does not pile up alerts.
    QStringList about = {};
    // The "category" hint: "x-quillfen.<class>", so that servers and their
    // rules can tell Quillfen's kinds of alert apart.
    QString category = QStringLiteral("x-quillfen.thread");
};

// Desktop notifications through org.freedesktop.Notifications on the session
// bus. An action the user takes comes with the server's activation token,
// if it sent one, for the browser the action starts. Where no notification
// service exists, the fallback (the tray icon's message) is used; when that
// fails too, a "Failed to show notification: " diagnostic is printed.
namespace DesktopNotifications {

inline constexpr char serviceName[] = "org.freedesktop.Notifications";

// `failurePrefix` starts the diagnostic line printed when it cannot be shown.
void post(const DesktopNotification &notification,
          const QString &failurePrefix = QStringLiteral("Failed to show notification: "));

// Whether a notification service is on the session bus, or can be started
// by it on demand (many daemons are, and own the name only once used).
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
