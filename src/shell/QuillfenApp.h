#pragma once

#include <QObject>
#include <QPoint>

#include <memory>

class NotificationsStore;
class QWindow;
class TrayIcon;
class TrayWatcher;
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
        Quietly,  // the tray icon, or nothing until a tray appears (at login)
    };
    void start(Start how = Start::Normally);

    NotificationsStore *store() const { return m_store.get(); }
    TrayIcon *trayIcon() const { return m_tray.get(); }
    // Null until the views are loaded and the window is built.
    QWindow *panelWindow() const;
    QWindow *mainWindow() const;
    QWindow *settingsWindow() const;

    void togglePanel(const QPoint &anchor);
    void showMainWindow();
    void showSettings();
    // The panel under the tray icon, or the main window without a tray.
    void showThreads();

private:
    void showUpdate(const AppcastItem &item);
    // Tray behaviour: the icon is the way in, and closing windows quits nothing.
    void useTray();
    // Desktops without a tray may get one later (a panel started after
    // Quillfen at login, an extension switched on).
    void watchForTray();
    // The views, loaded on first use; null when they cannot be loaded.
    ViewHost *views();

    std::unique_ptr<NotificationsStore> m_store;
    std::unique_ptr<TrayIcon> m_tray;
    std::unique_ptr<ViewHost> m_views;
    std::unique_ptr<TrayWatcher> m_trayWatcher;
};
