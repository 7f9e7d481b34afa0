#pragma once

#include <QObject>

class QuillfenApp;

// Quillfen on the session bus: service com.quillfen.app, object
// /com/quillfen/app, interface com.quillfen.App1, for scripts and desktop
// shortcuts. UnreadCount counts as the tray does (rules and snoozes
// honoured) and is announced through PropertiesChanged.
class StatusInterface : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.quillfen.App1")
    Q_PROPERTY(uint UnreadCount READ unreadCount)

public:
    static constexpr char serviceName[] = "com.quillfen.app";
    static constexpr char objectPath[] = "/com/quillfen/app";

    explicit StatusInterface(QuillfenApp *app, QObject *parent = nullptr);
    ~StatusInterface() override;

    uint unreadCount() const;

public slots:
    void TogglePanel();
    void ShowWindow();
    void Refresh();
    void MarkAllAsRead();

private:
    void announce();

    QuillfenApp *m_app;
    uint m_announced = 0;
};
