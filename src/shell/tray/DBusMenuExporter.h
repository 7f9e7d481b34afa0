#pragma once

#include "shell/tray/DBusTrayTypes.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;

// Serves a flat QMenu over com.canonical.dbusmenu, so that StatusNotifierItem
// hosts (KDE Plasma, waybar, GNOME's AppIndicator extension) draw it
// themselves. Entry n is the menu's n-th action; entry 0 is the menu.
class DBusMenuExporter : public QObject {
    Q_OBJECT

public:
    DBusMenuExporter(QMenu *menu, const QString &path, QObject *parent = nullptr);
    ~DBusMenuExporter() override;

    QDBusObjectPath path() const { return QDBusObjectPath(m_path); }

    uint revision() const { return m_revision; }
    // Entry 0 (the menu) or an action's.
    bool hasEntry(int id) const { return id == 0 || action(id); }
    DBusMenuLayoutItem layout(int parentId, int depth) const;
    QVariantMap properties(int id, const QStringList &names = {}) const;
    // One property, with the protocol's default where the entry leaves it
    // out; invalid for an unknown entry or property.
    QVariant property(int id, const QString &name) const;
    // Whether the event reached an entry.
    bool handleEvent(int id, const QString &eventId);

signals:
    void layoutUpdated(uint revision, int parent);

private:
    QAction *action(int id) const;

    QPointer<QMenu> m_menu;
    QString m_path;
    uint m_revision = 1;
};

// Unknown entries and properties are answered with a D-Bus error, so a
// caller never waits out its timeout.
class DBusMenuAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version CONSTANT)
    Q_PROPERTY(QString TextDirection READ textDirection CONSTANT)
    Q_PROPERTY(QString Status READ status CONSTANT)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath CONSTANT)

public:
    explicit DBusMenuAdaptor(DBusMenuExporter *exporter);

    uint version() const { return 3; }
    QString textDirection() const;
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public slots:
    uint GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames, const QDBusMessage &message,
                   DBusMenuLayoutItem &layout);
    DBusMenuItemPropertiesList GetGroupProperties(const QList<int> &ids, const QStringList &propertyNames);
    QDBusVariant GetProperty(int id, const QString &name, const QDBusMessage &message);
    void Event(int id, const QString &eventId, const QDBusVariant &data, uint timestamp);
    QList<int> EventGroup(const QList<DBusMenuEvent> &events);
    bool AboutToShow(int id);
    QList<int> AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors);

signals:
    void LayoutUpdated(uint revision, int parent);

private:
    DBusMenuExporter *m_exporter;
};
