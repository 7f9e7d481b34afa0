#pragma once

#include <QObject>

// Whether the desktop asks for quiet: the notification service's `Inhibited`
// property (GNOME, KDE Plasma and others have it; where it is missing the
// desktop never counts as inhibited). Followed through PropertiesChanged and
// asked again whenever the service changes hands.
class DoNotDisturb : public QObject {
    Q_OBJECT

public:
    static DoNotDisturb &shared();

    bool isInhibited() const { return m_inhibited; }

signals:
    void inhibitedChanged(bool inhibited);

private slots:
    void propertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);

private:
    DoNotDisturb();
    void ask();
    void setInhibited(bool inhibited);

    bool m_inhibited = false;
};
