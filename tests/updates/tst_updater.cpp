#include "platform/Diagnostics.h"
#include "platform/PreferencesFile.h"
#include "platform/StateFile.h"
#include "settings/Preferences.h"
#include "updates/Appcast.h"
#include "updates/SparkleUpdaterService.h"

#include "FakeGitHubServer.h"
#include "FakeNotificationServer.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

// Items as (build, channel); build N is shown as version 0.N.0.
QByteArray appcast(const QList<std::tuple<QString, QString>> &items)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">\n"
                     "<channel><title>Quillfen</title>";
    for (const auto &[build, channel] : items) {
        const QString version = QStringLiteral("0.%1.0").arg(build);
        xml += "<item><title>Quillfen " + version.toUtf8() + "</title>";
        xml += "<sparkle:version>" + build.toUtf8() + "</sparkle:version>";
        xml += "<sparkle:shortVersionString>" + version.toUtf8() + "</sparkle:shortVersionString>";
        if (!channel.isEmpty())
            xml += "<sparkle:channel>" + channel.toUtf8() + "</sparkle:channel>";
        xml +=
            "<sparkle:releaseNotesLink>https://quillfen.app/notes/" + version.toUtf8() + "</sparkle:releaseNotesLink>";
        xml += "<description><![CDATA[Fixes & <b>improvements</b>]]></description>";
        xml += "<enclosure url=\"https://quillfen.app/download/" + version.toUtf8()
               + "\" length=\"1\" type=\"application/octet-stream\"/>";
        xml += "</item>";
    }
    return xml + "</channel></rss>";
}

} // namespace

class TestUpdater : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QFile::remove(PreferencesFile::path());
        diagnostics.clear();
        Diagnostics::setSinkForTesting([this](const QString &line) { diagnostics << line; });
    }

    // That the newest allowed item is picked, and that the order of versions
    // is an order, is the update feed fuzz target's check.
    void readsTheFeed()
    {
        const std::tuple<const char *, const char *, int> orders[] = {{"1.10", "1.9", 1},
                                                                      {"0.1.0", "0.1.0", 0},
                                                                      {"0.1.1", "0.1", 1},
                                                                      {"1.0", "1.0-beta", 1},
                                                                      {"2.0-beta2", "2.0-beta1", 1}};
        for (const auto &[newer, older, sign] : orders)
            QCOMPARE(std::clamp(Appcast::compareVersions(QString::fromLatin1(newer), QString::fromLatin1(older)), -1,
                                1),
                     sign);

        const auto parsed = Appcast::parse(appcast({{"1", ""}, {"3", "beta"}}));
        const auto items = std::get<QList<AppcastItem>>(parsed);
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[1].channel, QStringLiteral("beta"));
        QCOMPARE(items[0].downloadUrl, QUrl(QStringLiteral("https://quillfen.app/download/0.1.0")));
        QCOMPARE(items[0].description, QStringLiteral("Fixes & <b>improvements</b>"));
        QCOMPARE(items[0].displayVersion(), QStringLiteral("0.1.0"));
        QVERIFY(std::holds_alternative<AppcastError>(Appcast::parse("<rss><channel><item>")));
    }

    // What a check tells the rest of the application, on the channel chosen.
    void serviceChecksTheFeed()
    {
        FakeGitHubServer feed;
        SparkleUpdaterService service;
        service.setFeedURLForTesting(feed.baseUrl() + QStringLiteral("/appcast.xml"));
        QSignalSpy foundForUser(&service, &SparkleUpdaterService::updateFoundForUser);
        for (const auto &[channel, found] : {std::pair{"stable", "0.2.0"}, {"beta", "0.3.0"}}) {
            service.setUpdateChannel(QString::fromLatin1(channel));
            feed.enqueue({200, appcast({{"2", ""}, {"3", "beta"}}), {}, ScriptedResponse::Behaviour::respond});
            service.checkForUpdates();
            QTRY_VERIFY(!service.isCheckingForUpdates());
            QVERIFY(service.updateAvailable());
            QCOMPARE(service.updateInfo()->displayVersion(), QString::fromLatin1(found));
        }
        QCOMPARE(foundForUser.size(), 2);
        QVERIFY(!feed.requests().at(0).hasHeader("Authorization"));
        QVERIFY(diagnostics.isEmpty());
    }

    void aDueCheckRunsSoonAfterStartAndIsKept()
    {
        FakeNotificationServer notifications({QStringLiteral("body"), QStringLiteral("actions")});
        FakeGitHubServer feed;
        feed.setHandler([](const RecordedRequest &) {
            return ScriptedResponse{200, appcast({{"999", ""}}), {}, ScriptedResponse::Behaviour::respond};
        });
        StateFile::setValue(QStringLiteral("lastUpdateCheck"),
                            QDateTime::currentDateTimeUtc().addDays(-2).toString(Qt::ISODate));
        Preferences::setAutomaticallyChecksForUpdates(true);
        {
            SparkleUpdaterService service;
            service.setFeedURLForTesting(feed.baseUrl() + QStringLiteral("/appcast.xml"));
            QTRY_COMPARE_WITH_TIMEOUT(feed.requests().size(), 1, 8000);
            QTRY_VERIFY(UpdateChecker::lastCheck().secsTo(QDateTime::currentDateTimeUtc()) < 10);

            // Found in the background: told once, and a click shows it.
            QTRY_COMPARE(notifications.calls().size(), 1);
            QCOMPARE(notifications.calls().at(0).summary, QStringLiteral("Quillfen 0.999.0 is available"));
            QSignalSpy shown(&service, &SparkleUpdaterService::updateFoundForUser);
            notifications.invokeAction(notifications.calls().at(0).id, QStringLiteral("default"));
            QTRY_COMPARE(shown.size(), 1);
            service.updaterController()->checkForUpdatesInBackground();
            QTRY_COMPARE(feed.requests().size(), 2);
            QTest::qWait(200);
            QCOMPARE(notifications.calls().size(), 1);
        }
        // A restart soon after checks nothing: the last check is kept.
        SparkleUpdaterService restarted;
        restarted.setFeedURLForTesting(feed.baseUrl() + QStringLiteral("/appcast.xml"));
        QTest::qWait(4500);
        QCOMPARE(feed.requests().size(), 2);
        Preferences::setAutomaticallyChecksForUpdates(false);
    }

    // Offline at start: tried again within minutes, not a day later; a
    // release whose alert could not be shown is not counted as announced.
    void failuresAreTriedAgain()
    {
        FakeGitHubServer feed;
        feed.enqueue({500, {}, {}, ScriptedResponse::Behaviour::respond});
        feed.setHandler([](const RecordedRequest &) {
            return ScriptedResponse{200, appcast({{"998", ""}}), {}, ScriptedResponse::Behaviour::respond};
        });
        const QString dayBefore = QDateTime::currentDateTimeUtc().addDays(-2).toString(Qt::ISODate);
        StateFile::setValue(QStringLiteral("lastUpdateCheck"), dayBefore);
        Preferences::setAutomaticallyChecksForUpdates(true);
        SparkleUpdaterService service;
        service.setFeedURLForTesting(feed.baseUrl() + QStringLiteral("/appcast.xml"));
        QTRY_COMPARE_WITH_TIMEOUT(feed.requests().size(), 1, 8000);
        QTRY_VERIFY(service.updaterController()->scheduledIn() <= UpdateChecker::firstRetryDelay);
        QCOMPARE(StateFile::value(QStringLiteral("lastUpdateCheck")).toString(), dayBefore);

        const QVariant announced = StateFile::value(QStringLiteral("announcedUpdate"));
        service.updaterController()->checkForUpdatesInBackground();
        QTRY_VERIFY(diagnostics.contains(
            QStringLiteral("Failed to show notification: no notification service on the session bus")));
        QCOMPARE(StateFile::value(QStringLiteral("announcedUpdate")), announced);
        Preferences::setAutomaticallyChecksForUpdates(false);
    }

private:
    QStringList diagnostics;
};

QTEST_GUILESS_MAIN(TestUpdater)
#include "tst_updater.moc"
