#include "views/host/WindowHost.h"

#include "platform/Browser.h"
#include "store/NotificationsStore.h"
#include "updates/Appcast.h"
#include "views/IconImageProvider.h"
#include "views/PanelPlacement.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QScreen>

namespace {

// Off by default; bench/measure-tray.sh turns it on.
Q_LOGGING_CATEGORY(lcTiming, "quillfen.timing", QtWarningMsg)

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

QQmlApplicationEngine &WindowHost::engine()
{
    if (!m_engine) {
        m_engine = std::make_unique<QQmlApplicationEngine>();
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
        // Closed means gone: a window opened again starts afresh.
        connect(window, &QWindow::visibleChanged, window, [window](bool visible) {
            if (!visible)
                window->deleteLater();
        });
    }
    return window;
}

void WindowHost::togglePanel(const QPoint &anchor)
{
    if (!m_panel) {
        // A Wayland client cannot place its windows: there the panel is a
        // small normal window that stays open when it loses focus.
        m_panel = createWindow(QStringLiteral("PanelWindow"),
                               {{QStringLiteral("store"), QVariant::fromValue(m_store)},
                                {QStringLiteral("actions"), QVariant::fromValue(&m_actions)},
                                {QStringLiteral("hideOnDeactivate"), !isWayland()}},
                               Lifetime::Session);
        if (!m_panel)
            return;
        connect(m_panel, &QWindow::visibleChanged, this, [this](bool visible) {
            if (!visible)
                m_panelHidden.start();
        });
        connect(m_panel, &QQuickWindow::frameSwapped, this, [] {
            static const bool once = [] {
                qCInfo(lcTiming, "first frame %lld", QDateTime::currentMSecsSinceEpoch());
                return true;
            }();
            Q_UNUSED(once)
        }, Qt::DirectConnection);
        if (!isWayland())
            m_panel->setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
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
        m_panel->setPosition(PanelPlacement::position(anchor, m_panel->size(), screen->availableGeometry()));
    }
    m_panel->show();
    m_panel->raise();
    m_panel->requestActivate();
}

void WindowHost::showMainWindow()
{
    if (!m_mainWindow)
        m_mainWindow = createWindow(QStringLiteral("MainWindow"),
                                    {{QStringLiteral("store"), QVariant::fromValue(m_store)},
                                     {QStringLiteral("actions"), QVariant::fromValue(&m_actions)}},
                                    Lifetime::UntilClosed);
    present(m_mainWindow);
}

void WindowHost::showSettings()
{
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

void WindowHost::present(QQuickWindow *window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->requestActivate();
}
