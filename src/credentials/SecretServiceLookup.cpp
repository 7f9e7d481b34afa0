#include "credentials/SecretServiceLookup.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace SecretServiceLookup {
namespace {

constexpr char serviceName[] = "org.freedesktop.secrets";
constexpr char servicePath[] = "/org/freedesktop/secrets";
constexpr char serviceInterface[] = "org.freedesktop.Secret.Service";

QDBusMessage call(const QString &path, const char *interface, const char *method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QString::fromLatin1(serviceName), path,
                                                          QString::fromLatin1(interface), QString::fromLatin1(method));
    message.setArguments(arguments);
    // Never start a keyring daemon from here, and never wait on a prompt.
    message.setAutoStartService(false);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, 5000);
}

QList<QDBusObjectPath> paths(const QVariant &argument)
{
    QList<QDBusObjectPath> result;
    argument.value<QDBusArgument>() >> result;
    return result;
}

} // namespace

std::optional<SecretStoreBackend::ReadResult> read(const QByteArray &account)
{
    using SecretStoreBackend::Outcome;
    if (!QDBusConnection::sessionBus().isConnected())
        return std::nullopt;
    static const QMetaType attributesType = qDBusRegisterMetaType<QMap<QString, QString>>();
    Q_UNUSED(attributesType);

    // The attributes libsecret stores with the generic schema.
    const QMap<QString, QString> attributes{
        {QStringLiteral("xdg:schema"), QStringLiteral("org.freedesktop.Secret.Generic")},
        {QStringLiteral("service"), QString::fromLatin1(SecretStoreBackend::serviceName)},
        {QStringLiteral("account"), QString::fromUtf8(account)},
    };
    const QDBusMessage found =
        call(QString::fromLatin1(servicePath), serviceInterface, "SearchItems", {QVariant::fromValue(attributes)});
    if (found.type() != QDBusMessage::ReplyMessage || found.arguments().size() != 2)
        return std::nullopt;
    const QList<QDBusObjectPath> unlocked = paths(found.arguments().at(0));
    const QList<QDBusObjectPath> locked = paths(found.arguments().at(1));
    if (unlocked.isEmpty())
        return SecretStoreBackend::ReadResult{locked.isEmpty() ? Outcome::notFound : Outcome::locked, 0, {}};

    // "plain": the secret crosses only the user's own session bus, whose
    // other clients could ask the service for it anyway.
    const QDBusMessage opened = call(QString::fromLatin1(servicePath), serviceInterface, "OpenSession",
                                     {QStringLiteral("plain"), QVariant::fromValue(QDBusVariant(QString()))});
    if (opened.type() != QDBusMessage::ReplyMessage || opened.arguments().size() != 2)
        return std::nullopt;
    const QDBusObjectPath session = opened.arguments().at(1).value<QDBusObjectPath>();

    const QDBusMessage secret =
        call(unlocked.first().path(), "org.freedesktop.Secret.Item", "GetSecret", {QVariant::fromValue(session)});
    call(session.path(), "org.freedesktop.Secret.Session", "Close", {});
    if (secret.type() != QDBusMessage::ReplyMessage || secret.arguments().size() != 1)
        return std::nullopt;

    // (oayays): session, parameters, value, content type.
    QDBusObjectPath secretSession;
    QByteArray parameters;
    QByteArray value;
    QString contentType;
    const QDBusArgument reply = secret.arguments().at(0).value<QDBusArgument>();
    reply.beginStructure();
    reply >> secretSession >> parameters >> value >> contentType;
    reply.endStructure();
    return SecretStoreBackend::ReadResult{Outcome::ok, 0, value};
}

} // namespace SecretServiceLookup
