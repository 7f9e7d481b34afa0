#include "credentials/AccountTokens.h"
#include "credentials/KeyringCall.h"
#include "credentials/TokenState.h"
#include "settings/Accounts.h"
#include "settings/Preferences.h"
#include "store/NotificationsStore.h"

#include "FakeNotificationServer.h"
#include "ModelThreads.h"
#include "StandInSecretService.h"
#include "TestEnvironment.h"

#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using PromptAnswer = StandInSecretService::PromptAnswer;
using KeychainManager::Prompt;

namespace {

// The argument that makes this program the child that quits mid-read.
const char stuckChild[] = "--quit-with-a-stuck-call";

} // namespace

// A keyring that is locked, whose prompt is dismissed or never completes,
// against a stand-in Secret Service.
class TestLockedKeyring : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { KeyringCall::setDeadlineForTesting(std::chrono::milliseconds(1500)); }

    void init()
    {
        secrets.setItem("ghp_locked");
        secrets.setLocked(true);
    }

    // Only a read the user asked for shows the unlock prompt.
    void lockedIsItsOwnState_data()
    {
        QTest::addColumn<Prompt>("prompt");
        QTest::addColumn<PromptAnswer>("answer");
        QTest::addColumn<TokenState::Status>("status");
        QTest::addColumn<QString>("description");
        const QString locked = QStringLiteral("The keyring is locked");
        QTest::newRow("dismissed") << Prompt::allowed << PromptAnswer::dismiss << TokenState::Status::Locked << locked;
        QTest::newRow("never completes") << Prompt::allowed << PromptAnswer::never << TokenState::Status::Unavailable
                                         << QStringLiteral("The keyring is not answering");
        // After the row above: a later read is not held up by the one still stuck.
        QTest::newRow("unlocked") << Prompt::allowed << PromptAnswer::unlock << TokenState::Status::Stored << QString();
        QTest::newRow("not asked for") << Prompt::never << PromptAnswer::unlock << TokenState::Status::Locked << locked;
    }

    void lockedIsItsOwnState()
    {
        QFETCH(Prompt, prompt);
        QFETCH(PromptAnswer, answer);
        secrets.setPromptAnswer(answer);
        const int prompts = secrets.promptsShown();
        QSignalSpy read(&TokenState::shared(), &TokenState::readFinished);
        TokenState::shared().reload(prompt);
        QVERIFY(read.wait(20000));
        QTEST(TokenState::shared().status(), "status");
        QTEST(TokenState::shared().errorDescription(), "description");
        QCOMPARE(secrets.promptsShown(), prompts + (prompt == Prompt::allowed ? 1 : 0));
    }

    void aLockKeepsTheWorkAndAnUnlockResumesIt_data()
    {
        QTest::addColumn<bool>("first");
        QTest::newRow("first") << true;
        QTest::newRow("enterprise") << false;
    }

    // Locked mid-session, the first account's item or another's on an
    // Enterprise Server (an Enterprise-only user's): the threads stay,
    // nothing is sent, a mark-read waits; unlocked, it goes out and the
    // fetch merges into the kept list.
    void aLockKeepsTheWorkAndAnUnlockResumesIt()
    {
        QFETCH(bool, first);
        FakeGitHubServer server;
        useFakeGitHub(server);
        FakeNotificationServer notifications;
        Preferences::setNotificationsEnabled(true);
        const QString host = QStringLiteral("127.0.0.1:%1").arg(server.port());
        const QString account = first ? QString() : host + QStringLiteral("/bob/");
        const QByteArray prefix = first ? QByteArray() : "/api/v3";
        if (!first) {
            secrets.setItem({});
            secrets.setItem("ghp_second", AccountTokens::itemName(host, QStringLiteral("bob")).toUtf8());
            QVERIFY(Accounts::add({host, QStringLiteral("bob")}));
        }
        secrets.setLocked(false);
        server.enqueue(listAnswer({{"1"}, {"2"}}));
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 2);

        secrets.setLocked(true); // the desktop locked it: the store hears of it
        QTRY_COMPARE(store.tokenStatus(), TokenState::Status::Locked);
        QVERIFY(!store.timersRunning());
        store.toggleRead(account + u'1');
        store.requestRefresh();
        QTest::qWait(300);
        QCOMPARE(server.requests().size(), 1);
        QCOMPARE(ids(store.items()), (QStringList{"1", "2"}));
        QVERIFY(!store.hasError());

        secrets.setPromptAnswer(PromptAnswer::unlock);
        server.setHandler([](const RecordedRequest &request) {
            return request.method == "PATCH" ? answer(205) : listAnswer({{"3"}, {"1"}, {"2"}});
        });
        store.unlockKeyring();
        QTRY_COMPARE(store.tokenStatus(), TokenState::Status::Stored);
        QTRY_COMPARE(ids(store.items()), (QStringList{"3", "1", "2"}));
        QTRY_VERIFY(std::any_of(server.requests().begin(), server.requests().end(), [&](const RecordedRequest &r) {
            return r.method + ' ' + r.target == "PATCH " + prefix + "/notifications/threads/1";
        }));
        QCOMPARE(ids(store.items(), [](const GHNotification &t) { return t.unread; }), (QStringList{"3", "2"}));
        QTRY_COMPARE(notifications.calls().size(), 1);
    }

    void aSaveWaitsForItsPromptWithoutFreezing()
    {
        secrets.setPromptAnswer(PromptAnswer::unlock, 800);
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] { ++ticks; });
        tick.start(50);
        QCOMPARE(QCoro::waitFor(KeychainManager::storeToken(QStringLiteral("ghp_saved"))), std::nullopt);
        QCOMPARE(secrets.secret(), "ghp_saved");
        QVERIFY(ticks >= 5);
    }

    void quittingDoesNotWaitForAStuckCall()
    {
        secrets.setPromptAnswer(PromptAnswer::never);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        const int prompts = secrets.promptsShown();
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(stuckChild)});
        // This process answers the child's keyring calls while it waits.
        QTRY_VERIFY_WITH_TIMEOUT(child.state() == QProcess::NotRunning, 15000);
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(secrets.promptsShown(), prompts + 1);
    }

private:
    StandInSecretService secrets;
};

int main(int argc, char *argv[])
{
    // The child: quits while its read waits on a prompt that never ends.
    if (argc == 2 && qstrcmp(argv[1], stuckChild) == 0) {
        QCoreApplication app(argc, argv);
        TokenState::shared().reload(Prompt::allowed);
        QTimer::singleShot(std::chrono::seconds(1), &app, &QCoreApplication::quit);
        return QCoreApplication::exec();
    }
    QGuiApplication app(argc, argv);
    TestLockedKeyring test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_locked_keyring.moc"
