#include "shell/StatusCommand.h"

#include "shell/SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
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
    // A stopped or hung instance accepts the connection and never answers:
    // the first line comes within the deadline, later ones whenever the
    // status changes.
    QDeadlineTimer deadline(SingleInstance::answerDeadlineMs);
    bool answered = false;
    // A status bar reads line by line: each goes out whole and at once.
    while (socket.waitForReadyRead(answered ? -1 : int(deadline.remainingTime())) || socket.canReadLine()) {
        while (socket.canReadLine()) {
            answered = true;
            const QByteArray line = socket.readLine();
            std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
            std::fflush(stdout);
            if (!watch)
                return 0;
        }
        if (socket.state() != QLocalSocket::ConnectedState)
            break;
    }
    std::fputs(qPrintable((answered
                               ? QCoreApplication::translate("StatusCommand", "Quillfen stopped answering.")
                               : QCoreApplication::translate("StatusCommand", "Quillfen is running but not answering."))
                          + u'\n'),
               stderr);
    return 1;
}

} // namespace StatusCommand
