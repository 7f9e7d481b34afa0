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

    // Opens the drop-down panel at an anchor under (or over) the tray icon,
    // or closes it when it is open.
    virtual void togglePanel(const QPoint &anchor) = 0;
    virtual void showMainWindow() = 0;
    virtual void showSettings() = 0;
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
