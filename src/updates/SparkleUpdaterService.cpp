#include "updates/SparkleUpdaterService.h"

#include <QCoreApplication>

#include "Version.h"
#include "platform/DesktopNotifications.h"
#include "platform/Diagnostics.h"
#include "platform/NoticeCenter.h"
#include "platform/StateFile.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"

#include <QCoreApplication>
#include <QPointer>

SparkleUpdaterService &SparkleUpdaterService::shared()
{
    static SparkleUpdaterService *service = new SparkleUpdaterService(QCoreApplication::instance());
    return *service;
}

SparkleUpdaterService::SparkleUpdaterService(QObject *parent) : QObject(parent)
{
    m_updater = std::make_unique<UpdateChecker>(this, currentBuild());
    connect(m_updater.get(), &UpdateChecker::checkFinished, this, [this] { setChecking(false); });
    configureUpdater();
    NoticeCenter::instance().observe(QString::fromLatin1(Notices::updateChannelChanged), this,
                                     [this](const QVariant &) { configureUpdater(); });
}

SparkleUpdaterService::~SparkleUpdaterService() = default;

QString SparkleUpdaterService::currentVersion() const
{
    return QString::fromLatin1(Quillfen::versionString);
}

QString SparkleUpdaterService::currentBuild() const
{
    return QString::fromLatin1(Quillfen::buildNumber);
}

void SparkleUpdaterService::configureUpdater()
{
    if (!m_updater)
        return;
    m_updater->setAutomaticallyChecksForUpdates(Preferences::automaticallyChecksForUpdates());
    m_updater->setUpdateCheckInterval(std::chrono::seconds(86400));
    emit configured();
}

void SparkleUpdaterService::checkForUpdates()
{
    if (!m_updater) {
        Diagnostics::print(QStringLiteral("Sparkle updater not available"));
        return;
    }
    setChecking(true);
    m_updater->checkForUpdates();
}

void SparkleUpdaterService::setUpdateChannel(const QString &channel)
{
    Preferences::setUpdateChannel(channel);
    NoticeCenter::instance().post(QString::fromLatin1(Notices::updateChannelChanged));
}

QStringList SparkleUpdaterService::allowedChannels() const
{
    if (Preferences::updateChannel() == u"beta")
        return {QStringLiteral("beta")};
    return {};
}

void SparkleUpdaterService::didFinishLoadingAppcast()
{
    setChecking(false);
}

void SparkleUpdaterService::didFindValidUpdate(const AppcastItem &item, bool userInitiated)
{
    m_updateInfo = item;
    if (!m_updateAvailable) {
        m_updateAvailable = true;
        emit updateAvailableChanged();
    }
    setChecking(false);
    NoticeCenter::instance().post(QString::fromLatin1(Notices::updaterDidFindValidUpdate));
    if (userInitiated)
        emit updateFoundForUser(item);
    else
        announce(item);
}

void SparkleUpdaterService::didFailToCheck(const QString &reason, bool userInitiated)
{
    setChecking(false);
    if (userInitiated)
        emit updateCheckFailedForUser(reason);
}

void SparkleUpdaterService::didNotFindUpdate(bool userInitiated)
{
    m_updateInfo.reset();
    if (m_updateAvailable) {
        m_updateAvailable = false;
        emit updateAvailableChanged();
    }
    setChecking(false);
    if (userInitiated)
        emit noUpdateFoundForUser();
}

void SparkleUpdaterService::announce(const AppcastItem &item)
{
    // Once per release: a later check that finds it again stays quiet. Noted
    // only once shown, so an alert that could not be posted is tried again.
    const QString announcedKey = QStringLiteral("announcedUpdate");
    if (StateFile::value(announcedKey).toString() == item.version)
        return;
    DesktopNotification notification;
    notification.onShown = [announcedKey, version = item.version] { StateFile::setValue(announcedKey, version); };
    notification.title = QCoreApplication::translate("SparkleUpdaterService", "Quillfen %1 is available").arg(item.displayVersion());
    notification.body = QCoreApplication::translate("SparkleUpdaterService", "Click to see what is new.");
    notification.actions = {{QStringLiteral("default"), QCoreApplication::translate("SparkleUpdaterService", "Show")}};
    notification.onAction = [self = QPointer<SparkleUpdaterService>(this), item](const QString &key) {
        if (self && key == u"default")
            emit self->updateFoundForUser(item);
    };
    DesktopNotifications::post(notification);
}

void SparkleUpdaterService::setChecking(bool checking)
{
    if (checking == m_isCheckingForUpdates)
        return;
    m_isCheckingForUpdates = checking;
    emit isCheckingForUpdatesChanged();
}
