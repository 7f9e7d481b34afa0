#pragma once

#include "updates/Appcast.h"
#include "updates/UpdateChecker.h"

#include <QObject>
#include <QVariant>

#include <memory>
#include <optional>

// The process-wide update service: starts the update checker with the
// application, answers its questions from the preferences, applies the
// automatic-check schedule, republishes its progress and stores the channel.
class SparkleUpdaterService : public QObject, public UpdaterDelegate {
    Q_OBJECT
    Q_PROPERTY(bool isCheckingForUpdates READ isCheckingForUpdates NOTIFY isCheckingForUpdatesChanged)
    Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY updateAvailableChanged)
    Q_PROPERTY(double downloadProgress READ downloadProgress CONSTANT)
    Q_PROPERTY(bool isDownloading READ isDownloading CONSTANT)
    Q_PROPERTY(QString currentVersion READ currentVersion CONSTANT)
    Q_PROPERTY(QString currentBuild READ currentBuild CONSTANT)

public:
    static SparkleUpdaterService &shared();
    static QString defaultFeedURL() { return QStringLiteral("https://quillfen.app/appcast.xml"); }

    explicit SparkleUpdaterService(QObject *parent = nullptr);
    ~SparkleUpdaterService() override;

    UpdateChecker *updaterController() const { return m_updater.get(); }
    const QString &feedURL() const { return m_feedURL; }
    bool isCheckingForUpdates() const { return m_isCheckingForUpdates; }
    bool updateAvailable() const { return m_updateAvailable; }
    const std::optional<AppcastItem> &updateInfo() const { return m_updateInfo; }
    // Nothing is ever downloaded here: the browser does that.
    double downloadProgress() const { return 0.0; }
    bool isDownloading() const { return false; }
    QString currentVersion() const;
    QString currentBuild() const;

    void configureUpdater();
    Q_INVOKABLE void checkForUpdates();
    Q_INVOKABLE void setUpdateChannel(const QString &channel);

    // Tests point the service at a feed of their own.
    void setFeedURLForTesting(const QString &url) { m_feedURL = url; }

    // UpdaterDelegate
    QString feedURLString() const override { return m_feedURL; }
    QStringList allowedChannels() const override;
    void didFinishLoadingAppcast() override;
    void didFindValidUpdate(const AppcastItem &item, bool userInitiated) override;
    void didNotFindUpdate(bool userInitiated) override;
    void didFailToCheck(const QString &reason, bool userInitiated) override;

signals:
    void isCheckingForUpdatesChanged();
    void updateAvailableChanged();
    // How a check the user started ended. A found release is shown by the
    // shell.
    void updateFoundForUser(const AppcastItem &item);
    void noUpdateFoundForUser();
    void updateCheckFailedForUser(const QString &reason);
    void configured();

private:
    void setChecking(bool checking);
    // A release found in the background, told to the user in an alert whose
    // click opens the update window.
    void announce(const AppcastItem &item);

    std::unique_ptr<UpdateChecker> m_updater;
    QString m_feedURL = defaultFeedURL();
    bool m_isCheckingForUpdates = false;
    bool m_updateAvailable = false;
    std::optional<AppcastItem> m_updateInfo;
};
