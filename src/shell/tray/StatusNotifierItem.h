#pragma once

#include "shell/tray/DBusTrayTypes.h"

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QIcon>
#include <QObject>
#include <QPoint>

class DBusMenuExporter;
class QMenu;

// The tray icon as a StatusNotifierItem on the session bus, the tray of
// Wayland desktops (KDE Plasma, waybar, GNOME's AppIndicator extension) and of
// KDE on X11. It registers with the watcher whenever one appears, so a panel
// that starts after Quillfen, or restarts, shows the icon.
class StatusNotifierItem : public QObject {
    Q_OBJECT

public:
    explicit StatusNotifierItem(QMenu *menu, QObject *parent = nullptr);
    ~StatusNotifierItem() override;

    // A watcher is on the bus: the item is, or is about to be, in a tray.
    bool isShown() const { return m_shown; }
    QString serviceName() const { return m_serviceName; }

    void setIcon(const QIcon &icon);
    void setToolTip(const QString &text);

    QIcon icon() const { return m_icon; }
    QString toolTip() const { return m_toolTip; }
    QDBusObjectPath menuPath() const;

    // What the host asks of the item.
    void activate(const QPoint &at);
    void showContextMenu(const QPoint &at);
    void provideActivationToken(const QString &token);

signals:
    void shownChanged(bool shown);
    // Where the host was clicked, in screen coordinates; null when it gave none.
    void activated(const QPoint &at);
    void activationTokenProvided(const QString &token);
    void iconChanged();
    void toolTipChanged();

private slots:
    void followUnregistration(const QString &item);

private:
    // Once per watcher, and again only once the watcher has dropped the
    // item: a host that comes later reads the watcher's list, and a second
    // registration of a listed item makes some hosts drop it.
    void registerWithWatcher();
    void setShown(bool shown);

    QMenu *m_menu;
    DBusMenuExporter *m_menuExporter;
    QString m_serviceName;
    QDBusServiceWatcher m_watcher;
    QIcon m_icon;
    QString m_toolTip;
    bool m_shown = false;
    // Registrations made again with this watcher after it dropped the item.
    int m_registeredAgain = 0;
};

class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category CONSTANT)
    Q_PROPERTY(QString Id READ id CONSTANT)
    Q_PROPERTY(QString Title READ title CONSTANT)
    Q_PROPERTY(QString Status READ status CONSTANT)
    Q_PROPERTY(int WindowId READ windowId CONSTANT)
    Q_PROPERTY(QString IconThemePath READ emptyString CONSTANT)
    Q_PROPERTY(QDBusObjectPath Menu READ menu CONSTANT)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu CONSTANT)
    Q_PROPERTY(QString IconName READ emptyString CONSTANT)
    Q_PROPERTY(DBusImageList IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ emptyString CONSTANT)
    Q_PROPERTY(DBusImageList OverlayIconPixmap READ noImages CONSTANT)
    Q_PROPERTY(QString AttentionIconName READ emptyString CONSTANT)
    Q_PROPERTY(DBusImageList AttentionIconPixmap READ noImages CONSTANT)
    Q_PROPERTY(QString AttentionMovieName READ emptyString CONSTANT)
    Q_PROPERTY(DBusToolTip ToolTip READ toolTip)

public:
    explicit StatusNotifierItemAdaptor(StatusNotifierItem *item);

    QString category() const { return QStringLiteral("Communications"); }
    QString id() const { return QStringLiteral("quillfen"); }
    QString title() const { return QStringLiteral("Quillfen"); }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString emptyString() const { return {}; }
    QDBusObjectPath menu() const { return m_item->menuPath(); }
    bool itemIsMenu() const { return false; }
    DBusImageList iconPixmap() const { return dbusImages(m_item->icon()); }
    DBusImageList noImages() const { return {}; }
    DBusToolTip toolTip() const { return {{}, {}, m_item->toolTip(), {}}; }

public slots:
    void Activate(int x, int y);
    void SecondaryActivate(int x, int y);
    void ContextMenu(int x, int y);
    void Scroll(int delta, const QString &orientation);
    void ProvideXdgActivationToken(const QString &token);

signals:
    void NewIcon();
    void NewToolTip();
    void NewTitle();
    void NewStatus(const QString &status);

private:
    StatusNotifierItem *m_item;
};
