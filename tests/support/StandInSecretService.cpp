#include "StandInSecretService.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QTimer>

namespace {

const QString serviceName = QStringLiteral("org.freedesktop.secrets");
const QString root = QStringLiteral("/org/freedesktop/secrets");
const QString collectionPath = root + QStringLiteral("/collection/login");
const QString itemPath = collectionPath + QStringLiteral("/1");
const QString sessionPath = root + QStringLiteral("/session/1");

// (oayays): session, parameters, value, content type; "plain" sessions only.
struct Secret {
    QDBusObjectPath session;
    QByteArray parameters;
    QByteArray value;
    QString contentType;
};

QDBusArgument &operator<<(QDBusArgument &argument, const Secret &secret)
{
    argument.beginStructure();
    argument << secret.session << secret.parameters << secret.value << secret.contentType;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, Secret &secret)
{
    argument.beginStructure();
    argument >> secret.session >> secret.parameters >> secret.value >> secret.contentType;
    argument.endStructure();
    return argument;
}

using Secrets = QMap<QDBusObjectPath, Secret>;

} // namespace

Q_DECLARE_METATYPE(Secret)
Q_DECLARE_METATYPE(Secrets)

StandInSecretService::StandInSecretService()
    : m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("stand-in-secrets")))
{
    qDBusRegisterMetaType<Secret>();
    qDBusRegisterMetaType<Secrets>();
    qDBusRegisterMetaType<QMap<QString, QString>>();
    if (!m_connection.registerVirtualObject(root, this, QDBusConnection::SubPath)
        || !m_connection.registerService(serviceName))
        qFatal("cannot own %s: %s", qPrintable(serviceName), qPrintable(m_connection.lastError().message()));
}

StandInSecretService::~StandInSecretService()
{
    m_connection.unregisterService(serviceName);
    m_connection.unregisterObject(root, QDBusConnection::UnregisterTree);
    QDBusConnection::disconnectFromBus(QStringLiteral("stand-in-secrets"));
}

void StandInSecretService::setItem(const QByteArray &secret)
{
    m_hasItem = true;
    m_secret = secret;
}

void StandInSecretService::setLocked(bool locked)
{
    if (locked == m_locked)
        return;
    m_locked = locked;
    QDBusMessage changed = QDBusMessage::createSignal(collectionPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("PropertiesChanged"));
    changed << QStringLiteral("org.freedesktop.Secret.Collection") << QVariantMap{{QStringLiteral("Locked"), locked}}
            << QStringList();
    m_connection.send(changed);
}

QString StandInSecretService::introspect(const QString &) const
{
    return {};
}

QVariantMap StandInSecretService::propertiesOf(const QString &path) const
{
    if (path == root)
        return {{QStringLiteral("Collections"),
                 QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(collectionPath)})}};
    QVariantMap properties{{QStringLiteral("Locked"), m_locked},
                           {QStringLiteral("Label"), QStringLiteral("Login")},
                           {QStringLiteral("Created"), quint64(0)},
                           {QStringLiteral("Modified"), quint64(0)}};
    if (path == itemPath)
        properties.insert(QStringLiteral("Attributes"), QVariant::fromValue(QMap<QString, QString>{}));
    else
        properties.insert(QStringLiteral("Items"), QVariant::fromValue(QList<QDBusObjectPath>{}));
    return properties;
}

void StandInSecretService::showPrompt(const QString &path, bool createsItem)
{
    ++m_promptsShown;
    if (m_answer == PromptAnswer::never)
        return;
    QTimer::singleShot(m_promptDelayMs, this, [this, path, createsItem] {
        const bool dismissed = m_answer == PromptAnswer::dismiss;
        if (dismissed)
            m_pendingSecret = QByteArray();
        QDBusVariant result{QVariant::fromValue(QList<QDBusObjectPath>{})};
        if (!dismissed) {
            setLocked(false);
            if (createsItem) {
                setItem(std::exchange(m_pendingSecret, QByteArray()));
                result = QDBusVariant(QVariant::fromValue(QDBusObjectPath(itemPath)));
            } else {
                result = QDBusVariant(QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(collectionPath)}));
            }
        }
        QDBusMessage completed = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.Secret.Prompt"),
                                                            QStringLiteral("Completed"));
        completed << dismissed << QVariant::fromValue(result);
        m_connection.send(completed);
    });
}

bool StandInSecretService::handleMessage(const QDBusMessage &message, const QDBusConnection &)
{
    const QString member = message.member();
    const QString path = message.path();
    const QVariantList in = message.arguments();
    const auto reply = [&](const QVariantList &out) {
        m_connection.send(message.createReply(out));
        return true;
    };
    const auto noPrompt = QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")));
    const auto newPrompt = [this] { return QStringLiteral("/org/freedesktop/secrets/prompt/p%1").arg(m_nextPrompt++); };

    if (message.interface() == u"org.freedesktop.DBus.Properties") {
        const QVariantMap properties = propertiesOf(path);
        if (member == u"GetAll")
            return reply({properties});
        if (member == u"Get")
            return reply({QVariant::fromValue(QDBusVariant(properties.value(in.value(1).toString())))});
        return reply({});
    }
    if (member == u"OpenSession") {
        if (in.value(0).toString() != u"plain") {
            m_connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.NotSupported"),
                                                       QStringLiteral("plain only")));
            return true;
        }
        return reply({QVariant::fromValue(QDBusVariant(QString())), QVariant::fromValue(QDBusObjectPath(sessionPath))});
    }
    if (member == u"SearchItems") {
        QList<QDBusObjectPath> found;
        if (m_hasItem)
            found.append(QDBusObjectPath(itemPath));
        const QList<QDBusObjectPath> none;
        return reply({QVariant::fromValue(m_locked ? none : found), QVariant::fromValue(m_locked ? found : none)});
    }
    if (member == u"Unlock") {
        if (!m_locked)
            return reply({in.value(0), noPrompt});
        const QString prompt = newPrompt();
        return reply({QVariant::fromValue(QList<QDBusObjectPath>{}), QVariant::fromValue(QDBusObjectPath(prompt))});
    }
    if (member == u"Prompt") {
        showPrompt(path, !m_pendingSecret.isNull());
        return reply({});
    }
    if (member == u"GetSecrets" || member == u"GetSecret") {
        const Secret secret{QDBusObjectPath(sessionPath), {}, m_secret, QStringLiteral("text/plain")};
        if (member == u"GetSecret")
            return reply({QVariant::fromValue(secret)});
        Secrets secrets;
        if (m_hasItem && !m_locked)
            secrets.insert(QDBusObjectPath(itemPath), secret);
        return reply({QVariant::fromValue(secrets)});
    }
    if (member == u"CreateItem") {
        Secret secret;
        in.value(1).value<QDBusArgument>() >> secret;
        if (!m_locked) {
            setItem(secret.value);
            return reply({QVariant::fromValue(QDBusObjectPath(itemPath)), noPrompt});
        }
        m_pendingSecret = secret.value;
        return reply({QVariant::fromValue(QDBusObjectPath(QStringLiteral("/"))),
                      QVariant::fromValue(QDBusObjectPath(newPrompt()))});
    }
    if (member == u"Delete") {
        m_hasItem = false;
        m_secret.clear();
        return reply({noPrompt});
    }
    if (member == u"ReadAlias")
        return reply({QVariant::fromValue(QDBusObjectPath(collectionPath))});
    // Close, Dismiss, and the rest: nothing to do.
    return reply({});
}
