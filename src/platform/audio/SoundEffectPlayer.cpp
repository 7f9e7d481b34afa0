#include "platform/audio/SoundEffectPlayer.h"

#include "platform/Diagnostics.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>

void SoundEffectPlayer::play(const QUrl &clip)
{
    // With no output at all the player would report nothing and stay silent.
    if (QMediaDevices::audioOutputs().isEmpty()) {
        Diagnostics::print(QStringLiteral("Failed to play sound: no audio output device is available"));
        return;
    }

    auto *effect = new QSoundEffect(this);
    connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Error) {
            Diagnostics::print(QStringLiteral("Failed to play sound: the clip could not be loaded"));
            effect->deleteLater();
        } else if (effect->status() == QSoundEffect::Ready) {
            effect->play();
        }
    });
    connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying())
            effect->deleteLater();
    });
    effect->setLoopCount(1);
    effect->setSource(clip);
    // A clip loaded before reports no change of status.
    if (effect->status() == QSoundEffect::Ready)
        effect->play();
}
