#include "platform/Diagnostics.h"
#include "platform/NoticeCenter.h"
#include "platform/PreferencesFile.h"
#include "platform/StateFile.h"
#include "settings/Notices.h"
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
        xml += "<sparkle:releaseNotesLink>https://quillfen.app/notes/" + version.toUtf8() + "</sparkle:releaseNotesLink>";
        xml += "<description><![CDATA[Fixes & <b>improvements</b>]]></description>";
        xml += "<enclosure url=\"https://quillfen.app/download/" + version.toUtf8() + "\" length=\"1\" type=\"application/octet-stream\"/>";
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

    void versionsCompareByParts()
    {
        QVERIFY(Appcast::compareVersions(QStringLiteral("1.10"), QStringLiteral("1.9")) > 0);
        QVERIFY(Appcast::compareVersions(QStringLiteral("0.1.0"), QStringLiteral("0.1.0")) == 0);
        QVERIFY(Appcast::compareVersions(QStringLiteral("0.1.1"), QStringLiteral("0.1")) > 0);
        QVERIFY(Appcast::compareVersions(QStringLiteral("1.0"), QStringLiteral("1.0-beta")) > 0);
        QVERIFY(Appcast::compareVersions(QStringLiteral("2.0-beta2"), QStringLiteral("2.0-beta1")) > 0);
        QVERIFY(Appcast::compareVersions(QStringLiteral("0.0.9"), QStringLiteral("0.1.0")) < 0);
    }

    void parsesAndPicksTheNewestAllowed()
    {
        const auto parsed = Appcast::parse(appcast({{"1", ""}, {"2", ""}, {"3", "beta"}, {"0", ""}}));
        QVERIFY(std::holds_alternative<QList<AppcastItem>>(parsed));
        const auto items = std::get<QList<AppcastItem>>(parsed);
        QCOMPARE(items.size(), 4);
        QCOMPARE(items[2].channel, QStringLiteral("beta"));
        QCOMPARE(items[1].downloadUrl, QUrl(QStringLiteral("https://quillfen.app/download/0.2.0")));
        QCOMPARE(items[1].description, QStringLiteral("Fixes & <b>improvements</b>"));

        // Builds are compared, the short version is what users see.
        QCOMPARE(Appcast::newestUpdate(items, QStringLiteral("1"), {})->version, QStringLiteral("2"));
        QCOMPARE(Appcast::newestUpdate(items, QStringLiteral("1"), {})->displayVersion(), QStringLiteral("0.2.0"));
        QCOMPARE(Appcast::newestUpdate(items, QStringLiteral("1"), {QStringLiteral("beta")})->version, QStringLiteral("3"));
        QCOMPARE(Appcast::newestUpdate(items, QStringLiteral("2"), {}), std::nullopt);
        QCOMPARE(Appcast::newestUpdate(items, QStringLiteral("10"), {QStringLiteral("beta")}), std::nullopt);

        QVERIFY(std::holds_alternative<AppcastError>(Appcast::parse("<rss><channel><item>")));
    }

    void serviceChecksTheFeed()
    {
        FakeGitHubServer feed;
        feed.enqueue({200, appcast({{"2", ""}, {"3", "beta"}}), {}, ScriptedResponse::Behaviour::respond});
        SparkleUpdaterService service;
        service.setFeedURLForTesting(feed.baseUrl() + QStringLiteral("/appcast.xml"));

        QSignalSpy foundForUser(&service, &SparkleUpdaterService::updateFoundForUser);
        QStringList notices;
        QObject observer;
        NoticeCenter::instance().observe(QString::fromLatin1(Notices::updaterDidFindValidUpdate), &observer,
                                         [&](const QVariant &) { notices << QStringLiteral("found"); });
        service.checkForUpdates();
        QVERIFY(service.isCheckingForUpdates());
        QTRY_VERIFY(!service.isCheckingForUpdates());
        QVERIFY(service.updateAvailable());
        QCOMPARE(service.updateInfo()->displayVersion(), QStringLiteral("0.2.0"));
        QCOMPARE(foundForUser.size(), 1);
        QTRY_COMPARE(notices, QStringList{"found"});
        QCOMPARE(feed.requests().at(0).target, "/appcast.xml");
        QVERIFY(!feed.requests().at(0).hasHeader("Authorization"));

        // The beta channel sees the beta release.
        service.setUpdateChannel(QStringLiteral("beta"));
        feed.enqueue({200, appcast({{"2", ""}, {"3", "beta"}}), {}, ScriptedResponse::Behaviour::respond});
        service.checkForUpdates();
        QTRY_COMPARE(service.updateInfo()->displayVersion(), QStringLiteral("0.3.0"));

        // The running build itself is no update.
        feed.enqueue({200, appcast({{QStringLiteral(QUILLFEN_BUILD_FOR_TESTS), ""}}), {}, ScriptedResponse::Behaviour::respond});
        service.checkForUpdates();
        QTRY_VERIFY(!service.updateAvailable());
        QCOMPARE(service.updateInfo(), std::nullopt);
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

    void scheduleFollowsThePreference()
    {
        FakeGitHubServer feed;
        SparkleUpdaterService service;
        service.setFeedURLForTesting(feed.baseUrl() + QStringLiteral("/appcast.xml"));
        UpdateChecker *updater = service.updaterController();
        QVERIFY(!updater->isScheduled());

        Preferences::setAutomaticallyChecksForUpdates(true);
        service.configureUpdater();
        QVERIFY(updater->isScheduled());

        // A new channel re-applies the configuration and starts no check.
        QSignalSpy configured(&service, &SparkleUpdaterService::configured);
        Preferences::setAutomaticallyChecksForUpdates(false);
        service.setUpdateChannel(QStringLiteral("stable"));
        QTRY_COMPARE(configured.size(), 1);
        QVERIFY(!updater->isScheduled());
        QTest::qWait(200);
        QVERIFY(feed.requests().isEmpty());
        QVERIFY(!service.isCheckingForUpdates());
    }

private:
    QStringList diagnostics;
};

QTEST_GUILESS_MAIN(TestUpdater)
#include "tst_updater.moc"
