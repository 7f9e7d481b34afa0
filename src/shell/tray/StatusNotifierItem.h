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

    // The watcher took the item and says a host is there to draw it.
    bool isShown() const { return m_shown; }
    QString serviceName() const { return m_serviceName; }

    // The pixmaps, for hosts without the icon theme, and the themed icon's name.
    void setIcon(const QIcon &icon, const QString &name);
    void setAttentionIconName(const QString &name);
    void setToolTip(const QString &title, const QString &subtitle = {});
    // "NeedsAttention" while anything waits for the user, else "Active".
    void setNeedsAttention(bool needsAttention);

    QIcon icon() const { return m_icon; }
    QString iconName() const { return m_iconName; }
    QString attentionIconName() const { return m_attentionIconName; }
    // The build tree's icon folder when Quillfen runs from there, so that
    // hosts find its named icons uninstalled; empty otherwise.
    QString iconThemePath() const { return m_iconThemePath; }
    QString toolTip() const { return m_toolTip; }
    QString toolTipSubtitle() const { return m_toolTipSubtitle; }
    QString status() const;
    QDBusObjectPath menuPath() const;

    // What the host asks of the item.
    void activate(const QPoint &at);
    // The middle click.
    void secondaryActivate();
    void showContextMenu(const QPoint &at);
    void provideActivationToken(const QString &token);

signals:
    void shownChanged(bool shown);
    // Where the host was clicked, in screen coordinates; null when it gave none.
    void activated(const QPoint &at);
    void secondaryActivated();
    void activationTokenProvided(const QString &token);
    void iconChanged();
    void attentionIconChanged();
    void toolTipChanged();
    void statusChanged(const QString &status);

private slots:
    void followUnregistration(const QString &item);
    // Whether the watcher has a host, asked once it took the item and
    // whenever a host comes or goes.
    void askForHost();

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
    QString m_iconName;
    QString m_attentionIconName;
    QString m_iconThemePath;
    QString m_toolTip;
    QString m_toolTipSubtitle;
    bool m_needsAttention = false;
    bool m_shown = false;
    bool m_registered = false;
    // Registrations made again with this watcher after it dropped the item.
    int m_registeredAgain = 0;
};

class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category CONSTANT)
    Q_PROPERTY(QString Id READ id CONSTANT)
    Q_PROPERTY(QString Title READ title CONSTANT)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId CONSTANT)
    Q_PROPERTY(QString IconThemePath READ iconThemePath CONSTANT)
    Q_PROPERTY(QDBusObjectPath Menu READ menu CONSTANT)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu CONSTANT)
    Q_PROPERTY(QString IconName READ iconName)
    Q_PROPERTY(DBusImageList IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ emptyString CONSTANT)
    Q_PROPERTY(DBusImageList OverlayIconPixmap READ noImages CONSTANT)
    Q_PROPERTY(QString AttentionIconName READ attentionIconName)
    Q_PROPERTY(DBusImageList AttentionIconPixmap READ noImages CONSTANT)
    Q_PROPERTY(QString AttentionMovieName READ emptyString CONSTANT)
    Q_PROPERTY(DBusToolTip ToolTip READ toolTip)

public:
    explicit StatusNotifierItemAdaptor(StatusNotifierItem *item);

    QString category() const { return QStringLiteral("Communications"); }
    QString id() const { return QStringLiteral("quillfen"); }
    QString title() const { return QStringLiteral("Quillfen"); }
    QString status() const { return m_item->status(); }
    int windowId() const { return 0; }
    QString emptyString() const { return {}; }
    QString iconThemePath() const { return m_item->iconThemePath(); }
    QString iconName() const { return m_item->iconName(); }
    QString attentionIconName() const { return m_item->attentionIconName(); }
    QDBusObjectPath menu() const { return m_item->menuPath(); }
    bool itemIsMenu() const { return false; }
    DBusImageList iconPixmap() const { return dbusImages(m_item->icon()); }
    DBusImageList noImages() const { return {}; }
    DBusToolTip toolTip() const { return {{}, {}, m_item->toolTip(), m_item->toolTipSubtitle()}; }

public slots:
    void Activate(int x, int y);
    void SecondaryActivate(int x, int y);
    void ContextMenu(int x, int y);
    void Scroll(int delta, const QString &orientation);
    void ProvideXdgActivationToken(const QString &token);

signals:
    void NewIcon();
    void NewAttentionIcon();
    void NewToolTip();
    void NewTitle();
    void NewStatus(const QString &status);

private:
    StatusNotifierItem *m_item;
};
