#include "credentials/KeychainManager.h"
#include "settings/Preferences.h"
#include "store/NotificationsStore.h"

#include "TestEnvironment.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QTest>

using Behaviour = ScriptedResponse::Behaviour;

// The store's pace against a fake GitHub: when polls go out, and what the
// countdown says about it.
class TestPolling : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        server = std::make_unique<FakeGitHubServer>();
        useFakeGitHub(*server);
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_polling")), std::nullopt);
        clock.start();
        arrivals.clear();
        connect(server.get(), &FakeGitHubServer::requestReceived, this, [this] { arrivals.append(clock.elapsed()); });
    }

    void pollsKeepToTheServersIntervalAndTheCountdownSaysWhen()
    {
        Preferences::setRefreshInterval(1);
        server->setHandler([](const RecordedRequest &) {
            return ScriptedResponse{200, threadsBody({{"1"}}), {{"X-Poll-Interval", "2"}}, Behaviour::respond};
        });
        NotificationsStore store;
        // GitHub's 2 s, not the user's 1 s.
        QTRY_COMPARE(store.secondsUntilRefresh(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(arrivals.size() >= 2, 5000);
        QCOMPARE_GE(arrivals[1] - arrivals[0], 1900);

        // A refresh the user asks for re-arms the timer: the next poll comes
        // a whole period after it, as the countdown says.
        QTest::qWait(700);
        store.requestRefresh();
        QTRY_VERIFY(arrivals.size() == 3 && !store.isRefreshing());
        QCOMPARE(store.secondsUntilRefresh(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(arrivals.size() >= 4, 5000);
        QCOMPARE_GE(arrivals[3] - arrivals[2], 1900);
        QCOMPARE_LE(arrivals[3] - arrivals[2], 2600);
    }

    void aPauseHoldsThePollsAndRefusesActions()
    {
        Preferences::setRefreshInterval(1);
        server->enqueue({200, threadsBody({{"1"}}), {}, Behaviour::respond});
        server->enqueue({429, {}, {{"Retry-After", "3"}}, Behaviour::respond});
        NotificationsStore store;
        QTRY_COMPARE(store.items().size(), 1);
        // The line says that Quillfen waits, and until when.
        QTRY_VERIFY(store.lastError() && store.lastError()->startsWith(QStringLiteral("GitHub asked for a pause")));
        QVERIFY(store.secondsUntilRefresh() >= 2);
        store.dismissError();

        // An action fails at once, without reaching GitHub.
        store.toggleRead(QStringLiteral("1"));
        QTRY_VERIFY(store.lastError()->startsWith(QStringLiteral("GitHub asked for a pause")));
        QVERIFY(store.items().first().unread);
        QCOMPARE(arrivals.size(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(arrivals.size() >= 3, 6000);
        QCOMPARE_GE(arrivals[2] - arrivals[1], 2900);
    }

    void aResumeRefreshesUnlessGitHubAskedForTime()
    {
        Preferences::setRefreshInterval(300);
        server->setHandler([](const RecordedRequest &) {
            return ScriptedResponse{200, threadsBody({{"1"}}), {{"X-Poll-Interval", "1"}}, Behaviour::respond};
        });
        NotificationsStore store;
        QTRY_VERIFY(arrivals.size() == 1 && !store.isRefreshing());

        // logind, on the stand-in system bus, tells of a resume.
        QVERIFY(QDBusConnection::systemBus().registerService(QStringLiteral("org.freedesktop.login1")));
        const QDBusMessage resumed = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                                QStringLiteral("org.freedesktop.login1.Manager"),
                                                                QStringLiteral("PrepareForSleep"))
                                     << false;
        // Within GitHub's poll interval: a poll when it ends, not in five minutes.
        QVERIFY(QDBusConnection::systemBus().send(resumed));
        QTRY_COMPARE_WITH_TIMEOUT(arrivals.size(), 2, 3000);
        QCOMPARE_GE(arrivals[1] - arrivals[0], 950);
        QTRY_VERIFY(!store.isRefreshing());
        QCOMPARE(arrivals.size(), 2);
    }

private:
    std::unique_ptr<FakeGitHubServer> server;
    QElapsedTimer clock;
    QList<qint64> arrivals;
};

QTEST_GUILESS_MAIN(TestPolling)
#include "tst_polling.moc"
