#include "api/GitHubAPIClient.h"
#include "credentials/KeychainManager.h"
#include "credentials/TokenState.h"
#include "platform/Autostart.h"
#include "platform/Diagnostics.h"
#include "platform/NoticeCenter.h"
#include "platform/PreferencesFile.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"
#include "views/settings/SettingsViewModel.h"
#include "updates/SparkleUpdaterService.h"

#include "FakeNotificationServer.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using Permission = SettingsViewModel::PermissionStatus;

class TestSettingsViewModel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Diagnostics::setSinkForTesting([this](const QString &line) { diagnostics << line; });
        // No update feed is reachable from here.
        SparkleUpdaterService::shared().setFeedURLForTesting(QStringLiteral("http://127.0.0.1:9/appcast.xml"));
    }

    void init()
    {
        QFile::remove(PreferencesFile::path());
        QCOMPARE(KeychainManager::deleteToken(), std::nullopt);
        diagnostics.clear();
    }

    void assignmentsWriteAndAnnounce()
    {
        QVariantList notices;
        QObject observer;
        for (const char *name : {Notices::refreshIntervalChanged, Notices::updateChannelChanged})
            NoticeCenter::instance().observe(QString::fromLatin1(name), &observer,
                                             [&](const QVariant &value) { notices << value; });
        SettingsViewModel model;
        QVERIFY(!QFile::exists(PreferencesFile::path())); // opening writes nothing

        // Every assignment is written and announced, the same value too.
        model.setRefreshInterval(600);
        model.setRefreshInterval(600);
        model.setUpdateChannel(QStringLiteral("beta"));
        QTRY_COMPARE(notices, (QVariantList{600, 600, QVariant()})); // the channel notice carries no value
        QCOMPARE(Preferences::refreshInterval(), 600);
        QCOMPARE(Preferences::updateChannel(), QStringLiteral("beta"));

        model.setAutomaticallyCheckForUpdates(true);
        QVERIFY(SparkleUpdaterService::shared().updaterController()->isScheduled());
        model.setAutomaticallyCheckForUpdates(false);
        QVERIFY(!SparkleUpdaterService::shared().updaterController()->isScheduled());
    }

    void tokenOperations()
    {
        SettingsViewModel model;
        model.saveToken();
        model.testConnection();
        QVERIFY(!model.hasStatusMessage()); // nothing typed, nothing done

        // Saved as typed, spaces too; the field empties and hides a moment later.
        model.setTokenInput(QStringLiteral("  ghp_spaced  "));
        model.setShowToken(true);
        model.saveToken();
        QTRY_COMPARE(model.statusMessage(), QStringLiteral("Token saved successfully!"));
        QCOMPARE(std::get<std::optional<QString>>(KeychainManager::getToken()), QStringLiteral("  ghp_spaced  "));
        QTRY_VERIFY_WITH_TIMEOUT(model.tokenInput().isEmpty(), 4000);
        QVERIFY(!model.showToken());

        SettingsViewModel reopened;
        reopened.checkExistingToken();
        QTRY_COMPARE(reopened.statusMessage(), QStringLiteral("Token is currently saved in keychain"));
        QVERIFY(reopened.hasExistingToken());
        reopened.deleteToken();
        QTRY_VERIFY(!reopened.hasExistingToken());
        reopened.deleteToken(); // deleting what is gone succeeds too
        QTRY_COMPARE(reopened.statusMessage(), QStringLiteral("Token deleted successfully"));
    }

    void connectionTest()
    {
        FakeGitHubServer server;
        GitHubAPIClient::setBaseUrl(server.baseUrl());
        SettingsViewModel model;
        model.setTokenInput(QStringLiteral("ghp_candidate"));
        const struct {
            ScriptedResponse answer;
            QString message;
        } tests[] = {
            {answer(200, "{\"login\":\"octo\"}"), QStringLiteral("Connection successful! Token is valid.")},
            {answer(401, "{\"message\":\"Bad credentials\"}"),
             QStringLiteral("Invalid token or insufficient permissions")},
        };
        for (const auto &test : tests) {
            server.enqueue(test.answer);
            model.testConnection();
            QCOMPARE(model.statusMessage(), QStringLiteral("Testing connection..."));
            QTRY_VERIFY(!model.isTesting());
            QCOMPARE(model.statusMessage(), test.message);
            QCOMPARE(model.isSuccess(), test.answer.status == 200);
        }
        QCOMPARE(server.requests().at(0).target, "/user");
        QCOMPARE(server.requests().at(0).header("Authorization"), "Bearer ghp_candidate");
        QCOMPARE(std::get<std::optional<QString>>(KeychainManager::getToken()), std::nullopt); // testing stores nothing

        GitHubAPIClient::setBaseUrl(closedLoopbackUrl());
        model.testConnection();
        QTRY_VERIFY(!model.isTesting());
        QCOMPARE(model.statusMessage(), QStringLiteral("Connection failed: Connection refused"));
    }

    void permissionFollowsTheNotificationService()
    {
        {
            SettingsViewModel model;
            QTRY_COMPARE(model.notificationPermissionStatus(), Permission::Denied);
            model.setNotificationsEnabled(true);
            QTRY_VERIFY(!model.notificationsEnabled());
        }
        FakeNotificationServer notifications;
        SettingsViewModel model;
        QTRY_COMPARE(model.notificationPermissionStatus(), Permission::Authorized);
        model.setNotificationsEnabled(true);
        QTest::qWait(200);
        QVERIFY(model.notificationsEnabled());

        model.sendTestNotification();
        model.setNotificationSoundEnabled(true);
        model.sendTestNotification();
        QTRY_COMPARE(notifications.calls().size(), 2);
        QCOMPARE(notifications.calls()[0].body, QStringLiteral("Quillfen\nNotifications are working correctly!"));
        QCOMPARE(notifications.calls()[0].hints.value("suppress-sound"), QVariant(true));
        QCOMPARE(notifications.calls()[1].hints.value("sound-name"), QVariant(QStringLiteral("message-new-instant")));
        // No sound server in this session: the clip says why it is silent.
        QCOMPARE(diagnostics, QStringList{"Failed to play sound: no audio output device is available"});
    }

    void updateChecksSayWhatTheyFound()
    {
        FakeGitHubServer feed;
        SparkleUpdaterService::shared().setFeedURLForTesting(feed.baseUrl() + QStringLiteral("/appcast.xml"));
        const auto item = [](const QByteArray &build) {
            return answer(200,
                          "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
                          "<channel><item><sparkle:version>"
                              + build + "</sparkle:version><sparkle:shortVersionString>9." + build
                              + "</sparkle:shortVersionString></item></channel></rss>");
        };
        const struct {
            ScriptedResponse answer;
            QString message;
        } checks[] = {
            {item(QUILLFEN_BUILD_FOR_TESTS), QStringLiteral("You're up to date!")},
            {item("999"), QStringLiteral("Update available: 9.999")},
            {answer(500, "oops"), QStringLiteral("Update check failed: HTTP 500")},
            {answer(200, "<html/>"),
             QStringLiteral("Update check failed: the update feed is unreadable: not an RSS feed")},
            {{200, {}, {}, ScriptedResponse::Behaviour::stall},
             QStringLiteral("Update check failed: Operation canceled")},
        };
        SparkleUpdaterService::shared().updaterController()->setIdleTimeoutForTesting(std::chrono::milliseconds(300));
        SettingsViewModel model;
        for (const auto &check : checks) {
            feed.enqueue(check.answer);
            model.checkForUpdates();
            QVERIFY(model.isCheckingForUpdates());
            QTRY_COMPARE(model.updateStatusMessageText(), check.message);
        }
        SparkleUpdaterService::shared().updaterController()->setIdleTimeoutForTesting(std::chrono::seconds(60));
    }

    void startAtLoginWritesTheAutostartEntry()
    {
        SettingsViewModel model;
        const auto entry = [] {
            QFile file(Autostart::entryPath());
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        // Run from its build folder: that build, quietly in the tray.
        model.setStartAtLogin(true);
        QVERIFY(entry().contains(
            QStringLiteral("Exec=\"%1\" --background\n").arg(QCoreApplication::applicationFilePath())));

        // Installed: the installed entry's command.
        const QString applications = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
        QVERIFY(QDir().mkpath(applications));
        QFile installed(applications + QStringLiteral("/com.quillfen.app.desktop"));
        QVERIFY(installed.open(QIODevice::WriteOnly));
        installed.write("[Desktop Entry]\nName=Quillfen\nExec=/usr/bin/quillfen %U\n");
        installed.close();
        model.setStartAtLogin(true);
        QVERIFY(entry().contains(QStringLiteral("\nExec=/usr/bin/quillfen --background\n")));

        model.setStartAtLogin(false);
        QVERIFY(!model.startAtLogin());
        QVERIFY(!QFile::exists(Autostart::entryPath()));
        installed.remove();
    }

private:
    QStringList diagnostics;
};

QTEST_MAIN(TestSettingsViewModel)
#include "tst_settings_view_model.moc"
