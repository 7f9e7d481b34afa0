// A notification daemon that the test bus starts on demand, as dunst or mako
// are: it owns org.freedesktop.Notifications once started, writes each
// alert's summary as a line to $XDG_RUNTIME_DIR/notifications.log, and quits
// when its bus goes away.

#include "FakeNotificationServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    FakeNotificationServer server({QStringLiteral("body"), QStringLiteral("actions")});
    QObject::connect(&server, &FakeNotificationServer::notified, &server, [&server] {
        QFile log(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/notifications.log"));
        if (log.open(QIODevice::Append))
            log.write(server.calls().constLast().summary.toUtf8() + '\n');
    });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &app, [] {
        if (!QDBusConnection::sessionBus().isConnected())
            QCoreApplication::quit();
    });
    watch.start(1000);
    return QCoreApplication::exec();
}
