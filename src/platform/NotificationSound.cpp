#include "platform/NotificationSound.h"

#include "platform/Diagnostics.h"

#include <QCoreApplication>
#include <QFile>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
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
    // With no output at all the player would report nothing and stay silent.
    if (QMediaDevices::audioOutputs().isEmpty()) {
        Diagnostics::print(QStringLiteral("Failed to play sound: no audio output device is available"));
        return;
    }

    auto *effect = new QSoundEffect(QCoreApplication::instance());
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Error) {
            Diagnostics::print(QStringLiteral("Failed to play sound: the clip could not be loaded"));
            effect->deleteLater();
        } else if (effect->status() == QSoundEffect::Ready) {
            effect->play();
        }
    });
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying())
            effect->deleteLater();
    });
    effect->setLoopCount(1);
    effect->setSource(urlFor(path));
    // A clip loaded before reports no change of status.
    if (effect->status() == QSoundEffect::Ready)
        effect->play();
}

void setClipPathForTesting(const QString &path)
{
    configuredPath() = path;
}

} // namespace NotificationSound
