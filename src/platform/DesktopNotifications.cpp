#include "platform/DesktopNotifications.h"

#include "platform/Activation.h"
#include "platform/Diagnostics.h"
#include "platform/NotificationSound.h"

#include <QCoro/QCoroDBusPendingCall>
#include <QCoro/QCoroTask>
#include <QCoreApplication>
#include <QDBusAbstractInterface>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QHash>
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

// The alerts still shown, by the server's id, for the server that showed
// them: their actions and what they are about. ActionInvoked is a broadcast
// and ids restart with the server: an id is only meaningful from the owner
// that gave it.
class ShownNotifications : public QObject {
    Q_OBJECT

public:
    ShownNotifications()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        const QString service = QString::fromLatin1(serviceName);
        bus.connect(service, objectPath, interfaceName, QStringLiteral("ActionInvoked"), this,
                    SLOT(actionInvoked(uint, QString, QDBusMessage)));
        bus.connect(service, objectPath, interfaceName, QStringLiteral("NotificationClosed"), this,
                    SLOT(notificationClosed(uint, uint, QDBusMessage)));
        // Sent just before ActionInvoked, for the window the action brings forward.
        bus.connect(service, objectPath, interfaceName, QStringLiteral("ActivationToken"), this,
                    SLOT(activationToken(uint, QString, QDBusMessage)));
        // A new owner (a restarted daemon) knows nothing of the old ids.
        auto *watcher = new QDBusServiceWatcher(service, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString &, const QString &, const QString &newOwner) { forgetAll(newOwner); });
    }

    // `owner` is the unique name of the server that answered with `id`.
    void add(const QString &owner, uint id, std::function<void(const QString &)> handler, const QStringList &about)
    {
        if (owner != m_owner)
            forgetAll(owner);
        // A server that never says an alert closed must not make this grow.
        if (m_order.size() >= maxShown)
            forget(m_order.first());
        forget(id);
        m_order.append(id);
        m_shown.insert(id, {std::move(handler), about});
    }

    // The alert a new one about `about` replaces, 0 for none: the one shown
    // about some of these threads and no other.
    uint replaced(const QStringList &about) const
    {
        if (about.isEmpty())
            return 0;
        for (auto shown = m_shown.cbegin(); shown != m_shown.cend(); ++shown) {
            const QStringList &earlier = shown->about;
            if (!earlier.isEmpty() && std::all_of(earlier.cbegin(), earlier.cend(), [&about](const QString &key) {
                    return about.contains(key);
                }))
                return shown.key();
        }
        return 0;
    }

private slots:
    void actionInvoked(uint id, const QString &key, const QDBusMessage &message)
    {
        if (message.service() != m_owner)
            return;
        const QString token = m_tokens.take(id);
        const auto handler = m_shown.value(id).handler;
        if (!handler)
            return;
        const Activation::Scope activation(token);
        handler(key);
    }

    void activationToken(uint id, const QString &token, const QDBusMessage &message)
    {
        if (message.service() == m_owner && m_shown.contains(id))
            m_tokens.insert(id, token);
    }

    void notificationClosed(uint id, uint, const QDBusMessage &message)
    {
        if (message.service() == m_owner)
            forget(id);
    }

private:
    struct Shown {
        std::function<void(const QString &)> handler;
        QStringList about;
    };

    void forget(uint id)
    {
        m_shown.remove(id);
        m_tokens.remove(id);
        m_order.removeAll(id);
    }

    void forgetAll(const QString &owner)
    {
        m_shown.clear();
        m_tokens.clear();
        m_order.clear();
        m_owner = owner;
    }

    static constexpr qsizetype maxShown = 64;
    QString m_owner;
    QHash<uint, Shown> m_shown;
    QHash<uint, QString> m_tokens;
    QList<uint> m_order;
};

ShownNotifications &shownNotifications()
{
    static ShownNotifications *shown = [] {
        auto *created = new ShownNotifications;
        created->setParent(QCoreApplication::instance());
        return created;
    }();
    return *shown;
}

void postWithoutService(const DesktopNotification &notification, const QString &failurePrefix, const QString &reason)
{
    if (notification.withSound)
        NotificationSound::play();
    if (fallback() && fallback()(notification.title, bodyText(notification, false))) {
        if (notification.onShown)
            notification.onShown();
        return;
    }
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
    const bool withActions = notification.onAction && !notification.actions.isEmpty() && capabilities.isValid()
                             && capabilities.value().contains(QStringLiteral("actions"));
    QStringList actions;
    ShownNotifications &shown = shownNotifications();
    if (withActions) {
        for (const auto &[key, label] : notification.actions)
            actions << key << label;
    }

    QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("com.quillfen.app")},
                      {QStringLiteral("category"), notification.category}};
    // One bell: the server's, where it plays sounds; else Quillfen's own,
    // and the server is asked to stay silent in case it plays one anyway.
    const bool serverSound = capabilities.isValid() && capabilities.value().contains(QStringLiteral("sound"));
    if (notification.withSound && serverSound) {
        hints.insert(QStringLiteral("sound-name"), QStringLiteral("message-new-instant"));
    } else {
        hints.insert(QStringLiteral("suppress-sound"), true);
        if (notification.withSound)
            NotificationSound::play();
    }
    // Servers that keep past alerts (Plasma's history) keep the buttons of
    // resident ones usable after the popup times out.
    if (withActions)
        hints.insert(QStringLiteral("resident"), true);

    QDBusMessage notify = call(QStringLiteral("Notify"));
    notify << QStringLiteral("Quillfen") << shown.replaced(notification.about) << QStringLiteral("com.quillfen.app")
           << notification.title << bodyText(notification, markup) << actions << hints << int(-1);
    const QDBusPendingReply<uint> reply = co_await bus.asyncCall(notify);
    if (reply.isError()) {
        Diagnostics::print(failurePrefix + reply.error().message());
        co_return;
    }
    shown.add(reply.reply().service(), reply.value(), withActions ? notification.onAction : nullptr,
              notification.about);
    if (notification.onShown)
        notification.onShown();
}

} // namespace

bool isServiceAvailable()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QString name = QString::fromLatin1(serviceName);
    return bus.interface()->isServiceRegistered(name).value()
           || bus.interface()->activatableServiceNames().value().contains(name);
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
    QDBusMessage question =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    question << QString::fromLatin1(serviceName);
    const QDBusPendingReply<bool> reply = co_await bus.asyncCall(question);
    if (reply.isError())
        co_return ServiceQuery{false, reply.error().message()};
    if (reply.value())
        co_return ServiceQuery{true, std::nullopt};
    // Not running, but the bus starts it on the first alert.
    const QDBusPendingReply<QStringList> activatable = co_await bus.asyncCall(
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListActivatableNames")));
    if (activatable.isError())
        co_return ServiceQuery{false, activatable.error().message()};
    co_return ServiceQuery{activatable.value().contains(QString::fromLatin1(serviceName)), std::nullopt};
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
    const QString subtitle =
        markup ? QStringLiteral("<b>%1</b>").arg(escaped(*notification.subtitle)) : *notification.subtitle;
    return subtitle + u'\n' + escaped(notification.body);
}

} // namespace DesktopNotifications

#include "DesktopNotifications.moc"
