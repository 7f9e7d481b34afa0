#include "shell/RemoteControl.h"

#include "shell/QuillfenApp.h"
#include "shell/SingleInstance.h"
#include "shell/TrayIcon.h"
#include "store/NotificationsStore.h"

RemoteControl::RemoteControl(SingleInstance &instance, QuillfenApp &app, QObject *parent)
    : QObject(parent), m_app(app), m_status(app.store(), app.trayIcon()), m_bus(&app)
{
    connect(&instance, &SingleInstance::actRequested, this, &RemoteControl::perform);
    connect(&instance, &SingleInstance::statusRequested, &m_status, &AppStatus::serve);
}

void RemoteControl::perform(const QString &act, const QString &token)
{
    if (act == u"refresh") {
        m_app.store()->requestRefresh();
        return;
    }
    m_app.setActivationToken(token);
    // A shortcut's panel opens with or without a tray: where there is none
    // it is placed as the desktop places windows.
    if (act == u"toggle-panel")
        m_app.togglePanel(m_app.trayIcon()->anchor());
    else
        m_app.showMainWindow();
}
