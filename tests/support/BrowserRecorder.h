#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

// Stands in for the desktop's browser: records every address the application
// asks to open, for the schemes given, while it exists.
class BrowserRecorder : public QObject {
    Q_OBJECT

public:
    explicit BrowserRecorder(QStringList schemes = {QStringLiteral("https")}) : m_schemes(std::move(schemes))
    {
        for (const QString &scheme : std::as_const(m_schemes))
            QDesktopServices::setUrlHandler(scheme, this, "openUrl");
    }
    ~BrowserRecorder() override
    {
        for (const QString &scheme : std::as_const(m_schemes))
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> opened;
    // The activation token each browser would have been started with.
    QStringList activationTokens;

public slots:
    void openUrl(const QUrl &url)
    {
        opened.append(url);
        activationTokens.append(qEnvironmentVariable("XDG_ACTIVATION_TOKEN"));
    }

private:
    QStringList m_schemes;
};
