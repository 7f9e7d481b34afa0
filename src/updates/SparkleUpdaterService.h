#pragma once

#include "updates/Appcast.h"
#include "updates/UpdateChecker.h"

#include <QObject>
#include <QVariant>

#include <memory>
#include <optional>

// The process-wide update service: starts the update checker with the
// application, answers its questions from the preferences, applies the
// automatic-check schedule, stores the channel and publishes what the last
// check found. Its properties are the one account of a check: whoever shows
// one reads them.
class SparkleUpdaterService : public QObject, public UpdaterDelegate {
    Q_OBJECT
    Q_PROPERTY(bool isCheckingForUpdates READ isCheckingForUpdates NOTIFY isCheckingForUpdatesChanged)
    Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY checkEnded)
    Q_PROPERTY(QString checkFailure READ checkFailure NOTIFY checkEnded)
    Q_PROPERTY(QString currentVersion READ currentVersion CONSTANT)
    Q_PROPERTY(QString currentBuild READ currentBuild CONSTANT)

public:
    static SparkleUpdaterService &shared();
    static QString defaultFeedURL() { return QStringLiteral("https://quillfen.app/appcast.xml"); }

    explicit SparkleUpdaterService(QObject *parent = nullptr);
    ~SparkleUpdaterService() override;

    UpdateChecker *updaterController() const { return m_updater.get(); }
    bool isCheckingForUpdates() const { return m_isCheckingForUpdates; }
    bool updateAvailable() const { return m_updateAvailable; }
    const std::optional<AppcastItem> &updateInfo() const { return m_updateInfo; }
    // Why the last check could not read the feed; empty when it could, or
    // before any check. A failed check leaves the release found before.
    const QString &checkFailure() const { return m_checkFailure; }
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
    // A check ended: the found release and the failure are its outcome.
    void checkEnded();
    // A release the user asked to see, by a check they started or by a click
    // on the alert of one found in the background; the shell shows it.
    void updateFoundForUser(const AppcastItem &item);

private:
    void setChecking(bool checking);
    void endCheck(std::optional<AppcastItem> found, QString failure);
    // A release found in the background, told to the user in an alert whose
    // click opens the update window.
    void announce(const AppcastItem &item);

    std::unique_ptr<UpdateChecker> m_updater;
    QString m_feedURL = defaultFeedURL();
    bool m_isCheckingForUpdates = false;
    bool m_updateAvailable = false;
    std::optional<AppcastItem> m_updateInfo;
    QString m_checkFailure;
};
