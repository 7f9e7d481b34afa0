#include "updates/SparkleUpdaterService.h"

#include "Version.h"
#include "platform/DesktopNotifications.h"
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
    m_updater->setAutomaticallyChecksForUpdates(Preferences::automaticallyChecksForUpdates());
    m_updater->setUpdateCheckInterval(std::chrono::seconds(86400));
}

void SparkleUpdaterService::checkForUpdates()
{
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
    endCheck(item, {});
    if (userInitiated)
        emit updateFoundForUser(item);
    else
        announce(item);
}

void SparkleUpdaterService::didFailToCheck(const QString &reason, bool)
{
    endCheck(m_updateInfo, reason);
}

void SparkleUpdaterService::didNotFindUpdate(bool)
{
    endCheck(std::nullopt, {});
}

void SparkleUpdaterService::endCheck(std::optional<AppcastItem> found, QString failure)
{
    m_updateAvailable = found.has_value();
    m_updateInfo = std::move(found);
    m_checkFailure = std::move(failure);
    setChecking(false);
    emit checkEnded();
}

void SparkleUpdaterService::announce(const AppcastItem &item)
{
    // Once per release: a later check that finds it again stays quiet. Noted
    // only once shown, so an alert that could not be posted is tried again.
    const QString announcedKey = QStringLiteral("announcedUpdate");
    if (StateFile::value(announcedKey).toString() == item.version)
        return;
    DesktopNotification notification;
    notification.category = QStringLiteral("x-quillfen.update");
    notification.onShown = [announcedKey, version = item.version] { StateFile::setValue(announcedKey, version); };
    notification.title =
        QCoreApplication::translate("SparkleUpdaterService", "Quillfen %1 is available").arg(item.displayVersion());
    notification.body = QCoreApplication::translate("SparkleUpdaterService", "Click to see what is new.");
    //: Alert button, a verb: show the release found
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
