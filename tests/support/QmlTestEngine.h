#pragma once

#include <QVariantMap>

class QQmlEngine;
class QQuickWindow;

// The QML engine as the application sets it up: Fusion style, the Quillfen
// module and the symbol image provider.
void prepareQmlEngine(QQmlEngine &engine);

// One of the module's windows (e.g. "PanelWindow"), shown, active and
// exposed; it stays open when it loses focus. Any failure ends the run.
QQuickWindow *showWindow(QQmlEngine &engine, const QString &type, const QVariantMap &properties = {});
