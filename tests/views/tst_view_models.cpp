#include "model/SampleNotifications.h"
#include "platform/RelativeTime.h"
#include "store/NotificationsStore.h"
#include "views/panel/NotificationEntryModel.h"
#include "views/panel/NotificationsListModel.h"
#include "views/panel/PanelViewModel.h"
#include "views/panel/RowText.h"

#include "ModelThreads.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList rowsOf(const NotificationEntryModel &model)
{
    QStringList result;
    for (const auto &entry : model.entries())
        result << (entry.placeholder ? QStringLiteral("[%1]").arg(entry.section) : entry.item.id);
    return result;
}

} // namespace

class TestViewModels : public QObject {
    Q_OBJECT

private slots:
    void rowTexts()
    {
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        for (const auto &[seconds, text] : {std::pair{0, "0s"}, {59, "59s"}, {61, "1m 1s"}, {3600, "60m 0s"}})
            QCOMPARE(RowText::countdownText(seconds), QString::fromLatin1(text));
        const QDateTime base = modelThread("1").updatedAt;
        const std::pair<qint64, const char *> ages[] = {{30, "30 sec. ago"},        {1080, "18 min. ago"},
                                                        {7200, "2 hr. ago"},        {93600, "1 day ago"},
                                                        {259200, "3 days ago"},     {86400 * 15, "2 wk. ago"},
                                                        {86400 * 400, "1 yr. ago"}, {-120, "in 2 min."}};
        for (const auto &[seconds, text] : ages)
            QCOMPARE(RelativeTime::shortAge(base, base.addSecs(seconds), english), QString::fromLatin1(text));
        QCOMPARE(RelativeTime::shortAge(base, base.addSecs(1080), QLocale::c()), QStringLiteral("18 min. ago"));

        const GHNotification rails = sampleNotifications().at(3);
        const QDateTime now = rails.updatedAt.addSecs(360);
        QCOMPARE(RowText::metaLine(rails, now, english),
                 QString::fromUtf8("rails / rails #54993 · Comment · 6 min. ago"));
        QCOMPARE(RowText::metaLine(rails, now, QLocale(QLocale::German, QLocale::Germany)),
                 QString::fromUtf8("rails / rails #54993 · Comment · vor 6 Min."));
        const GHNotification noNumber = sampleNotifications().at(6);
        QCOMPARE(RowText::metaLine(noNumber, noNumber.updatedAt.addSecs(18000), english),
                 QString::fromUtf8("microsoft / vscode · Author · 5 hr. ago"));
        QVERIFY(RowText::accessibleName(rails, now, english)
                    .startsWith(QStringLiteral("Unread. Discussion: ActiveStorage")));

        // Once details arrive: the actor ends the meta line, the state starts the name.
        GHNotification fix = modelThread("9", false, 0, "Fix boot", "rails/rails");
        fix.number = 5;
        const struct {
            std::optional<SubjectDetails> details;
            const char *meta;
            const char *name;
        } rows[] = {
            {{}, "", "Fix boot, rails / rails #5 · Mention · 6 min. ago"},
            {SubjectDetails{SubjectState::open, {"alice"}, {"alice"}}, " · by alice", "Open, Fix boot"},
            {SubjectDetails{SubjectState::merged, {"alice"}, {"bob"}}, " · by bob", "Merged, Fix boot"},
            {SubjectDetails{SubjectState::closed, {"a"}, {"dependabot[bot]", true}}, " · by dependabot (bot)",
             "Closed, Fix boot"},
            {SubjectDetails{SubjectState::closedNotPlanned, {"a"}, {"renovate", true}}, " · by renovate (bot)",
             "Closed, Fix boot"},
            {SubjectDetails{SubjectState::draft, {}, {}}, "", "Draft, Fix boot"},
        };
        for (const auto &row : rows) {
            fix.details = row.details;
            const QString meta =
                QString::fromUtf8("rails / rails #5 · Mention · 6 min. ago") + QString::fromUtf8(row.meta);
            QCOMPARE(RowText::metaLine(fix, fix.updatedAt.addSecs(360), english), meta);
            const QString name = RowText::accessibleName(fix, fix.updatedAt.addSecs(360), english);
            QVERIFY2(name.startsWith(QString::fromUtf8(row.name)) && name.endsWith(meta), qPrintable(name));
        }
    }

    void entryModelAppliesSmallestChange()
    {
        NotificationEntryModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

        const auto entries = [](QList<GHNotification> items) {
            QList<NotificationEntryModel::Entry> result;
            for (auto &i : items)
                result.append({i, QString(), false});
            return result;
        };
        const GHNotification a = modelThread("a"), b = modelThread("b"), c = modelThread("c");
        model.setEntries(entries({a, b, c}));
        QCOMPARE(inserted.size(), 1);

        GHNotification readB = b;
        readB.unread = false;
        model.setEntries(entries({a, readB, c}));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 1);
        QCOMPARE(model.data(model.index(1), NotificationEntryModel::UnreadRole), QVariant(false));

        model.setEntries(entries({a, c}));
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 1);
        model.setEntries(entries({c, a, b}));
        model.setEntries({});
        QCOMPARE(reset.size(), 0); // the tester checked every step

        model.setEntries(entries({sampleNotifications()}));
        const QModelIndex first = model.index(0);
        QCOMPARE(first.data(NotificationEntryModel::ThreadIdRole), QVariant(QStringLiteral("1")));
        QCOMPARE(first.data(NotificationEntryModel::IconNameRole), QVariant(QStringLiteral("arrow.triangle.pull")));
        // A merged pull request: GitHub's merge glyph in its purple, drawn anew as a data change.
        QList<GHNotification> samples = sampleNotifications();
        samples[0].details = SubjectDetails{SubjectState::merged, {"a"}, {"a"}};
        changed.clear();
        model.setEntries(entries(samples));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(first.data(NotificationEntryModel::IconNameRole), QVariant(QStringLiteral("pull.merged")));
        QCOMPARE(first.data(NotificationEntryModel::TintColorRole).value<QColor>().name(), QStringLiteral("#8250df"));
        QVERIFY(first.data(NotificationEntryModel::MetaLineRole)
                    .toString()
                    .contains(QStringLiteral("larkspindle / api #482")));
    }

    void panelMiddleArea()
    {
        using Area = PanelViewModel::MiddleArea;
        using Token = TokenState::Status;
        const struct {
            Token token;
            bool nothingToShow, refreshing;
            Area area;
        } cases[] = {
            {Token::Checking, false, false, Area::Waiting},      {Token::Unavailable, false, true, Area::Waiting},
            {Token::Missing, false, false, Area::TokenRequired}, {Token::Missing, true, true, Area::TokenRequired},
            {Token::Stored, true, false, Area::AllCaughtUp},     {Token::Stored, true, true, Area::List},
            {Token::Stored, false, false, Area::List},           {Token::Locked, false, false, Area::List},
        };
        for (const auto &c : cases)
            QCOMPARE(PanelViewModel::chooseMiddleArea(c.token, c.nothingToShow, c.refreshing), c.area);

        // The store of this session has no token: nothing while the secret
        // store answers, then the samples behind the token area.
        NotificationsStore store;
        PanelViewModel panel;
        QAbstractItemModelTester tester(panel.rows(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        panel.setStore(&store);
        QCOMPARE(panel.middleArea(), Area::Waiting);
        QTRY_COMPARE_WITH_TIMEOUT(panel.middleArea(), Area::TokenRequired, 20000); // the first keyring answer
        QCOMPARE(panel.rows()->count(), 7);
        QCOMPARE(panel.rows()->entries().first().item.id, QStringLiteral("4")); // unread, latest first
        QVERIFY(!panel.showCountdown());
        store.setUnreadOnly(true);
        QCOMPARE(panel.rows()->count(), 4);
    }

    void agesMoveOnWithTheClock()
    {
        NotificationEntryModel rows;
        QAbstractItemModelTester tester(&rows, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QDateTime now = QDateTime::currentDateTimeUtc();
        rows.setClockForTesting([&now] { return now; });
        GHNotification thread = sampleNotifications().first();
        thread.updatedAt = now.addSecs(-60);
        rows.setEntries({{thread, {}, false}});
        const QModelIndex first = rows.index(0);
        QVERIFY(first.data(NotificationEntryModel::MetaLineRole).toString().endsWith(QStringLiteral("1 min. ago")));

        QSignalSpy changed(&rows, &QAbstractItemModel::dataChanged);
        now = now.addSecs(180);
        rows.refreshAges();
        // Data changed, nothing inserted or removed: the view keeps its state.
        QCOMPARE(changed.size(), 1);
        QVERIFY(
            first.data(NotificationEntryModel::AccessibleNameRole).toString().contains(QStringLiteral("4 min. ago")));
    }

    void listModelGroupsAndCollapses()
    {
        NotificationsStore store;
        QTRY_COMPARE_WITH_TIMEOUT(store.tokenStatus(), TokenState::Status::Missing, 20000); // the samples
        NotificationsListModel list;
        QAbstractItemModelTester tester(list.rows(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        list.setStore(&store);
        QCOMPARE(rowsOf(*list.rows()), (QStringList{"4", "1", "6", "2", "7", "3", "5"}));
        QCOMPARE(list.groupCounts().value(QStringLiteral("rails/rails")), QVariant(1));

        list.toggleCollapsed(QStringLiteral("rails/rails"));
        QCOMPARE(rowsOf(*list.rows()).first(), QStringLiteral("[rails/rails]"));

        // Hidden by a search, then shown again: still collapsed.
        list.setSearchText(QStringLiteral("puma"));
        QCOMPARE(rowsOf(*list.rows()), QStringList{"5"});
        list.setSearchText({});
        QCOMPARE(rowsOf(*list.rows()).first(), QStringLiteral("[rails/rails]"));

        list.setShowUnreadOnly(true);
        QCOMPARE(rowsOf(*list.rows()), (QStringList{"[rails/rails]", "1", "6", "2"}));
        list.setSelectedReason(int(NotificationReason::mention));
        QCOMPARE(list.reasonLabel(), QStringLiteral("Mention"));
        QCOMPARE(rowsOf(*list.rows()), QStringList{"2"});
        list.setSelectedReason(-1);
        list.setShowUnreadOnly(false);
        // The samples have no details: no state of theirs is known.
        list.setSelectedState(1);
        QCOMPARE(list.stateLabel(), QStringLiteral("Merged"));
        QCOMPARE(list.rows()->count(), 0);
        list.setSelectedState(-1);

        list.setGroupByRepo(false);
        QCOMPARE(rowsOf(*list.rows()), (QStringList{"4", "1", "6", "2", "7", "3", "5"}));
        QVERIFY(list.rows()->entries().first().section.isEmpty());

        // The panel's filter in the store has no effect here.
        store.setSearchText(QStringLiteral("puma"));
        QCOMPARE(list.rows()->count(), 7);
    }
};

QTEST_MAIN(TestViewModels)
#include "tst_view_models.moc"
