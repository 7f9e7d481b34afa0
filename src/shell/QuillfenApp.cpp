#include "shell/QuillfenApp.h"

#include "platform/Activation.h"
#include "platform/DesktopNotifications.h"
#include "platform/Plugins.h"
#include "platform/RelativeTime.h"
#include "shell/TrayIcon.h"
#include "store/NotificationsStore.h"
#include "updates/SparkleUpdaterService.h"
#include "views/ViewHost.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWindow>

QuillfenApp::QuillfenApp(QObject *parent) : QObject(parent)
{
    // The updater starts with the application, before the store.
    connect(&SparkleUpdaterService::shared(), &SparkleUpdaterService::updateFoundForUser, this,
            &QuillfenApp::showUpdate);
    m_store = std::make_unique<NotificationsStore>();
    m_tray = std::make_unique<TrayIcon>(m_store.get());
    connect(m_tray.get(), &TrayIcon::panelRequested, this, &QuillfenApp::togglePanel);
    connect(m_tray.get(), &TrayIcon::openWindowRequested, this, &QuillfenApp::showMainWindow);
    connect(m_tray.get(), &TrayIcon::settingsRequested, this, &QuillfenApp::showSettings);
    connect(m_tray.get(), &TrayIcon::quitRequested, qApp, &QCoreApplication::quit);
    connect(m_tray.get(), &TrayIcon::activationTokenProvided, this, &QuillfenApp::setActivationToken);
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
    m_tray->show();
    followTray(m_tray->isVisible());
    connect(m_tray.get(), &TrayIcon::visibleChanged, this, &QuillfenApp::followTray);
    // Started at login, the panel that hosts the tray may still be coming:
    // it shows the icon when it does.
    if (!m_tray->isVisible() && how == Start::Normally)
        showMainWindow();
}

void QuillfenApp::followTray(bool visible)
{
    // Once the icon was in a tray it stays the way in: a tray that goes away
    // is usually restarting.
    if (visible)
        QGuiApplication::setQuitOnLastWindowClosed(false);
    else if (!m_trayWasVisible)
        QGuiApplication::setQuitOnLastWindowClosed(true);
    m_trayWasVisible = m_trayWasVisible || visible;
}

void QuillfenApp::setActivationToken(const QString &token)
{
    m_activationToken = token;
}

template<typename Show> void QuillfenApp::withToken(Show show)
{
    ViewHost *host = views();
    if (!host)
        return;
    // The token of the tray's click or of a remote command, else the one of
    // the alert's button being handled.
    const QString token = std::exchange(m_activationToken, {});
    host->setActivationToken(token.isEmpty() ? Activation::token() : token);
    show(host);
    host->releaseActivationToken();
}

ViewHost *QuillfenApp::views()
{
    if (!m_views) {
        // The first list's ages need ICU's data: loaded beside the views.
        RelativeTime::prepare();
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
    if (panel && panel->isVisible() && panel->isActive())
        return;
    togglePanel(m_tray->anchor());
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
    withToken([&](ViewHost *host) { host->togglePanel(anchor); });
}

void QuillfenApp::showMainWindow()
{
    withToken([](ViewHost *host) { host->showMainWindow(); });
}

void QuillfenApp::showSettings()
{
    withToken([](ViewHost *host) { host->showSettings(); });
}

void QuillfenApp::showUpdate(const AppcastItem &item)
{
    if (ViewHost *host = views())
        host->showUpdate(item, SparkleUpdaterService::shared().currentVersion());
}
