#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QQuickWindow>

#include <memory>

class NotificationsStore;
class QQmlApplicationEngine;
class TrayIcon;
struct AppcastItem;

// The application: the one store, the tray icon, and the windows, which are
// built the first time they are shown so that a tray never opened stays light.
class QuillfenApp : public QObject {
    Q_OBJECT

public:
    explicit QuillfenApp(QObject *parent = nullptr);
    ~QuillfenApp() override;

    // Shows the tray icon, or the main window where the desktop has no tray.
    void start();

    NotificationsStore *store() const { return m_store.get(); }
    TrayIcon *trayIcon() const { return m_tray.get(); }
    QQuickWindow *panelWindow() const { return m_panel; }
    QQuickWindow *mainWindow() const { return m_mainWindow; }
    QQuickWindow *settingsWindow() const { return m_settingsWindow; }

    // Where the panel goes for an anchor point under (or over) a tray icon.
    static QPoint panelPosition(const QPoint &anchor, const QSize &panelSize, const QRect &screenArea);

public slots:
    void togglePanel(const QPoint &anchor);
    void showMainWindow();
    void showSettings();
    void openDownloadPage(const QUrl &address);

private:
    void showUpdate(const AppcastItem &item);
    QQmlApplicationEngine &engine();
    QQuickWindow *createWindow(const QString &typeName, const QVariantMap &properties);
    // Shows a window that lives until it is closed; closed means gone.
    static void present(QQuickWindow *window);

    std::unique_ptr<NotificationsStore> m_store;
    std::unique_ptr<TrayIcon> m_tray;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QPointer<QQuickWindow> m_panel;
    QPointer<QQuickWindow> m_mainWindow;
    QPointer<QQuickWindow> m_settingsWindow;
    QElapsedTimer m_panelHidden;
};
