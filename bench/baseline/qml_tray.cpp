// Baseline for bench/measure-tray.sh: a tray icon whose click opens a QML
// window with a 20-row ListView, Qt Quick loaded only then. Prints
// "first frame <epoch ms>" when the window's first frame is swapped.

#include "Baseline.h"

#include <QApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSystemTrayIcon>

#include <memory>

namespace {

const char window[] = R"(
import QtQuick
import QtQuick.Controls
Window {
    width: 420; height: 500
    flags: Qt.Tool | Qt.FramelessWindowHint
    ListView {
        anchors.fill: parent
        model: 20
        delegate: ItemDelegate { width: ListView.view.width; text: "Notification thread " + (index + 1) }
    }
}
)";

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    std::unique_ptr<QQmlEngine> engine;
    QQuickWindow *view = nullptr;
    QSystemTrayIcon tray{placeholderIcon()};
    QObject::connect(&tray, &QSystemTrayIcon::activated, &tray, [&](QSystemTrayIcon::ActivationReason reason) {
        if (reason != QSystemTrayIcon::Trigger)
            return;
        if (!view) {
            engine = std::make_unique<QQmlEngine>();
            QQmlComponent component(engine.get());
            component.setData(window, QUrl());
            view = qobject_cast<QQuickWindow *>(component.create());
            if (!view)
                qFatal("%s", qPrintable(component.errorString()));
            QObject::connect(
                view, &QQuickWindow::frameSwapped, view,
                [view] {
                    static bool reported = false;
                    if (!reported) {
                        reported = true;
                        reportFirstFrame();
                    }
                },
                Qt::DirectConnection);
        }
        view->setVisible(!view->isVisible());
    });
    tray.show();
    return QApplication::exec();
}
