#include "StandInSecretService.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString serviceName = u"org.freedesktop.secrets"_s;
const QString root = u"/org/freedesktop/secrets"_s;
const QString collectionPath = root + u"/collection/login"_s;
const QString sessionPath = root + u"/session/1"_s;

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
using Attributes = QMap<QString, QString>;

QVariant object(const QString &path)
{
    return QVariant::fromValue(QDBusObjectPath(path));
}

// A list of object paths: `path`, or none.
QVariant objects(const QString &path = {})
{
    return QVariant::fromValue(path.isEmpty() ? QList<QDBusObjectPath>() : QList{QDBusObjectPath(path)});
}

} // namespace

StandInSecretService::StandInSecretService()
    : m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"stand-in-secrets"_s))
{
    qDBusRegisterMetaType<Secret>();
    qDBusRegisterMetaType<Secrets>();
    qDBusRegisterMetaType<Attributes>();
    if (!m_connection.registerVirtualObject(root, this, QDBusConnection::SubPath)
        || !m_connection.registerService(serviceName))
        qFatal("cannot own %s: %s", qPrintable(serviceName), qPrintable(m_connection.lastError().message()));
}

StandInSecretService::~StandInSecretService()
{
    // Closing the connection gives up the name and the objects.
    QDBusConnection::disconnectFromBus(m_connection.name());
}

void StandInSecretService::setItem(const QByteArray &secret, const QByteArray &account)
{
    m_items[indexOf(account)].second = secret;
}

QByteArray StandInSecretService::secret(const QByteArray &account) const
{
    for (const auto &[name, value] : m_items) {
        if (name == account)
            return value;
    }
    return {};
}

qsizetype StandInSecretService::indexOf(const QByteArray &account)
{
    qsizetype index = 0;
    while (index < m_items.size() && m_items.at(index).first != account)
        ++index;
    if (index == m_items.size())
        m_items.append({account, {}});
    return index;
}

QString StandInSecretService::itemPath(const QByteArray &account)
{
    return collectionPath + u'/' + QString::number(indexOf(account) + 1);
}

QByteArray StandInSecretService::secretAt(const QString &path) const
{
    const qsizetype index = path.startsWith(collectionPath + u'/') ? path.section(u'/', -1).toInt() - 1 : -1;
    return index >= 0 && index < m_items.size() ? m_items.at(index).second : QByteArray();
}

void StandInSecretService::setLocked(bool locked)
{
    if (locked == m_locked)
        return;
    m_locked = locked;
    QDBusMessage changed =
        QDBusMessage::createSignal(collectionPath, u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s);
    changed << u"org.freedesktop.Secret.Collection"_s << QVariantMap{{u"Locked"_s, locked}} << QStringList();
    m_connection.send(changed);
}

void StandInSecretService::showPrompt(const QString &path)
{
    ++m_promptsShown;
    if (m_answer == PromptAnswer::never)
        return;
    QTimer::singleShot(m_promptDelayMs, this, [this, path, pending = std::exchange(m_pending, {})] {
        const bool dismissed = m_answer == PromptAnswer::dismiss;
        if (!dismissed)
            setLocked(false);
        if (!dismissed && pending)
            setItem(pending->second, pending->first);
        // What the prompt did: nothing, the collection unlocked, or the item created.
        const QVariant result = dismissed  ? objects()
                                : !pending ? objects(collectionPath)
                                           : object(itemPath(pending->first));
        QDBusMessage completed = QDBusMessage::createSignal(path, u"org.freedesktop.Secret.Prompt"_s, u"Completed"_s);
        completed << dismissed << QVariant::fromValue(QDBusVariant(result));
        m_connection.send(completed);
    });
}

// Only what libsecret and Quillfen call: the rest answers with nothing.
bool StandInSecretService::handleMessage(const QDBusMessage &message, const QDBusConnection &)
{
    const QString member = message.member();
    const QVariantList in = message.arguments();
    const auto reply = [&](const QVariantList &out) { return m_connection.send(message.createReply(out)); };
    const QVariant noPrompt = object(u"/"_s);

    // libsecret reads the service's properties (GetAll), and needs none of them.
    if (message.interface() == u"org.freedesktop.DBus.Properties")
        return reply({QVariantMap()});
    // libsecret asks for an encrypted session first.
    if (member == u"OpenSession" && in.value(0).toString() != u"plain")
        return m_connection.send(message.createErrorReply(QDBusError::NotSupported, u"plain only"_s));
    if (member == u"OpenSession")
        return reply({QVariant::fromValue(QDBusVariant(QString())), object(sessionPath)});
    if (member == u"SearchItems") {
        const QByteArray account = qdbus_cast<Attributes>(in.value(0)).value(u"account"_s).toUtf8();
        const QString path = itemPath(account);
        const QVariant found = objects(secretAt(path).isNull() ? QString() : path);
        return reply(m_locked ? QVariantList{objects(), found} : QVariantList{found, objects()});
    }
    if (member == u"Unlock")
        return m_locked ? reply({objects(), object(newPrompt())}) : reply({in.value(0), noPrompt});
    if (member == u"Prompt") {
        showPrompt(message.path());
        return reply({});
    }
    const auto secretFor = [this](const QString &path) {
        return Secret{QDBusObjectPath(sessionPath), {}, secretAt(path), u"text/plain"_s};
    };
    if (member == u"GetSecret")
        return reply({QVariant::fromValue(secretFor(message.path()))});
    if (member == u"GetSecrets") {
        Secrets secrets;
        for (const QDBusObjectPath &item : qdbus_cast<QList<QDBusObjectPath>>(in.value(0))) {
            if (!m_locked && !secretAt(item.path()).isNull())
                secrets.insert(item, secretFor(item.path()));
        }
        return reply({QVariant::fromValue(secrets)});
    }
    if (member == u"CreateItem") {
        const QVariantMap properties = qdbus_cast<QVariantMap>(in.value(0));
        const QByteArray account = qdbus_cast<Attributes>(properties.value(u"org.freedesktop.Secret.Item.Attributes"_s))
                                       .value(u"account"_s)
                                       .toUtf8();
        const QByteArray value = qdbus_cast<Secret>(in.value(1)).value;
        // In a locked collection, the item waits for the prompt.
        if (m_locked) {
            m_pending = {account, value};
            return reply({noPrompt, object(newPrompt())});
        }
        setItem(value, account);
        return reply({object(itemPath(account)), noPrompt});
    }
    return reply({});
}
