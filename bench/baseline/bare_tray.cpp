// Baseline for bench/measure-tray.sh: the least a Qt tray application is, a
// tray icon whose click opens a menu. Prints "first frame <epoch ms>" when
// the menu is first painted.

#include "Baseline.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace {

class TimedMenu : public QMenu {
protected:
    void paintEvent(QPaintEvent *event) override
    {
        QMenu::paintEvent(event);
        if (!m_painted) {
            m_painted = true;
            reportFirstFrame();
        }
    }

private:
    bool m_painted = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TimedMenu menu;
    for (int i = 0; i < 20; ++i)
        menu.addAction(QStringLiteral("Notification thread %1").arg(i + 1));
    QSystemTrayIcon tray{placeholderIcon()};
    QObject::connect(&tray, &QSystemTrayIcon::activated, &menu, [&](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            menu.popup(QCursor::pos());
    });
    tray.show();
    return QApplication::exec();
}
