#pragma once

#include "shell/AppStatus.h"
#include "shell/StatusInterface.h"

#include <QObject>

class QuillfenApp;
class SingleInstance;

// What scripts and desktop shortcuts ask of the running Quillfen: the acts
// and status lines of later starts over the single-instance socket, and the
// same acts on the session bus.
class RemoteControl : public QObject {
    Q_OBJECT

public:
    RemoteControl(SingleInstance &instance, QuillfenApp &app, QObject *parent = nullptr);

    // "activate", "toggle-panel", "show-window" or "refresh", with the
    // desktop's token for the window it brings forward.
    void perform(const QString &act, const QString &token);

private:
    QuillfenApp &m_app;
    AppStatus m_status;
    StatusInterface m_bus;
};
