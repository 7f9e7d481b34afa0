#include "platform/Diagnostics.h"
#include "platform/NotificationSound.h"

#include <QTest>

// No sound server in this session: the bell cannot play, and says why.
class TestNotificationSoundNoAudio : public QObject {
    Q_OBJECT

private slots:
    void reportsMissingOutput()
    {
        QStringList diagnostics;
        Diagnostics::setSinkForTesting([&](const QString &line) { diagnostics << line; });
        NotificationSound::play();
        QCOMPARE(diagnostics, QStringList{QStringLiteral("Failed to play sound: no audio output device is available")});
    }
};

QTEST_MAIN(TestNotificationSoundNoAudio)
#include "tst_notification_sound_no_audio.moc"
