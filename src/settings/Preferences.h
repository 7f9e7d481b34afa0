#pragma once

#include <QString>

// The user's settings, each read afresh with its default applied and each
// written the moment it changes.
namespace Preferences {

inline constexpr char refreshIntervalKey[] = "refreshInterval";
inline constexpr char notificationsEnabledKey[] = "notificationsEnabled";
inline constexpr char notificationSoundEnabledKey[] = "notificationSoundEnabled";
inline constexpr char updateChannelKey[] = "updateChannel";
inline constexpr char automaticallyChecksForUpdatesKey[] = "automaticallyChecksForUpdates";
inline constexpr char participatingOnlyKey[] = "participatingOnly";

inline constexpr int defaultRefreshInterval = 300;

// Seconds; the default when absent, when not stored as an integer, and when
// not positive (a period of zero would poll without pause).
int refreshInterval();
bool notificationsEnabled();
bool notificationSoundEnabled();
QString updateChannel();
bool automaticallyChecksForUpdates();
// Only the threads the user takes part in; off by default.
bool participatingOnly();

void setRefreshInterval(int seconds);
void setNotificationsEnabled(bool enabled);
// A user who never chose gets alerts once a token is saved: Linux asks no
// permission, and who installs a notifier expects its notifications. Returns
// whether it turned them on; a choice made, either way, stays.
bool enableNotificationsUnlessChosen();
void setNotificationSoundEnabled(bool enabled);
void setUpdateChannel(const QString &channel);
void setAutomaticallyChecksForUpdates(bool enabled);
void setParticipatingOnly(bool enabled);

} // namespace Preferences
