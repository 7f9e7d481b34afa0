#include "api/GitHubAPIClient.h"
#include "credentials/KeychainManager.h"
#include "platform/Autostart.h"
#include "platform/Diagnostics.h"
#include "platform/NoticeCenter.h"
#include "platform/PreferencesFile.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"
#include "views/settings/AccountsViewModel.h"
#include "views/settings/SettingsViewModel.h"
#include "updates/SparkleUpdaterService.h"

#include "FakeNotificationServer.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A stand-in GitHub CLI first on PATH: it records its arguments and answers
// what the test puts in QUILLFEN_TEST_GH_OUT, _ERR and _STATUS.
class StandInGitHubCli {
public:
    StandInGitHubCli() : m_path(qgetenv("PATH"))
    {
        QFile script(m_folder.filePath(u"gh"_s));
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\necho \"$@\" > \"$0.args\"\nprintf '%s' \"$QUILLFEN_TEST_GH_OUT\"\n"
                     "printf '%s' \"$QUILLFEN_TEST_GH_ERR\" >&2\nexit \"${QUILLFEN_TEST_GH_STATUS:-0}\"\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", m_folder.path().toUtf8() + ':' + m_path);
    }
    ~StandInGitHubCli() { qputenv("PATH", m_path); }

    void answer(const QByteArray &out, const QByteArray &error, int status)
    {
        qputenv("QUILLFEN_TEST_GH_OUT", out);
        qputenv("QUILLFEN_TEST_GH_ERR", error);
        qputenv("QUILLFEN_TEST_GH_STATUS", QByteArray::number(status));
    }
    QByteArray arguments() const
    {
        QFile args(m_folder.filePath(u"gh.args"_s));
        return args.open(QIODevice::ReadOnly) ? args.readAll().trimmed() : QByteArray();
    }

private:
    QTemporaryDir m_folder;
    QByteArray m_path;
};

} // namespace

class TestSettingsViewModel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Diagnostics::setSinkForTesting([this](const QString &line) { diagnostics << line; });
        // No update feed is reachable from here, and a feed that stalls is given up soon.
        SparkleUpdaterService::shared().setFeedURLForTesting(u"http://127.0.0.1:9/appcast.xml"_s);
        SparkleUpdaterService::shared().updaterController()->setIdleTimeoutForTesting(std::chrono::milliseconds(300));
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
        model.setUpdateChannel(u"beta"_s);
        QTRY_COMPARE(notices, (QVariantList{600, 600, QVariant()})); // the channel notice carries no value
        QCOMPARE(Preferences::refreshInterval(), 600);
        QCOMPARE(Preferences::updateChannel(), u"beta"_s);

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
        model.setTokenInput(u"  ghp_spaced  "_s);
        model.setShowToken(true);
        model.saveToken();
        QTRY_COMPARE(model.statusMessage(), u"Token saved successfully!"_s);
        QCOMPARE(std::get<std::optional<QString>>(KeychainManager::getToken()), u"  ghp_spaced  "_s);
        QTRY_VERIFY_WITH_TIMEOUT(model.tokenInput().isEmpty(), 4000);
        QVERIFY(!model.showToken());

        SettingsViewModel reopened;
        reopened.checkExistingToken();
        QTRY_COMPARE(reopened.statusMessage(), u"Token is currently saved in keychain"_s);
        QVERIFY(reopened.hasExistingToken());
        reopened.deleteToken();
        QTRY_VERIFY(!reopened.hasExistingToken());
        reopened.deleteToken(); // deleting what is gone succeeds too
        QTRY_COMPARE(reopened.statusMessage(), u"Token deleted successfully"_s);
    }

    void connectionTest()
    {
        FakeGitHubServer server;
        GitHubAPIClient::setBaseUrl(server.baseUrl());
        SettingsViewModel model;
        model.setTokenInput(u"ghp_candidate"_s);
        const std::pair<ScriptedResponse, QString> tests[] = {
            {answer(200, "{\"login\":\"octo\"}"), u"Connection successful! Token is valid."_s},
            {answer(401, "{\"message\":\"Bad credentials\"}"), u"Invalid token or insufficient permissions"_s},
        };
        for (const auto &[reply, message] : tests) {
            server.enqueue(reply);
            model.testConnection();
            QCOMPARE(model.statusMessage(), u"Testing connection..."_s);
            QTRY_VERIFY(!model.isTesting());
            QCOMPARE(model.statusMessage(), message);
            QCOMPARE(model.isSuccess(), reply.status == 200);
        }
        QCOMPARE(server.requests().at(0).target, "/user");
        QCOMPARE(server.requests().at(0).header("Authorization"), "Bearer ghp_candidate");
        QCOMPARE(std::get<std::optional<QString>>(KeychainManager::getToken()), std::nullopt); // testing stores nothing

        GitHubAPIClient::setBaseUrl(closedLoopbackUrl());
        model.testConnection();
        QTRY_VERIFY(!model.isTesting());
        QCOMPARE(model.statusMessage(), u"Connection failed: Connection refused"_s);
    }

    // The CLI's token is checked as a typed one is, and stored only when good.
    void gitHubCliToken_data()
    {
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("error");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("github");
        QTest::addColumn<QString>("message");
        QTest::newRow("signed in") << "ghp_from_cli\n"_ba
                                   << ""_ba << 0 << 200 << u"Token saved successfully!"_s;
        QTest::newRow("signed out") << ""_ba
                                    << "no oauth token found for github.com\n"_ba << 1 << 0
                                    << u"The GitHub CLI gave no token: no oauth token found for github.com"_s;
        QTest::newRow("refused by GitHub") << "ghp_from_cli"_ba
                                           << ""_ba << 0 << 401 << u"Invalid token or insufficient permissions"_s;
    }

    void gitHubCliToken()
    {
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, error);
        QFETCH(int, status);
        QFETCH(int, github);
        QFETCH(QString, message);
        StandInGitHubCli gh;
        gh.answer(out, error, status);
        FakeGitHubServer server;
        GitHubAPIClient::setBaseUrl(server.baseUrl());
        if (github)
            server.enqueue(answer(github, "{\"login\":\"octo\"}"));
        SettingsViewModel model;
        QVERIFY(model.gitHubCliInstalled());
        model.useGitHubCliToken();
        QTRY_COMPARE(model.statusMessage(), message);
        QCOMPARE(gh.arguments(), "auth token --hostname github.com");
        const bool stored = github == 200;
        QCOMPARE(std::get<std::optional<QString>>(KeychainManager::getToken()),
                 stored ? std::optional(u"ghp_from_cli"_s) : std::nullopt);
        QCOMPARE(server.requests().size(), qsizetype(github ? 1 : 0));
        if (github)
            QCOMPARE(server.requests().at(0).header("Authorization"), "Bearer ghp_from_cli");
    }

    // A further account's host is the one asked for; its token is checked
    // and stored as a typed one.
    void gitHubCliTokenForAnExtraAccount_data()
    {
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("signed in") << true;
        QTest::newRow("signed out") << false;
    }

    void gitHubCliTokenForAnExtraAccount()
    {
        QFETCH(bool, signedIn);
        FakeGitHubServer server;
        server.setHandler([](const RecordedRequest &request) {
            if (request.target == "/api/v3/user" && request.header("Authorization") == "Bearer ghp_cli_bob")
                return ScriptedResponse{200, R"({"login":"bob"})", {{"X-OAuth-Scopes", "repo, read:org, gist"}}};
            return answer(401, R"({"message":"Bad credentials"})");
        });
        const QString host = u"127.0.0.1:%1"_s.arg(server.port());
        StandInGitHubCli gh;
        gh.answer(signedIn ? "ghp_cli_bob\n" : "", signedIn ? "" : "not logged in\n", signedIn ? 0 : 1);
        AccountsViewModel accounts;
        accounts.setHostInput(u"http://"_s + host + u'/');
        accounts.addWithGitHubCliToken();
        QTRY_VERIFY(!accounts.statusMessage().isEmpty());
        QCOMPARE(accounts.statusMessage(),
                 signedIn ? u"Added bob on "_s + host : u"The GitHub CLI gave no token: not logged in"_s);
        QCOMPARE(gh.arguments(), "auth token --hostname " + host.toUtf8());
        QCOMPARE(accounts.isSuccess(), signedIn);
        QCOMPARE(server.requests().isEmpty(), !signedIn);
    }

    void permissionFollowsTheNotificationService()
    {
        SettingsViewModel model;
        QTRY_COMPARE(model.notificationPermissionStatus(), SettingsViewModel::PermissionStatus::Denied);
        model.setNotificationsEnabled(true);
        QTRY_VERIFY(!model.notificationsEnabled());

        // Asked again on enabling: the service has come since.
        FakeNotificationServer notifications;
        model.setNotificationsEnabled(true);
        QTRY_COMPARE(model.notificationPermissionStatus(), SettingsViewModel::PermissionStatus::Authorized);
        QTest::qWait(200);
        QVERIFY(model.notificationsEnabled());

        model.sendTestNotification();
        model.setNotificationSoundEnabled(true);
        model.sendTestNotification();
        QTRY_COMPARE(notifications.calls().size(), 2);
        QCOMPARE(notifications.calls()[0].body, u"Notifications are working correctly!"_s);
        QCOMPARE(notifications.calls()[0].hints.value("suppress-sound"), QVariant(true));
        // A server that plays no sounds: Quillfen's own bell rings. No sound
        // server in this session: the clip says why it is silent.
        QCOMPARE(notifications.calls()[1].hints.value("suppress-sound"), QVariant(true));
        QCOMPARE(diagnostics, QStringList{"Failed to play sound: no audio output device is available"});
    }

    void updateChecksSayWhatTheyFound()
    {
        FakeGitHubServer feed;
        SparkleUpdaterService::shared().setFeedURLForTesting(feed.baseUrl() + u"/appcast.xml"_s);
        // An appcast offering one build, %1, as version 9.%1.
        const QByteArray appcast =
            "<rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel>"
            "<item><sparkle:version>%1</sparkle:version><sparkle:shortVersionString>9.%1"
            "</sparkle:shortVersionString></item></channel></rss>";
        // What the server answers, and what the settings then say.
        const std::pair<ScriptedResponse, QString> checks[] = {
            {answer(200, QByteArray(appcast).replace("%1", QUILLFEN_BUILD_FOR_TESTS)), u"You're up to date!"_s},
            {answer(200, QByteArray(appcast).replace("%1", "999")), u"Update available: 9.999"_s},
            {answer(500, "oops"), u"Update check failed: HTTP 500"_s},
            {answer(200, "<html/>"), u"Update check failed: the update feed is unreadable: not an RSS feed"_s},
            {{200, {}, {}, ScriptedResponse::Behaviour::stall},
             u"Update check failed: The server did not answer for 0.3 s"_s},
        };
        SettingsViewModel model;
        for (const auto &[reply, message] : checks) {
            feed.enqueue(reply);
            model.checkForUpdates();
            QVERIFY(model.isCheckingForUpdates());
            QTRY_COMPARE(model.updateStatusMessageText(), message);
        }
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
        QVERIFY(entry().contains(u"Exec=\"%1\" --background\n"_s.arg(QCoreApplication::applicationFilePath())));

        // Installed: the installed entry's command.
        const QString applications = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
        QVERIFY(QDir().mkpath(applications));
        QFile installed(applications + u"/com.quillfen.app.desktop"_s);
        QVERIFY(installed.open(QIODevice::WriteOnly));
        installed.write("[Desktop Entry]\nName=Quillfen\nExec=/usr/bin/quillfen %U\n");
        installed.close();
        model.setStartAtLogin(true);
        QVERIFY(entry().contains(u"\nExec=/usr/bin/quillfen --background\n"_s));

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
