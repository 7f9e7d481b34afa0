#pragma once

#include "views/ViewActions.h"
#include "views/ViewHost.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QQuickWindow>

#include <memory>

class QQmlEngine;

// The views of one store: one QML engine, created with the first window, and
// the panel, main, settings and update windows built on demand.
class WindowHost : public QObject, public ViewHost {
    Q_OBJECT

public:
    explicit WindowHost(NotificationsStore *store);
    ~WindowHost() override;

    void togglePanel(const QPoint &anchor) override;
    void showMainWindow() override;
    void showSettings() override;
    void showUpdate(const AppcastItem &item, const QString &currentVersion) override;
    void setActivationToken(const QString &token) override { m_activationToken = token; }
    void releaseActivationToken() override;
    QWindow *panelWindow() const override { return m_panel; }
    QWindow *mainWindow() const override { return m_mainWindow; }
    QWindow *settingsWindow() const override { return m_settingsWindow; }

private:
    enum class Lifetime { Session, UntilClosed };

    QQmlEngine &engine();
    QQuickWindow *createWindow(const QString &typeName, const QVariantMap &properties, Lifetime lifetime);
    void openDownloadPage(const QUrl &address);
    QQuickWindow *panel();
    // At the click, or where the last click put it when there was none.
    void place(QQuickWindow *window, const QPoint &click);
    void present(QQuickWindow *window);

    NotificationsStore *m_store;
    ViewActions m_actions;
    std::unique_ptr<QQmlEngine> m_engine;
    QPointer<QQuickWindow> m_panel;
    QPointer<QQuickWindow> m_mainWindow;
    QPointer<QQuickWindow> m_settingsWindow;
    // Since the open panel last lost the focus (and so closed itself).
    QElapsedTimer m_panelLostFocus;
    // Set while the panel is shown and its first frame since is not drawn yet.
    bool m_panelFramePending = false;
    QString m_activationToken;
    // Null until the first click on the icon.
    QPoint m_lastClick;
};
