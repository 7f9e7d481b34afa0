#include "platform/Diagnostics.h"
#include "store/NotificationsStore.h"
#include "platform/NotificationSound.h"

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
        NotificationsStore::playNotificationSound();
        // The clip lasts 0.7 s; give the server time to mix it.
        QTest::qWait(2000);
        const QByteArray played = capture.stop();
        QVERIFY2(peak(played) > 5000, qPrintable(QStringLiteral("peak %1").arg(peak(played))));
        QVERIFY2(diagnostics.isEmpty(), qPrintable(diagnostics.join(u'\n')));
    }

    void missingClipIsReported()
    {
        NotificationSound::setClipPathForTesting(QStringLiteral("/nonexistent/bell-ding.wav"));
        NotificationsStore::playNotificationSound();
        QCOMPARE(diagnostics, QStringList{QStringLiteral("Sound file not found")});

        NotificationSound::setClipPathForTesting(QFINDTESTDATA("tst_notification_sound.cpp"));
        NotificationsStore::playNotificationSound();
        QTRY_COMPARE(diagnostics.size(), 2);
        QCOMPARE(diagnostics.at(1), QStringLiteral("Failed to play sound: the clip could not be loaded"));
    }

private:
    QStringList diagnostics;
};

QTEST_MAIN(TestNotificationSound)
#include "tst_notification_sound.moc"
