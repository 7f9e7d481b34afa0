#include "views/host/WindowHost.h"

#include "platform/Browser.h"
#include "store/NotificationsStore.h"
#include "updates/Appcast.h"
#include "views/IconImageProvider.h"
#include "views/PanelPlacement.h"
#include "views/host/ActivationToken.h"
#include "views/host/PlasmaSurface.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QScreen>

#include <utility>

namespace {

// Off by default; bench/measure-tray.sh turns it on.
Q_LOGGING_CATEGORY(lcTiming, "quillfen.timing", QtWarningMsg)

// Set while a window is hidden only to be shown again at once.
constexpr char remapping[] = "quillfen.remapping";

bool isWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

WindowHost::WindowHost(NotificationsStore *store) : m_store(store)
{
    connect(&m_actions, &ViewActions::openWindowRequested, this, &WindowHost::showMainWindow);
    connect(&m_actions, &ViewActions::openSettingsRequested, this, &WindowHost::showSettings);
    connect(&m_actions, &ViewActions::downloadRequested, this, &WindowHost::openDownloadPage);
}

WindowHost::~WindowHost()
{
    delete m_panel;
    delete m_mainWindow;
    delete m_settingsWindow;
}

QQmlEngine &WindowHost::engine()
{
    if (!m_engine) {
        // A plain engine: an application engine's file selector looks for
        // variants of every file each window loads.
        m_engine = std::make_unique<QQmlEngine>();
        m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        m_engine->addImageProvider(QStringLiteral("symbols"), new IconImageProvider);
    }
    return *m_engine;
}

QQuickWindow *WindowHost::createWindow(const QString &typeName, const QVariantMap &properties, Lifetime lifetime)
{
    QQmlComponent component(&engine(), QUrl(QStringLiteral("qrc:/qt/qml/Quillfen/qml/%1.qml").arg(typeName)));
    QObject *created = component.createWithInitialProperties(properties);
    auto *window = qobject_cast<QQuickWindow *>(created);
    if (!window) {
        qWarning("Cannot create %s: %s", qPrintable(typeName), qPrintable(component.errorString()));
        delete created;
        return nullptr;
    }
    if (lifetime == Lifetime::UntilClosed) {
        // Set with the first window a taskbar shows, not before: the icon is
        // an SVG, and neither the tray nor the panel draws it.
        if (QGuiApplication::windowIcon().isNull())
            QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/quillfen/desktop/com.quillfen.app.svg")));
        // Closed means gone: a window opened again starts afresh.
        connect(window, &QWindow::visibleChanged, window, [window](bool visible) {
            if (!visible && !window->property(remapping).toBool())
                window->deleteLater();
        });
    }
    return window;
}

QQuickWindow *WindowHost::panel()
{
    if (m_panel)
        return m_panel;
    m_panel = createWindow(QStringLiteral("PanelWindow"),
                           {{QStringLiteral("store"), QVariant::fromValue(m_store)},
                            {QStringLiteral("actions"), QVariant::fromValue(&m_actions)}},
                           Lifetime::Session);
    if (!m_panel)
        return nullptr;
    // A QWindow: the panel also hides while it is destroyed, when it is a
    // QQuickWindow no longer.
    QWindow *window = m_panel;
    connect(m_panel, &QWindow::visibleChanged, this, [this, window](bool visible) {
        m_panelFramePending = visible;
        // Told by the panel, not read from its focus: Escape can reach a
        // panel before Qt has heard that it has the focus.
        if (!visible && window->property("closedByFocusLoss").toBool())
            m_panelLostFocus.start();
    });
    connect(
        m_panel, &QQuickWindow::frameSwapped, this,
        [this] {
            if (std::exchange(m_panelFramePending, false))
                qCInfo(lcTiming, "panel frame %lld", QDateTime::currentMSecsSinceEpoch());
        },
        Qt::DirectConnection);
    // A Wayland client cannot place its windows, nor keep a tool window off
    // the taskbar, unless the compositor lets it (KWin): elsewhere the panel
    // is a small fixed-size window, which tiling compositors float and
    // stacking ones centre.
    m_panel->setFlags(isWayland() ? Qt::Window | Qt::FramelessWindowHint
                                  : Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    return m_panel;
}

void WindowHost::togglePanel(const QPoint &anchor)
{
    QQuickWindow *window = panel();
    if (!window)
        return;
    // Closed only when the user is looking at it: a panel left open on
    // another workspace, or behind a window, is brought forward instead.
    if (window->isVisible() && window->isActive()) {
        // The click's token is spent here, so the desktop's startup feedback
        // (a busy cursor) ends: Wayland has no other way to end it.
        ActivationToken::applyTo(window, m_activationToken);
        window->requestActivate();
        window->hide();
        return;
    }
    // A click on the tray may first take the focus from the open panel
    // (an X11 tray), which hides it; that click means "close", not "open
    // again". A panel closed otherwise (Escape, this icon) opens at once.
    if (!window->isVisible() && m_panelLostFocus.isValid() && m_panelLostFocus.elapsed() < 300)
        return;
    place(window, anchor);
    present(window);
    m_store->viewOpened();
}

void WindowHost::place(QQuickWindow *window, const QPoint &click)
{
    if (!click.isNull())
        m_lastClick = click;
    const bool placeable = !isWayland() || PlasmaSurface::available();
    if (!placeable)
        return;
    QScreen *screen = m_lastClick.isNull() ? nullptr : QGuiApplication::screenAt(m_lastClick);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    QRect workArea = screen->availableGeometry();
    QPoint anchor = m_lastClick;
    if (anchor.isNull()) {
        const bool plasma = qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QLatin1String("KDE"));
        anchor = PanelPlacement::trayCorner(screen->geometry(), workArea, plasma);
    } else if (isWayland()) {
        workArea = PanelPlacement::workAreaAround(anchor, screen->geometry());
    }
    const QPoint position = PanelPlacement::position(anchor, window->size(), workArea);
    if (isWayland()) {
        PlasmaSurface::placeAt(window, position);
    } else {
        window->setScreen(screen);
        window->setPosition(position);
    }
}

void WindowHost::showMainWindow()
{
    if (m_panel)
        m_panel->hide();
    if (!m_mainWindow)
        m_mainWindow = createWindow(QStringLiteral("MainWindow"),
                                    {{QStringLiteral("store"), QVariant::fromValue(m_store)},
                                     {QStringLiteral("actions"), QVariant::fromValue(&m_actions)}},
                                    Lifetime::UntilClosed);
    present(m_mainWindow);
    m_store->viewOpened();
}

void WindowHost::showSettings()
{
    if (m_panel)
        m_panel->hide();
    // The settings model lives and dies with its window.
    if (!m_settingsWindow)
        m_settingsWindow = createWindow(QStringLiteral("SettingsWindow"), {}, Lifetime::UntilClosed);
    present(m_settingsWindow);
}

void WindowHost::showUpdate(const AppcastItem &item, const QString &currentVersion)
{
    const QString notes = item.description.isEmpty() ? item.releaseNotesUrl.toString() : item.description;
    present(createWindow(QStringLiteral("UpdateWindow"),
                         {{QStringLiteral("version"), item.displayVersion()},
                          {QStringLiteral("currentVersion"), currentVersion},
                          {QStringLiteral("releaseNotes"), notes},
                          {QStringLiteral("downloadUrl"), item.downloadUrl},
                          {QStringLiteral("actions"), QVariant::fromValue(&m_actions)}},
                         Lifetime::UntilClosed));
}

void WindowHost::openDownloadPage(const QUrl &address)
{
    // The feed is trusted for what it says, not for where the browser goes.
    if (address.scheme() == u"https")
        Browser::open(address);
}

void WindowHost::releaseActivationToken()
{
    ActivationToken::release(std::exchange(m_activationToken, {}));
}

void WindowHost::present(QQuickWindow *window)
{
    if (!window)
        return;
    ActivationToken::applyTo(window, m_activationToken);
    // A Wayland client may raise its own window only with a token from the
    // compositor, which Qt 6.4 cannot take from a click in Quillfen's own
    // windows (GNOME then says the window "is ready", sway does nothing). A
    // window mapped anew is focused as any new window is, on the current
    // workspace.
    if (isWayland() && m_activationToken.isEmpty() && window->isVisible() && !window->isActive()) {
        window->setProperty(remapping, true);
        window->hide();
        window->setProperty(remapping, false);
    }
    window->show();
    window->raise();
    window->requestActivate();
}
