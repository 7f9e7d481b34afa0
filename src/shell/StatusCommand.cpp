#include "shell/StatusCommand.h"

#include "shell/SingleInstance.h"

#include <QCoreApplication>
#include <QLocalSocket>

#include <cstdio>

namespace StatusCommand {

int run(bool watch)
{
    const auto path = SingleInstance::userPath();
    QLocalSocket socket;
    if (path)
        socket.connectToServer(SingleInstance::socketName(*path));
    if (!path || !socket.waitForConnected(2000)) {
        std::fputs(qPrintable(QCoreApplication::translate("StatusCommand", "Quillfen is not running.") + u'\n'),
                   stderr);
        return 1;
    }
    socket.write(watch ? "watch\n" : "status\n");
    socket.waitForBytesWritten(2000);
    // A status bar reads line by line: each goes out whole and at once.
    while (socket.waitForReadyRead(-1) || socket.bytesAvailable() > 0) {
        while (socket.canReadLine()) {
            const QByteArray line = socket.readLine();
            std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
            std::fflush(stdout);
            if (!watch)
                return 0;
        }
        if (socket.state() != QLocalSocket::ConnectedState)
            break;
    }
    std::fputs(qPrintable(QCoreApplication::translate("StatusCommand", "Quillfen stopped answering.") + u'\n'), stderr);
    return 1;
}

} // namespace StatusCommand
