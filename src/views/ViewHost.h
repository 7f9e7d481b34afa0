#pragma once

#include <QPoint>
#include <QString>
#include <QtPlugin>

#include <memory>

class NotificationsStore;
class QWindow;
struct AppcastItem;

// What the shell asks of the views. The views live in a plugin that the
// shell loads when a window is first wanted, so that a tray that is never
// opened maps no Qt Quick at all; this header is all the shell sees of them.
class ViewHost {
public:
    // Closes every window it built.
    virtual ~ViewHost() = default;

    // Closes the drop-down panel when the user is looking at it (shown and
    // active); otherwise shows it at an anchor under (or over) the tray icon
    // and brings it forward. A null anchor (no click, as from the command
    // line) puts it where the last click did, or in the tray's corner.
    virtual void togglePanel(const QPoint &anchor) = 0;
    // Both close the panel.
    virtual void showMainWindow() = 0;
    virtual void showSettings() = 0;
    // A token from the desktop (XDG activation, or an X11 startup id) for the
    // next window brought forward; one that nothing used is released, so the
    // desktop's busy cursor ends.
    virtual void setActivationToken(const QString &token) = 0;
    virtual void releaseActivationToken() = 0;
    virtual void showUpdate(const AppcastItem &item, const QString &currentVersion) = 0;

    // Null while the window is not built (or after it was closed).
    virtual QWindow *panelWindow() const = 0;
    virtual QWindow *mainWindow() const = 0;
    virtual QWindow *settingsWindow() const = 0;
};

// The plugin's root object: builds the views of one store.
class ViewHostFactory {
public:
    virtual ~ViewHostFactory() = default;
    virtual std::unique_ptr<ViewHost> create(NotificationsStore *store) = 0;
};

#define QuillfenViewHostFactory_iid "app.quillfen.ViewHostFactory/1"
Q_DECLARE_INTERFACE(ViewHostFactory, QuillfenViewHostFactory_iid)
