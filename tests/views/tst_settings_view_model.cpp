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

#include "BrowserRecorder.h"
#include "FakeGitHubServer.h"
#include "FakeNotificationServer.h"
#include "TestEnvironment.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using Permission = SettingsViewModel::PermissionStatus;
using Behaviour = ScriptedResponse::Behaviour;

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

    void creationReadsAndWritesNothing()
    {
        QFile::remove(PreferencesFile::path());
        {
            SettingsViewModel model;
            QCOMPARE(model.refreshInterval(), 300);
            QVERIFY(!model.notificationsEnabled());
            QCOMPARE(model.updateChannel(), QStringLiteral("stable"));
            QCOMPARE(model.notificationPermissionStatus(), Permission::NotDetermined);
            QCOMPARE(model.currentVersion(), SparkleUpdaterService::shared().currentVersion());
        }
        QVERIFY(!QFile::exists(PreferencesFile::path()));
    }

    void everyAssignmentWritesAndAnnounces()
    {
        SettingsViewModel model;
        QList<QPair<QString, QVariant>> notices;
        QObject observer;
        for (const char *name : {Notices::refreshIntervalChanged, Notices::updateChannelChanged}) {
            const QString notice = QString::fromLatin1(name);
            NoticeCenter::instance().observe(notice, &observer, [&, notice](const QVariant &value) { notices.append({notice, value}); });
        }
        model.setRefreshInterval(600);
        model.setRefreshInterval(600);
        QTRY_COMPARE(notices.size(), 2);
        QCOMPARE(notices[0], (QPair<QString, QVariant>{"refreshIntervalChanged", 600}));
        QCOMPARE(Preferences::refreshInterval(), 600);

        model.setUpdateChannel(QStringLiteral("beta"));
        QTRY_COMPARE(notices.size(), 3);
        QCOMPARE(notices[2].first, QStringLiteral("updateChannelChanged"));
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
        QVERIFY(!model.hasStatusMessage());

        model.checkExistingToken();
        QSignalSpy answered(&TokenState::shared(), &TokenState::readFinished);
        QVERIFY(answered.wait());
        QVERIFY(!model.hasExistingToken());
        QVERIFY(!model.hasStatusMessage());

        model.setTokenInput(QStringLiteral("  ghp_spaced  "));
        model.setShowToken(true);
        model.saveToken();
        QCOMPARE(model.statusMessage(), QStringLiteral("Token saved successfully!"));
        QVERIFY(model.isSuccess());
        QVERIFY(model.hasExistingToken());
        QCOMPARE(std::get<std::optional<QString>>(KeychainManager::getToken()), QStringLiteral("  ghp_spaced  "));
        QTRY_VERIFY_WITH_TIMEOUT(model.tokenInput().isEmpty(), 4000);
        QVERIFY(!model.showToken());

        SettingsViewModel reopened;
        reopened.checkExistingToken();
        QTRY_COMPARE(reopened.statusMessage(), QStringLiteral("Token is currently saved in keychain"));
        QVERIFY(reopened.hasExistingToken());
        QVERIFY(reopened.tokenInput().isEmpty());

        reopened.deleteToken();
        QCOMPARE(reopened.statusMessage(), QStringLiteral("Token deleted successfully"));
        QVERIFY(!reopened.hasExistingToken());
        reopened.deleteToken();
        QCOMPARE(reopened.statusMessage(), QStringLiteral("Token deleted successfully"));
    }

    void connectionTest()
    {
        FakeGitHubServer server;
        GitHubAPIClient::setBaseUrl(server.baseUrl());
        SettingsViewModel model;
        model.setTokenInput(QStringLiteral("ghp_candidate"));

        server.enqueue({200, "{\"login\":\"octo\"}", {}, Behaviour::respond});
        model.testConnection();
        QVERIFY(model.isTesting());
        QCOMPARE(model.statusMessage(), QStringLiteral("Testing connection..."));
        QTRY_VERIFY(!model.isTesting());
        QCOMPARE(model.statusMessage(), QStringLiteral("Connection successful! Token is valid."));
        QVERIFY(model.isSuccess());
        QCOMPARE(server.requests().at(0).target, "/user");
        QCOMPARE(server.requests().at(0).header("Authorization"), "Bearer ghp_candidate");
        // Testing does not store anything.
        QCOMPARE(std::get<std::optional<QString>>(KeychainManager::getToken()), std::nullopt);

        server.enqueue({401, "{\"message\":\"Bad credentials\"}", {}, Behaviour::respond});
        model.testConnection();
        QTRY_VERIFY(!model.isTesting());
        QCOMPARE(model.statusMessage(), QStringLiteral("Invalid token or insufficient permissions"));
        QVERIFY(!model.isSuccess());

        GitHubAPIClient::setBaseUrl(closedLoopbackUrl());
        model.testConnection();
        QTRY_VERIFY(!model.isTesting());
        QCOMPARE(model.statusMessage(), QStringLiteral("Connection failed: Connection refused"));
        QVERIFY(!model.statusMessage()->contains(QStringLiteral("ghp_candidate")));
    }

    void permissionFollowsTheNotificationService()
    {
        {
            SettingsViewModel model;
            QTRY_COMPARE(model.notificationPermissionStatus(), Permission::Denied);
            model.setNotificationsEnabled(true);
            QTRY_VERIFY(!model.notificationsEnabled());
            QCOMPARE(Preferences::notificationsEnabled(), false);
        }
        FakeNotificationServer notifications;
        SettingsViewModel model;
        QTRY_COMPARE(model.notificationPermissionStatus(), Permission::Authorized);
        model.setNotificationsEnabled(true);
        QTest::qWait(200);
        QVERIFY(model.notificationsEnabled());
        QCOMPARE(Preferences::notificationsEnabled(), true);

        model.sendTestNotification();
        QTRY_COMPARE(notifications.calls().size(), 1);
        QCOMPARE(notifications.calls()[0].summary, QStringLiteral("Test Notification"));
        QCOMPARE(notifications.calls()[0].body, QStringLiteral("Quillfen\nNotifications are working correctly!"));
        QCOMPARE(notifications.calls()[0].hints.value("suppress-sound"), QVariant(true));

        model.setNotificationSoundEnabled(true);
        model.sendTestNotification();
        QTRY_COMPARE(notifications.calls().size(), 2);
        QCOMPARE(notifications.calls()[1].hints.value("sound-name"), QVariant(QStringLiteral("message-new-instant")));
        // No sound server in this session: the clip says why it is silent.
        QCOMPARE(diagnostics, QStringList{"Failed to play sound: no audio output device is available"});
    }

    void updateChecksSayWhatTheyFound()
    {
        FakeGitHubServer feed;
        SparkleUpdaterService::shared().setFeedURLForTesting(feed.baseUrl() + QStringLiteral("/appcast.xml"));
        const auto item = [](const QByteArray &build) {
            return "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel><item>"
                   "<sparkle:version>" + build + "</sparkle:version><sparkle:shortVersionString>9." + build
                   + "</sparkle:shortVersionString></item></channel></rss>";
        };
        const struct {
            ScriptedResponse answer;
            QString message;
        } checks[] = {
            {{200, item(QUILLFEN_BUILD_FOR_TESTS), {}, ScriptedResponse::Behaviour::respond}, QStringLiteral("You're up to date!")},
            {{200, item("999"), {}, ScriptedResponse::Behaviour::respond}, QStringLiteral("Update available: 9.999")},
            {{500, "oops", {}, ScriptedResponse::Behaviour::respond}, QStringLiteral("Update check failed: HTTP 500")},
            {{200, "<html/>", {}, ScriptedResponse::Behaviour::respond}, QStringLiteral("Update check failed: the update feed is unreadable: not an RSS feed")},
            {{200, {}, {}, ScriptedResponse::Behaviour::stall}, QStringLiteral("Update check failed: Operation canceled")},
        };
        SparkleUpdaterService::shared().updaterController()->setIdleTimeoutForTesting(std::chrono::milliseconds(300));
        SettingsViewModel model;
        for (const auto &check : checks) {
            feed.enqueue(check.answer);
            model.checkForUpdates();
            QVERIFY(model.isCheckingForUpdates());
            QCOMPARE(model.updateStatusMessageText(), QStringLiteral("Checking\u2026"));
            QTRY_VERIFY(!model.isCheckingForUpdates());
            QTRY_COMPARE(model.updateStatusMessageText(), check.message);
        }
        SparkleUpdaterService::shared().updaterController()->setIdleTimeoutForTesting(std::chrono::seconds(60));
    }

    void startAtLoginWritesTheAutostartEntry()
    {
        SettingsViewModel model;
        QVERIFY(!model.startAtLogin());
        const auto entry = [] {
            QFile file(Autostart::entryPath());
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        // Run from its build folder: that build, quietly in the tray.
        model.setStartAtLogin(true);
        QVERIFY(model.startAtLogin());
        QVERIFY(entry().contains(QStringLiteral("Exec=\"%1\" --background\n").arg(QCoreApplication::applicationFilePath())));

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

    void opensTheTokenPage()
    {
        SettingsViewModel model;
        model.openTokenPage();
        QCOMPARE(browser.opened.last(),
                 QUrl(QStringLiteral("https://github.com/settings/tokens/new?scopes=notifications&description=Quillfen")));
    }

private:
    BrowserRecorder browser;
    QStringList diagnostics;
};

QTEST_MAIN(TestSettingsViewModel)
#include "tst_settings_view_model.moc"
