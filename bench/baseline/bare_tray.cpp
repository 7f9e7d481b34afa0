// Baseline for bench/measure-tray.sh: the least a Qt tray application is, a
// tray icon whose click opens a menu. Prints "first frame <epoch ms>" when
// the menu is first painted.

#include <QApplication>
#include <QDateTime>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>

#include <cstdio>

namespace {

class TimedMenu : public QMenu {
protected:
    void paintEvent(QPaintEvent *event) override
    {
        QMenu::paintEvent(event);
        if (!m_painted) {
            m_painted = true;
            std::printf("first frame %lld\n", QDateTime::currentMSecsSinceEpoch());
            std::fflush(stdout);
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
    QPixmap bell(22, 22);
    bell.fill(Qt::transparent);
    {
        QPainter painter(&bell);
        painter.setBrush(QColor(0xf2, 0xf2, 0xf2));
        painter.drawEllipse(3, 3, 16, 16);
    }
    TimedMenu menu;
    for (int i = 0; i < 20; ++i)
        menu.addAction(QStringLiteral("Notification thread %1").arg(i + 1));
    QSystemTrayIcon tray{QIcon(bell)};
    QObject::connect(&tray, &QSystemTrayIcon::activated, &menu, [&](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            menu.popup(QCursor::pos());
    });
    tray.show();
    return QApplication::exec();
}
