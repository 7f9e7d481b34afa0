#pragma once

#include <QString>

// The bell clip shipped with the application, played once per call. The
// player lives until the clip ends, then deletes itself.
namespace NotificationSound {

// The clip's resource path, or empty when it is missing.
QString clipPath();
void play();

void setClipPathForTesting(const QString &path);

} // namespace NotificationSound
