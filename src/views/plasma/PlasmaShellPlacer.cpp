#include "views/plasma/PlasmaShellPlacer.h"

#include "qwayland-plasma-shell.h"

#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QPointer>
#include <QWaylandClientExtensionTemplate>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

namespace {

// The first version with set_skip_switcher; older compositors get the rest.
constexpr int shellVersion = 5;

class PlasmaShell : public QWaylandClientExtensionTemplate<PlasmaShell>, public QtWayland::org_kde_plasma_shell {
public:
    explicit PlasmaShell(QObject *parent) : QWaylandClientExtensionTemplate(shellVersion)
    {
        setParent(parent);
        // Bound at once from the globals Qt already knows, rather than on the
        // next turn of the event loop: the panel is placed right after this.
        initialize();
    }
};

PlasmaShell *shell()
{
    // Only on Wayland: elsewhere Qt's extension would open a compositor
    // connection of its own.
    static const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    static QPointer<PlasmaShell> instance;
    if (wayland && !instance)
        instance = new PlasmaShell(qGuiApp);
    return instance && instance->isActive() ? instance.data() : nullptr;
}

// A window's add-on surface. Qt gives a window a new wl_surface each time it
// is shown, so the add-on is made when the window is first exposed (before
// its first frame, so it never shows elsewhere first) and dropped when it
// hides.
class WindowPlacement : public QObject {
public:
    static constexpr char name[] = "plasmaPlacement";

    explicit WindowPlacement(QWindow *window) : QObject(window), m_window(window)
    {
        setObjectName(QLatin1String(name));
        window->installEventFilter(this);
        connect(window, &QWindow::visibleChanged, this, [this](bool visible) {
            if (!visible)
                release();
        });
    }
    ~WindowPlacement() override { release(); }

    void moveTo(const QPoint &position)
    {
        m_position = position;
        if (m_surface.isInitialized())
            m_surface.set_position(position.x(), position.y());
        else if (m_window->isVisible())
            attach();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && !m_surface.isInitialized() && m_window->isVisible())
            attach();
        else if (event->type() == QEvent::PlatformSurface
                 && static_cast<QPlatformSurfaceEvent *>(event)->surfaceEventType()
                        == QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
            release();
        return false;
    }

private:
    void attach()
    {
        PlasmaShell *plasma = shell();
        auto *surface = static_cast<wl_surface *>(
            QGuiApplication::platformNativeInterface()->nativeResourceForWindow("surface", m_window));
        if (!plasma || !surface)
            return;
        m_surface.init(plasma->get_surface(surface));
        m_surface.set_skip_taskbar(1);
        if (plasma->QWaylandClientExtension::version() >= shellVersion)
            m_surface.set_skip_switcher(1);
        m_surface.set_position(m_position.x(), m_position.y());
    }

    void release()
    {
        if (m_surface.isInitialized())
            m_surface.destroy();
    }

    QWindow *m_window;
    QPoint m_position;
    QtWayland::org_kde_plasma_surface m_surface;
};

} // namespace

bool PlasmaShellPlacer::available()
{
    return shell() != nullptr;
}

bool PlasmaShellPlacer::placeAt(QWindow *window, const QPoint &position)
{
    if (!available())
        return false;
    auto *placement = static_cast<WindowPlacement *>(
        window->findChild<QObject *>(QLatin1String(WindowPlacement::name), Qt::FindDirectChildrenOnly));
    if (!placement)
        placement = new WindowPlacement(window);
    placement->moveTo(position);
    return true;
}
