#pragma once

#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

// Requests a window makes of whoever shows it: another window, or the
// browser. The windows raise them; the view host answers.
class ViewActions : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the view host")

public:
    using QObject::QObject;

signals:
    void openWindowRequested();
    void openSettingsRequested();
    void downloadRequested(const QUrl &address);
};
