#pragma once

#include "platform/SoundPlayer.h"

#include <QObject>

// The audio plugin: Qt Multimedia is mapped only once the bell first rings.
class SoundEffectPlayer : public QObject, public SoundPlayer {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QuillfenSoundPlayer_iid)
    Q_INTERFACES(SoundPlayer)

public:
    void play(const QUrl &clip) override;
};
