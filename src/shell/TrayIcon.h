#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QSystemTrayIcon>

class NotificationsStore;

// The bell in the panel of the desktop: "bell.badge" while any thread is
// unread, "bell" otherwise, following the store at once. A click asks for the
// drop-down panel; the context menu offers the windows and Quit.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    explicit TrayIcon(NotificationsStore *store, QObject *parent = nullptr);

    void show();
    bool isVisible() const { return m_tray.isVisible(); }
    // The current symbol, "bell" or "bell.badge".
    QString symbol() const { return m_symbol; }
    QString toolTip() const { return m_tray.toolTip(); }
    QRect geometry() const { return m_tray.geometry(); }
    bool showMessage(const QString &title, const QString &body);

    static QIcon bellIcon(bool badge);

signals:
    // Where the panel should drop down from; null when the host gave no place.
    void panelRequested(const QPoint &anchor);
    void openWindowRequested();
    void settingsRequested();
    void quitRequested();

private:
    void follow();

    NotificationsStore *m_store;
    QSystemTrayIcon m_tray;
    QMenu m_menu;
    QString m_symbol;
};
