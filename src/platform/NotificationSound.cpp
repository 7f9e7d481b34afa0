#include "platform/NotificationSound.h"

#include "platform/Diagnostics.h"
#include "platform/Plugins.h"
#include "platform/SoundPlayer.h"

#include <QFile>
#include <QUrl>

namespace NotificationSound {
namespace {

QString &configuredPath()
{
    static QString path = QStringLiteral(":/quillfen/sounds/bell-ding.wav");
    return path;
}

QUrl urlFor(const QString &path)
{
    if (path.startsWith(u':'))
        return QUrl(QStringLiteral("qrc") + path);
    return QUrl::fromLocalFile(path);
}

} // namespace

QString clipPath()
{
    return QFile::exists(configuredPath()) ? configuredPath() : QString();
}

void play()
{
    const QString path = clipPath();
    if (path.isEmpty()) {
        Diagnostics::print(QStringLiteral("Sound file not found"));
        return;
    }
    if (auto *player = qobject_cast<SoundPlayer *>(Plugins::instance(QStringLiteral("quillfen_audio"))))
        player->play(urlFor(path));
}

void setClipPathForTesting(const QString &path)
{
    configuredPath() = path;
}

} // namespace NotificationSound
