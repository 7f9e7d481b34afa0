#include "platform/DesktopNotifications.h"

#include "platform/Diagnostics.h"

#include <QCoro/QCoroDBusPendingCall>
#include <QCoro/QCoroTask>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace DesktopNotifications {
namespace {

const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString interfaceName = QStringLiteral("org.freedesktop.Notifications");

Fallback &fallback()
{
    static Fallback current;
    return current;
}

void postWithoutService(const DesktopNotification &notification, const QString &failurePrefix, const QString &reason)
{
    if (fallback() && fallback()(notification.title, bodyText(notification, false)))
        return;
    Diagnostics::print(failurePrefix + reason);
}

QDBusMessage call(const QString &method)
{
    return QDBusMessage::createMethodCall(QString::fromLatin1(serviceName), objectPath, interfaceName, method);
}

QCoro::Task<> send(DesktopNotification notification, QString failurePrefix)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Servers that read the body as markup get it escaped: titles come from
    // GitHub and may hold anything.
    const QDBusPendingReply<QStringList> capabilities = co_await bus.asyncCall(call(QStringLiteral("GetCapabilities")));
    const bool markup = capabilities.isValid() && capabilities.value().contains(QStringLiteral("body-markup"));

    QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("com.quillfen.app")}};
    if (notification.withSound)
        hints.insert(QStringLiteral("sound-name"), QStringLiteral("message-new-instant"));
    else
        hints.insert(QStringLiteral("suppress-sound"), true);

    QDBusMessage notify = call(QStringLiteral("Notify"));
    notify << QStringLiteral("Quillfen") << uint(0) // 0: a new notification, never a replacement
           << QStringLiteral("com.quillfen.app") << notification.title << bodyText(notification, markup) << QStringList()
           << hints << int(-1);
    const QDBusPendingReply<uint> reply = co_await bus.asyncCall(notify);
    if (reply.isError())
        Diagnostics::print(failurePrefix + reply.error().message());
}

} // namespace

bool isServiceAvailable()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()
           && bus.interface()->isServiceRegistered(QString::fromLatin1(serviceName)).value();
}

void post(const DesktopNotification &notification, const QString &failurePrefix)
{
    if (!QDBusConnection::sessionBus().isConnected()) {
        postWithoutService(notification, failurePrefix, QStringLiteral("no session bus"));
        return;
    }
    if (!isServiceAvailable()) {
        postWithoutService(notification, failurePrefix, QStringLiteral("no notification service on the session bus"));
        return;
    }
    send(notification, failurePrefix);
}

QCoro::Task<ServiceQuery> queryService()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        co_return ServiceQuery{false, QStringLiteral("no session bus")};
    QDBusMessage question = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    question << QString::fromLatin1(serviceName);
    const QDBusPendingReply<bool> reply = co_await bus.asyncCall(question);
    if (reply.isError())
        co_return ServiceQuery{false, reply.error().message()};
    co_return ServiceQuery{reply.value(), std::nullopt};
}

void setFallback(Fallback newFallback)
{
    fallback() = std::move(newFallback);
}

QString bodyText(const DesktopNotification &notification, bool markup)
{
    const auto escaped = [markup](const QString &text) { return markup ? text.toHtmlEscaped() : text; };
    if (!notification.subtitle)
        return escaped(notification.body);
    const QString subtitle = markup ? QStringLiteral("<b>%1</b>").arg(escaped(*notification.subtitle))
                                    : *notification.subtitle;
    return subtitle + u'\n' + escaped(notification.body);
}

} // namespace DesktopNotifications
