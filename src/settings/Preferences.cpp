#include "settings/Preferences.h"

#include "platform/PreferencesFile.h"

#include <limits>

namespace Preferences {
namespace {

QVariant stored(const char *key)
{
    return PreferencesFile::value(QString::fromLatin1(key));
}

bool storedBool(const char *key)
{
    const QVariant value = stored(key);
    return value.typeId() == QMetaType::Bool && value.toBool();
}

void store(const char *key, const QVariant &value)
{
    PreferencesFile::setValue(QString::fromLatin1(key), value);
}

} // namespace

int refreshInterval()
{
    const QVariant value = stored(refreshIntervalKey);
    const int type = value.typeId();
    if (type != QMetaType::LongLong && type != QMetaType::Int)
        return defaultRefreshInterval;
    const qlonglong seconds = value.toLongLong();
    if (seconds <= 0)
        return defaultRefreshInterval;
    return int(std::min<qlonglong>(seconds, std::numeric_limits<int>::max()));
}

bool notificationsEnabled()
{
    return storedBool(notificationsEnabledKey);
}

bool notificationSoundEnabled()
{
    return storedBool(notificationSoundEnabledKey);
}

QString updateChannel()
{
    const QVariant value = stored(updateChannelKey);
    if (value.typeId() != QMetaType::QString)
        return QStringLiteral("stable");
    return value.toString();
}

bool automaticallyChecksForUpdates()
{
    return storedBool(automaticallyChecksForUpdatesKey);
}

bool participatingOnly()
{
    return storedBool(participatingOnlyKey);
}

void setRefreshInterval(int seconds)
{
    store(refreshIntervalKey, QVariant::fromValue(qlonglong(seconds)));
}

void setNotificationsEnabled(bool enabled)
{
    store(notificationsEnabledKey, enabled);
}

bool enableNotificationsUnlessChosen()
{
    if (stored(notificationsEnabledKey).isValid())
        return false;
    setNotificationsEnabled(true);
    return true;
}

void setNotificationSoundEnabled(bool enabled)
{
    store(notificationSoundEnabledKey, enabled);
}

void setUpdateChannel(const QString &channel)
{
    store(updateChannelKey, channel);
}

void setAutomaticallyChecksForUpdates(bool enabled)
{
    store(automaticallyChecksForUpdatesKey, enabled);
}

void setParticipatingOnly(bool enabled)
{
    store(participatingOnlyKey, enabled);
}

} // namespace Preferences
