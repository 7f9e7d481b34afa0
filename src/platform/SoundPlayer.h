#pragma once

#include <QUrl>
#include <QtPlugin>

// What the audio plugin offers: plays a clip once. Failures are reported as
// diagnostics by the plugin itself.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QUrl &clip) = 0;
};

#define QuillfenSoundPlayer_iid "app.quillfen.SoundPlayer/1"
Q_DECLARE_INTERFACE(SoundPlayer, QuillfenSoundPlayer_iid)
