#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QTimer>

#include <memory>

class NotificationsStore;
class QAction;
class QSystemTrayIcon;
class StatusNotifierItem;

// The bell in the panel of the desktop: "bell.badge" while any thread is
// unread, "bell" otherwise, following the store at once. A click asks for the
// drop-down panel, a middle click the main window; the menu offers the
// panel, the windows and Quit.
//
// The icon goes to whichever tray the desktop has, and follows trays that
// come and go: a StatusNotifierItem host (Wayland desktops, KDE) through
// Quillfen's own item, else on X11 an XEmbed tray through QSystemTrayIcon.
// Qt's own D-Bus tray is not used: it decides once, at start, whether a
// watcher exists, and never looks again.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    explicit TrayIcon(NotificationsStore *store, QObject *parent = nullptr);
    ~TrayIcon() override;

    // Starts looking for a tray, and keeps looking.
    void show();
    // In a tray now.
    bool isVisible() const;
    // The current symbol, "bell" or "bell.badge".
    QString symbol() const { return m_symbol; }
    QString toolTip() const { return m_toolTip; }
    // With several accounts, each one's unread count, a line each.
    QString toolTipSubtitle() const { return m_toolTipSubtitle; }
    // Empty where the tray does not tell (StatusNotifierItem hosts).
    QRect geometry() const;
    bool showMessage(const QString &title, const QString &body);
    QMenu *menu() { return &m_menu; }
    // Where the panel drops down from when the host tells nothing: the
    // XEmbed icon, or null (no place known).
    QPoint anchor() const;
    StatusNotifierItem *statusNotifierItem() const { return m_item.get(); }

    static QIcon bellIcon(bool badge);
    // The bell's name in the icon theme (hicolor, installed with Quillfen):
    // symbolic, so that hosts draw it in their panel's colour.
    static QString iconName(bool badge);
    QString iconName() const;

signals:
    void visibleChanged(bool visible);
    // Where the panel should drop down from; null when the host gave no place.
    void panelRequested(const QPoint &anchor);
    void openWindowRequested();
    void settingsRequested();
    void quitRequested();
    // A token from the host for the window its click opens (XDG activation
    // on Wayland, a startup notification id on X11).
    void activationTokenProvided(const QString &token);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow();
    void drawBell();
    void chooseTray();
    // XEmbed trays show one text: the title over the accounts' lines.
    QString xembedToolTip() const;

    NotificationsStore *m_store;
    QMenu m_menu;
    QAction *m_showNotifications;
    std::unique_ptr<StatusNotifierItem> m_item;
    std::unique_ptr<QSystemTrayIcon> m_xembed;
    // Qt tells of no XEmbed tray manager appearing: look now and then.
    QTimer m_xembedPoll;
    QString m_symbol;
    QString m_toolTip;
    QString m_toolTipSubtitle;
    QIcon m_icon;
    bool m_wanted = false;
    bool m_visible = false;
};
