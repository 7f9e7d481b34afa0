#include "platform/DesktopNotifications.h"
#include "platform/Diagnostics.h"
#include "platform/NotificationSound.h"

#include "FakeNotificationServer.h"

#include <QProcess>
#include <QTest>

#include <cstdlib>

namespace {

// Records what reaches the private sound server's null sink.
class SinkCapture {
public:
    SinkCapture()
    {
        m_process.start(QStringLiteral("parec"),
                        {QStringLiteral("--latency-msec=50"), QStringLiteral("-d"), QStringLiteral("q_null.monitor"),
                         QStringLiteral("--raw"), QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                         QStringLiteral("--channels=1")});
    }
    ~SinkCapture() { stop(); }

    bool started() { return m_process.waitForStarted(); }

    QByteArray stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished();
        }
        return m_process.readAllStandardOutput();
    }

private:
    QProcess m_process;
};

int peak(const QByteArray &pcm)
{
    int highest = 0;
    for (qsizetype i = 0; i + 1 < pcm.size(); i += 2) {
        const auto sample = qint16(quint16(quint8(pcm[i])) | quint16(quint8(pcm[i + 1])) << 8);
        highest = std::max(highest, std::abs(int(sample)));
    }
    return highest;
}

} // namespace

class TestNotificationSound : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        diagnostics.clear();
        Diagnostics::setSinkForTesting([this](const QString &line) { diagnostics << line; });
    }

    void bellReallyPlays()
    {
        SinkCapture capture;
        QVERIFY(capture.started());
        QTest::qWait(500);
        NotificationSound::play();
        // The clip lasts 0.7 s; give the server time to mix it.
        QTest::qWait(2000);
        const QByteArray played = capture.stop();
        QVERIFY2(peak(played) > 5000, qPrintable(QStringLiteral("peak %1").arg(peak(played))));
        QVERIFY2(diagnostics.isEmpty(), qPrintable(diagnostics.join(u'\n')));
    }

    // One bell: the server's when it plays sounds, else Quillfen's own;
    // none when the bell is off.
    void oneBell_data()
    {
        QTest::addColumn<QStringList>("capabilities");
        QTest::addColumn<bool>("withSound");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("played");
        QTest::newRow("the server's") << QStringList{"body", "sound"} << true << "sound-name" << false;
        QTest::newRow("Quillfen's") << QStringList{"body"} << true << "suppress-sound" << true;
        QTest::newRow("off") << QStringList{"body", "sound"} << false << "suppress-sound" << false;
    }

    void oneBell()
    {
        QFETCH(QStringList, capabilities);
        QFETCH(bool, withSound);
        QFETCH(QString, hint);
        QFETCH(bool, played);
        FakeNotificationServer notifications(capabilities);
        SinkCapture capture;
        QVERIFY(capture.started());
        QTest::qWait(500);
        DesktopNotification notification;
        notification.title = QStringLiteral("octo/hooks");
        notification.body = QStringLiteral("Mention");
        notification.withSound = withSound;
        DesktopNotifications::post(notification);
        QTRY_COMPARE(notifications.calls().size(), 1);
        QVERIFY(notifications.calls().at(0).hints.contains(hint));
        // The clip lasts 0.7 s; give the server time to mix it.
        QTest::qWait(2000);
        const int loudest = peak(capture.stop());
        QVERIFY2(played ? loudest > 5000 : loudest < 500, qPrintable(QStringLiteral("peak %1").arg(loudest)));
    }

    void missingClipIsReported()
    {
        NotificationSound::setClipPathForTesting(QStringLiteral("/nonexistent/bell-ding.wav"));
        NotificationSound::play();
        QCOMPARE(diagnostics, QStringList{QStringLiteral("Sound file not found")});

        NotificationSound::setClipPathForTesting(QFINDTESTDATA("tst_notification_sound.cpp"));
        NotificationSound::play();
        QTRY_COMPARE(diagnostics.size(), 2);
        QCOMPARE(diagnostics.at(1), QStringLiteral("Failed to play sound: the clip could not be loaded"));
    }

private:
    QStringList diagnostics;
};

QTEST_MAIN(TestNotificationSound)
#include "tst_notification_sound.moc"
