#include "shell/QuillfenApp.h"

#include "platform/DesktopNotifications.h"
#include "platform/Plugins.h"
#include "shell/TrayIcon.h"
#include "shell/TrayWatcher.h"
#include "store/NotificationsStore.h"
#include "updates/SparkleUpdaterService.h"
#include "views/ViewHost.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <QWindow>

QuillfenApp::QuillfenApp(QObject *parent) : QObject(parent)
{
    // The updater starts with the application, before the store.
    connect(&SparkleUpdaterService::shared(), &SparkleUpdaterService::updateFoundForUser, this, &QuillfenApp::showUpdate);
    m_store = std::make_unique<NotificationsStore>();
    m_tray = std::make_unique<TrayIcon>(m_store.get());
    connect(m_tray.get(), &TrayIcon::panelRequested, this, &QuillfenApp::togglePanel);
    connect(m_tray.get(), &TrayIcon::openWindowRequested, this, &QuillfenApp::showMainWindow);
    connect(m_tray.get(), &TrayIcon::settingsRequested, this, &QuillfenApp::showSettings);
    connect(m_tray.get(), &TrayIcon::quitRequested, qApp, &QCoreApplication::quit);
    connect(m_store.get(), &NotificationsStore::alertActivated, this, &QuillfenApp::showThreads);
    // Alerts fall back to the tray's balloon where no notification service runs.
    DesktopNotifications::setFallback(
        [tray = m_tray.get()](const QString &title, const QString &body) { return tray->showMessage(title, body); });
}

QuillfenApp::~QuillfenApp()
{
    DesktopNotifications::setFallback({});
    // The windows go before the store they show.
    m_views.reset();
}

void QuillfenApp::start(Start how)
{
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        useTray();
        return;
    }
    // Without a tray the main window is the way in, and closing it quits.
    // Started at login, the panel that hosts the tray may still be coming.
    QGuiApplication::setQuitOnLastWindowClosed(true);
    if (how == Start::Normally)
        showMainWindow();
    watchForTray();
}

void QuillfenApp::useTray()
{
    QGuiApplication::setQuitOnLastWindowClosed(false);
    m_tray->show();
}

void QuillfenApp::watchForTray()
{
    m_trayWatcher = std::make_unique<TrayWatcher>();
    connect(m_trayWatcher.get(), &TrayWatcher::trayAppeared, this, [this] {
        m_trayWatcher.release()->deleteLater();
        useTray();
    });
}

ViewHost *QuillfenApp::views()
{
    if (!m_views) {
        if (auto *factory = qobject_cast<ViewHostFactory *>(Plugins::instance(QStringLiteral("quillfen_views"))))
            m_views = factory->create(m_store.get());
    }
    return m_views.get();
}

void QuillfenApp::showThreads()
{
    if (!m_tray->isVisible()) {
        showMainWindow();
        return;
    }
    const QWindow *panel = panelWindow();
    if (panel && panel->isVisible())
        return;
    const QRect where = m_tray->geometry();
    togglePanel(where.isValid() ? QPoint(where.center().x(), where.bottom()) : QCursor::pos());
}

QWindow *QuillfenApp::panelWindow() const
{
    return m_views ? m_views->panelWindow() : nullptr;
}

QWindow *QuillfenApp::mainWindow() const
{
    return m_views ? m_views->mainWindow() : nullptr;
}

QWindow *QuillfenApp::settingsWindow() const
{
    return m_views ? m_views->settingsWindow() : nullptr;
}

void QuillfenApp::togglePanel(const QPoint &anchor)
{
    if (ViewHost *host = views())
        host->togglePanel(anchor);
}

void QuillfenApp::showMainWindow()
{
    if (ViewHost *host = views())
        host->showMainWindow();
}

void QuillfenApp::showSettings()
{
    if (ViewHost *host = views())
        host->showSettings();
}

void QuillfenApp::showUpdate(const AppcastItem &item)
{
    if (ViewHost *host = views())
        host->showUpdate(item, SparkleUpdaterService::shared().currentVersion());
}
