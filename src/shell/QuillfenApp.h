#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <memory>

class NotificationsStore;
class QWindow;
class TrayIcon;
class ViewHost;
struct AppcastItem;

// The application: the one store, the tray icon, and the views, which are
// loaded the first time a window is wanted so that an idle tray stays light.
class QuillfenApp : public QObject {
    Q_OBJECT

public:
    explicit QuillfenApp(QObject *parent = nullptr);
    ~QuillfenApp() override;

    enum class Start {
        Normally, // the tray icon, or the main window where there is no tray
        Quietly, // the tray icon, or nothing until a tray appears (at login)
    };
    void start(Start how = Start::Normally);

    NotificationsStore *store() const { return m_store.get(); }
    TrayIcon *trayIcon() const { return m_tray.get(); }
    // Null until the views are loaded and the window is built.
    QWindow *panelWindow() const;
    QWindow *mainWindow() const;
    QWindow *settingsWindow() const;

    // The panel at an anchor under (or over) the tray icon; closed instead when
    // the user is looking at it.
    void togglePanel(const QPoint &anchor);
    void showMainWindow();
    void showSettings();
    // The next window shown or raised uses this token from the desktop, so
    // that it comes forward even from another workspace.
    void setActivationToken(const QString &token);
    // The panel under the tray icon, or the main window without a tray.
    void showThreads();

private:
    void showUpdate(const AppcastItem &item);
    // With a tray the icon is the way in, and closing windows quits nothing;
    // without one, the main window is, and closing it quits. A tray may come
    // later (a panel started after Quillfen at login, an extension switched
    // on) and go for a while (a panel that restarts, a screen lock).
    void followTray(bool visible);
    // Hands the desktop's token to the views for what they show now, and
    // releases it when they showed nothing.
    template<typename Show> void withToken(Show show);
    // The views, loaded on first use; null when they cannot be loaded.
    ViewHost *views();

    std::unique_ptr<NotificationsStore> m_store;
    std::unique_ptr<TrayIcon> m_tray;
    std::unique_ptr<ViewHost> m_views;
    QString m_activationToken;
    bool m_trayWasVisible = false;
};
