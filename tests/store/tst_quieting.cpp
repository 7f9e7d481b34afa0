#include "credentials/KeychainManager.h"
#include "platform/DoNotDisturb.h"
#include "platform/PreferencesFile.h"
#include "platform/StateFile.h"
#include "settings/Preferences.h"
#include "store/NotificationsStore.h"

#include "FakeNotificationServer.h"
#include "ModelThreads.h"
#include "TestEnvironment.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Action = AlertRules::Action;
Q_DECLARE_METATYPE(AlertRules::Action)

namespace {

QDateTime local(int day, int hour, int minute = 0)
{
    // 2024-05-06 is a Monday.
    return QDateTime(QDate(2024, 5, 5 + day), QTime(hour, minute));
}

// The first rule that matches decides; elements that are not rules are skipped.
const char rules[] = "[{\"repository\": \"octo/*\", \"reason\": \"ci_activity\", \"action\": \"hide\"},"
                     "{\"repository\": \"octo/hooks\", \"action\": \"silent\"},"
                     "{\"repository\": \"octo/*\", \"action\": \"show\"},"
                     "{\"repository\": \"<script>/\\u0000\", \"action\": \"hide\"},"
                     "{\"repository\": \"Octo/Hooks\", \"action\": \"hide\"},"
                     "{\"repository\": \"big/mono\", \"host\": \"ghe.example.com\", \"action\": \"hide\"},"
                     "{\"repository\": \"big/*\", \"action\": \"silent\"},"
                     "{\"repository\": \"x/y\", \"action\": \"loud\"}, 7, {\"action\": \"hide\"}]";

} // namespace

// Rules, snoozes and quiet hours: what is listed, counted and alerted.
class TestQuieting : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        server = std::make_unique<FakeGitHubServer>();
        useFakeGitHub(*server);
        QFile::remove(StateFile::path());
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_quiet")), std::nullopt);
        Preferences::setNotificationsEnabled(true);
    }

    void rulesDecide_data()
    {
        QTest::addColumn<QString>("repository");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<Action>("action");
        QTest::newRow("silent") << u"octo/hooks"_s << u"mention"_s << Action::silent;
        QTest::newRow("case ignored") << u"OCTO/HOOKS"_s << u"mention"_s << Action::silent;
        QTest::newRow("reason, wildcard owner") << u"octo/hooks"_s << u"ci_activity"_s << Action::hide;
        QTest::newRow("first match wins") << u"octo/api"_s << u"mention"_s << Action::show;
        QTest::newRow("other host") << u"big/mono"_s << u"mention"_s << Action::silent;
        QTest::newRow("no rule") << u"x/y"_s << u"mention"_s << Action::show;
    }

    void rulesDecide()
    {
        QFETCH(QString, repository);
        QFETCH(QString, reason);
        QFETCH(Action, action);
        PreferencesFile::setValue(QString::fromLatin1(AlertRules::preferenceKey), QString::fromLatin1(rules));
        GHNotification thread = modelThread("1", true, 0, "T", repository.toUtf8().constData());
        thread.reasonRaw = reason;
        QCOMPARE(AlertRules::actionFor(AlertRules::current().rules, thread), action);
    }

    void unreadableRulesCountAsNoneAndAreKeptAside()
    {
        const QString unreadable = u"{\"repository\": \"x/y\", \"action\": \"hide\"}"_s;
        PreferencesFile::setValue(QString::fromLatin1(AlertRules::preferenceKey), unreadable);
        QVERIFY(AlertRules::current().rules.isEmpty());
        AlertRules::addRepositoryRule(u"octo/hooks"_s, Action::hide);
        QCOMPARE(PreferencesFile::value(QString::fromLatin1(AlertRules::unreadableKey)).toString(), unreadable);
        QCOMPARE(AlertRules::current().rules,
                 (QList<AlertRules::Rule>{{.repository = "octo/hooks", .action = Action::hide}}));
    }

    void hiddenAreNotCountedSilentDoNotAlert()
    {
        FakeNotificationServer notifications;
        server->enqueue(listAnswer({{"1"}, {.id = "2", .fullName = "octo/quiet"}}));
        NotificationsStore store;
        QTRY_COMPARE(store.unreadCount(), 2);
        // Taken from a row: its repository, on every host while there is one account.
        store.hideRepository(u"1"_s);
        store.muteRepositoryAlerts(u"2"_s);
        QTRY_COMPARE(store.unreadCount(), 1);
        QCOMPARE(ids(store.filteredItems()), QStringList{"2"});
        QCOMPARE(AlertRules::current().rules,
                 (QList<AlertRules::Rule>{{.repository = "octo/quiet", .action = Action::silent},
                                          {.repository = "octo/hooks", .action = Action::hide}}));

        server->enqueue(listAnswer({{"1"},
                                    {.id = "2", .fullName = "octo/quiet"},
                                    {.id = "3", .fullName = "octo/hooks"},
                                    {.id = "4", .fullName = "octo/quiet"}}));
        QCoro::waitFor(store.refresh());
        QCOMPARE(ids(store.filteredItems()), (QStringList{"2", "4"}));
        QCOMPARE(store.unreadCount(), 2);
        QTest::qWait(200);
        QVERIFY(notifications.calls().isEmpty());
    }

    void snoozedThreadsReturnOnUpdateOrTime()
    {
        FakeNotificationServer notifications;
        server->enqueue(listAnswer({{"1"}, {"2"}}));
        NotificationsStore store;
        QDateTime now = local(1, 9);
        store.snoozes().setClock([&] { return now; });
        QTRY_COMPARE(store.unreadCount(), 2);
        store.snooze(u"1"_s, int(Snoozes::Length::untilUpdated));
        store.snooze(u"2"_s, int(Snoozes::Length::hour));
        QCOMPARE(store.unreadCount(), 0);
        // Kept across a restart.
        Snoozes restarted;
        restarted.setClock([&] { return now; });
        QVERIFY(restarted.isSnoozed(store.items().at(0)) && restarted.isSnoozed(store.items().at(1)));

        // The same update keeps them away; a later one brings the thread back with an alert.
        server->enqueue(listAnswer({{"1"}, {"2"}}));
        QCoro::waitFor(store.refresh());
        QCOMPARE(store.unreadCount(), 0);
        server->enqueue(listAnswer({{.id = "1", .updatedAt = "2024-05-02T08:00:00Z", .title = "Again"}, {"2"}}));
        QCoro::waitFor(store.refresh());
        QCOMPARE(ids(store.filteredItems()), QStringList{"1"});
        QTRY_COMPARE(notifications.calls().size(), 1);
        QCOMPARE(notifications.calls().at(0).summary, u"Again"_s);

        // The hour ends on the minute, with an alert.
        now = now.addSecs(59 * 60);
        store.snoozes().expire();
        QCOMPARE(store.unreadCount(), 1);
        now = now.addSecs(60);
        store.snoozes().expire();
        QCOMPARE(store.unreadCount(), 2);
        QTRY_COMPARE(notifications.calls().size(), 2);

        QCOMPARE(Snoozes::endOf(Snoozes::Length::tomorrowMorning, local(1, 23)), local(2, 8));
        QCOMPARE(Snoozes::endOf(Snoozes::Length::nextWeek, local(7, 12)), local(8, 8));
    }

    void quietHoursCrossMidnight_data()
    {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<bool>("quiet");
        // 22:00 to 07:00 on Friday and Saturday nights.
        QTest::newRow("Friday before") << local(5, 21, 59) << false;
        QTest::newRow("Friday night") << local(5, 22) << true;
        QTest::newRow("Saturday early") << local(6, 6, 59) << true;
        QTest::newRow("Saturday morning") << local(6, 7) << false;
        QTest::newRow("Sunday early") << local(7, 3) << true;
        QTest::newRow("Sunday night") << local(7, 23) << false;
        QTest::newRow("Monday early") << local(1, 3) << false;
    }

    void quietHoursCrossMidnight()
    {
        QFETCH(QDateTime, time);
        QFETCH(bool, quiet);
        const QuietHours::Window window{.enabled = true, .from = QTime(22, 0), .to = QTime(7, 0), .days = {5, 6}};
        QCOMPARE(QuietHours::contains(window, time), quiet);
    }

    void quietTimeEndsWithOneSummary()
    {
        FakeNotificationServer notifications;
        QuietHours::write({.enabled = true, .from = QTime(22, 0), .to = QTime(7, 0)});
        server->enqueue(listAnswer({{"1"}}));
        NotificationsStore store;
        QDateTime now = local(3, 23);
        store.quietHours().setClock([&] { return now; });
        QTRY_COMPARE(store.items().size(), 1);

        server->enqueue(listAnswer({{"1"}, {"2"}}));
        QCoro::waitFor(store.refresh());
        server->enqueue(listAnswer({{"1"}, {"2"}, {"3"}, {"4", false}}));
        QCoro::waitFor(store.refresh());
        QCOMPARE(store.unreadCount(), 3);
        store.quietHours().check();
        QTest::qWait(200);
        QVERIFY(notifications.calls().isEmpty());

        now = local(4, 7, 1);
        store.quietHours().check();
        QTRY_COMPARE(notifications.calls().size(), 1);
        QCOMPARE(notifications.calls().at(0).summary, u"New GitHub Notifications"_s);
        QCOMPARE(notifications.calls().at(0).body, u"2 new notifications"_s);
        QCOMPARE(notifications.calls().at(0).hints.value("suppress-sound"), QVariant(true));

        // The desktop's do-not-disturb holds alerts the same way.
        notifications.setInhibited(true);
        QTRY_VERIFY(DoNotDisturb::shared().isInhibited());
        server->enqueue(listAnswer({{"1"}, {"2"}, {"3"}, {"5"}}));
        QCoro::waitFor(store.refresh());
        QTest::qWait(200);
        QCOMPARE(notifications.calls().size(), 1);
        notifications.setInhibited(false);
        QTRY_COMPARE(notifications.calls().size(), 2);
        QCOMPARE(notifications.calls().at(1).summary, u"A thread"_s);
    }

private:
    std::unique_ptr<FakeGitHubServer> server;
};

QTEST_GUILESS_MAIN(TestQuieting)
#include "tst_quieting.moc"
