#include "shell/tray/DBusMenuExporter.h"

#include <QAction>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QMenu>

DBusMenuExporter::DBusMenuExporter(QMenu *menu, const QString &path, QObject *parent)
    : QObject(parent), m_menu(menu), m_path(path)
{
    registerDBusTrayTypes();
    new DBusMenuAdaptor(this);
    // Labels change (the unread count): hosts read the layout again.
    for (QAction *action : menu->actions()) {
        connect(action, &QAction::changed, this, [this] {
            ++m_revision;
            emit layoutUpdated(m_revision, 0);
        });
    }
    QDBusConnection::sessionBus().registerObject(m_path, this, QDBusConnection::ExportAdaptors);
}

DBusMenuExporter::~DBusMenuExporter()
{
    QDBusConnection::sessionBus().unregisterObject(m_path);
}

QAction *DBusMenuExporter::action(int id) const
{
    if (!m_menu)
        return nullptr;
    const QList<QAction *> actions = m_menu->actions();
    return id >= 1 && id <= actions.size() ? actions.at(id - 1) : nullptr;
}

QVariantMap DBusMenuExporter::properties(int id, const QStringList &names) const
{
    QVariantMap properties;
    if (id == 0) {
        properties.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    } else if (const QAction *entry = action(id)) {
        if (entry->isSeparator()) {
            properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
        } else {
            // Qt marks mnemonics with '&', the menu protocol with '_'.
            QString label = entry->text();
            label.replace(u'_', QStringLiteral("__")).replace(u'&', u'_');
            properties.insert(QStringLiteral("label"), label);
        }
        if (!entry->isEnabled())
            properties.insert(QStringLiteral("enabled"), false);
        if (!entry->isVisible())
            properties.insert(QStringLiteral("visible"), false);
    }
    if (!names.isEmpty()) {
        for (auto it = properties.begin(); it != properties.end();)
            it = names.contains(it.key()) ? std::next(it) : properties.erase(it);
    }
    return properties;
}

QVariant DBusMenuExporter::property(int id, const QString &name) const
{
    if (!hasEntry(id))
        return {};
    const QVariantMap set = properties(id);
    if (set.contains(name))
        return set.value(name);
    if (name == u"enabled" || name == u"visible")
        return true;
    if (name == u"type")
        return QStringLiteral("standard");
    return {};
}

DBusMenuLayoutItem DBusMenuExporter::layout(int parentId, int depth) const
{
    DBusMenuLayoutItem item{parentId, properties(parentId), {}};
    if (parentId == 0 && depth != 0 && m_menu) {
        for (int id = 1; id <= m_menu->actions().size(); ++id)
            item.children.append({id, properties(id), {}});
    }
    return item;
}

bool DBusMenuExporter::handleEvent(int id, const QString &eventId)
{
    QAction *entry = action(id);
    if (!entry)
        return false;
    if (eventId == u"clicked" && entry->isEnabled() && !entry->isSeparator()) {
        // After the reply: Quit must not end the process inside the call.
        QMetaObject::invokeMethod(entry, &QAction::trigger, Qt::QueuedConnection);
    }
    return true;
}

namespace {

// Answers the call with an error instead of the value the slot returns.
void refuse(const QDBusMessage &call, const QString &why)
{
    call.setDelayedReply(true);
    QDBusConnection::sessionBus().send(call.createErrorReply(QDBusError::InvalidArgs, why));
}

} // namespace

DBusMenuAdaptor::DBusMenuAdaptor(DBusMenuExporter *exporter) : QDBusAbstractAdaptor(exporter), m_exporter(exporter)
{
    connect(exporter, &DBusMenuExporter::layoutUpdated, this, &DBusMenuAdaptor::LayoutUpdated);
}

QString DBusMenuAdaptor::textDirection() const
{
    return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl") : QStringLiteral("ltr");
}

uint DBusMenuAdaptor::GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames,
                                const QDBusMessage &message, DBusMenuLayoutItem &layout)
{
    Q_UNUSED(propertyNames)
    if (!m_exporter->hasEntry(parentId)) {
        refuse(message, QStringLiteral("No menu entry %1").arg(parentId));
        return 0;
    }
    layout = m_exporter->layout(parentId, recursionDepth);
    return m_exporter->revision();
}

DBusMenuItemPropertiesList DBusMenuAdaptor::GetGroupProperties(const QList<int> &ids, const QStringList &propertyNames)
{
    DBusMenuItemPropertiesList result;
    for (int id : ids)
        result.append({id, m_exporter->properties(id, propertyNames)});
    return result;
}

QDBusVariant DBusMenuAdaptor::GetProperty(int id, const QString &name, const QDBusMessage &message)
{
    const QVariant value = m_exporter->property(id, name);
    if (!value.isValid()) {
        refuse(message, QStringLiteral("No property %1 of menu entry %2").arg(name).arg(id));
        return QDBusVariant(QString());
    }
    return QDBusVariant(value);
}

void DBusMenuAdaptor::Event(int id, const QString &eventId, const QDBusVariant &data, uint timestamp)
{
    Q_UNUSED(data)
    Q_UNUSED(timestamp)
    m_exporter->handleEvent(id, eventId);
}

QList<int> DBusMenuAdaptor::EventGroup(const QList<DBusMenuEvent> &events)
{
    QList<int> idErrors;
    for (const DBusMenuEvent &event : events) {
        if (!m_exporter->handleEvent(event.id, event.eventId))
            idErrors.append(event.id);
    }
    return idErrors;
}

bool DBusMenuAdaptor::AboutToShow(int id)
{
    Q_UNUSED(id)
    return false;
}

QList<int> DBusMenuAdaptor::AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors)
{
    Q_UNUSED(ids)
    idErrors.clear();
    return {};
}
