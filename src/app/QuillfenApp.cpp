#include "app/QuillfenApp.h"

#include "app/TrayIcon.h"
#include "platform/Browser.h"
#include "platform/DesktopNotifications.h"
#include "store/NotificationsStore.h"
#include "ui/IconImageProvider.h"
#include "updates/SparkleUpdaterService.h"

#include <QApplication>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQuickWindow>
#include <QScreen>

namespace {

bool isWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

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
    // Alerts fall back to the tray's balloon where no notification service runs.
    DesktopNotifications::setFallback(
        [tray = m_tray.get()](const QString &title, const QString &body) { return tray->showMessage(title, body); });
}

QuillfenApp::~QuillfenApp()
{
    DesktopNotifications::setFallback({});
    delete m_panel;
    delete m_mainWindow;
    delete m_settingsWindow;
}

void QuillfenApp::start()
{
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        QGuiApplication::setQuitOnLastWindowClosed(false);
        m_tray->show();
    } else {
        // Without a tray the main window is the way in, and closing it quits.
        QGuiApplication::setQuitOnLastWindowClosed(true);
        showMainWindow();
    }
}

QQmlApplicationEngine &QuillfenApp::engine()
{
    if (!m_engine) {
        m_engine = std::make_unique<QQmlApplicationEngine>();
        m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        m_engine->addImageProvider(QStringLiteral("symbols"), new IconImageProvider);
    }
    return *m_engine;
}

QQuickWindow *QuillfenApp::createWindow(const QString &typeName, const QVariantMap &properties)
{
    QQmlComponent component(&engine(), QUrl(QStringLiteral("qrc:/qt/qml/Quillfen/qml/%1.qml").arg(typeName)));
    QObject *created = component.createWithInitialProperties(properties);
    auto *window = qobject_cast<QQuickWindow *>(created);
    if (!window) {
        qWarning("Cannot create %s: %s", qPrintable(typeName), qPrintable(component.errorString()));
        delete created;
        return nullptr;
    }
    return window;
}

void QuillfenApp::togglePanel(const QPoint &anchor)
{
    if (!m_panel) {
        m_panel = createWindow(QStringLiteral("PanelWindow"), {{QStringLiteral("store"), QVariant::fromValue(m_store.get())}});
        if (!m_panel)
            return;
        connect(m_panel, SIGNAL(openWindowRequested()), this, SLOT(showMainWindow()));
        connect(m_panel, SIGNAL(openSettingsRequested()), this, SLOT(showSettings()));
        connect(m_panel, &QWindow::visibleChanged, this, [this](bool visible) {
            if (!visible)
                m_panelHidden.start();
        });
        if (isWayland()) {
            // A Wayland client cannot place its windows: a small normal window.
            m_panel->setProperty("hideOnDeactivate", false);
        } else {
            m_panel->setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        }
    }
    if (m_panel->isVisible()) {
        m_panel->hide();
        return;
    }
    // A click on the icon first takes the focus from the open panel, which
    // hides it; that click means "close", not "open again".
    if (m_panelHidden.isValid() && m_panelHidden.elapsed() < 300)
        return;
    if (!isWayland()) {
        QScreen *screen = QGuiApplication::screenAt(anchor);
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        m_panel->setScreen(screen);
        m_panel->setPosition(panelPosition(anchor, m_panel->size(), screen->availableGeometry()));
    }
    m_panel->show();
    m_panel->raise();
    m_panel->requestActivate();
}

void QuillfenApp::showMainWindow()
{
    // Closed means gone: the window's filters start afresh next time.
    if (!m_mainWindow)
        m_mainWindow = createWindow(QStringLiteral("MainWindow"), {{QStringLiteral("store"), QVariant::fromValue(m_store.get())}});
    present(m_mainWindow);
}

void QuillfenApp::showSettings()
{
    // The settings model lives and dies with its window.
    if (!m_settingsWindow)
        m_settingsWindow = createWindow(QStringLiteral("SettingsWindow"), {});
    present(m_settingsWindow);
}

void QuillfenApp::showUpdate(const AppcastItem &item)
{
    const QString notes = item.description.isEmpty() ? item.releaseNotesUrl.toString() : item.description;
    QQuickWindow *window = createWindow(QStringLiteral("UpdateWindow"),
                                        {{QStringLiteral("version"), item.displayVersion()},
                                         {QStringLiteral("currentVersion"), SparkleUpdaterService::shared().currentVersion()},
                                         {QStringLiteral("releaseNotes"), notes},
                                         {QStringLiteral("downloadUrl"), item.downloadUrl}});
    if (!window)
        return;
    connect(window, SIGNAL(downloadRequested(QUrl)), this, SLOT(openDownloadPage(QUrl)));
    present(window);
}

void QuillfenApp::openDownloadPage(const QUrl &address)
{
    // The feed is trusted for what it says, not for where the browser goes.
    if (address.scheme() == u"https")
        Browser::open(address);
}

void QuillfenApp::present(QQuickWindow *window)
{
    if (!window)
        return;
    if (!window->property("quillfenPresented").toBool()) {
        window->setProperty("quillfenPresented", true);
        connect(window, &QWindow::visibleChanged, window, [window](bool visible) {
            if (!visible)
                window->deleteLater();
        });
    }
    window->show();
    window->raise();
    window->requestActivate();
}

QPoint QuillfenApp::panelPosition(const QPoint &anchor, const QSize &panelSize, const QRect &screenArea)
{
    const int gap = 4;
    int x = anchor.x() - panelSize.width() / 2;
    // A tray at the bottom of the screen opens the panel upwards.
    const bool below = anchor.y() < screenArea.center().y();
    int y = below ? anchor.y() + gap : anchor.y() - gap - panelSize.height();
    x = std::clamp(x, screenArea.left(), std::max(screenArea.left(), screenArea.right() + 1 - panelSize.width()));
    y = std::clamp(y, screenArea.top(), std::max(screenArea.top(), screenArea.bottom() + 1 - panelSize.height()));
    return {x, y};
}
