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

using namespace Qt::StringLiterals;

static QStringList rowsOf(const NotificationEntryModel &model)
{
    QStringList result;
    for (const auto &entry : model.entries())
        result << (entry.placeholder ? u"[%1]"_s.arg(entry.section) : entry.item.id);
    return result;
}

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
        QCOMPARE(RelativeTime::shortAge(base, base.addSecs(1080), QLocale::c()), u"18 min. ago"_s);

        const GHNotification rails = sampleNotifications().at(3);
        const QDateTime now = rails.updatedAt.addSecs(360);
        QCOMPARE(RowText::metaLine(rails, now, english), u"rails / rails #54993 · Comment · 6 min. ago"_s);
        QCOMPARE(RowText::metaLine(rails, now, QLocale(QLocale::German, QLocale::Germany)),
                 u"rails / rails #54993 · Comment · vor 6 Min."_s);
        QVERIFY(RowText::accessibleName(rails, now, english).startsWith(u"Unread. Discussion: ActiveStorage"));
        const GHNotification noNumber = sampleNotifications().at(6);
        QCOMPARE(RowText::metaLine(noNumber, noNumber.updatedAt.addSecs(18000), english),
                 u"microsoft / vscode · Author · 5 hr. ago"_s);

        // Once details arrive: the actor ends the meta line, the state starts the name.
        using enum SubjectState;
        GHNotification fix = modelThread("9", false, 0, "Fix boot", "rails/rails");
        fix.number = 5;
        const std::tuple<std::optional<SubjectDetails>, const char *, const char *> rows[] = {
            {{}, "", "Fix boot, rails / rails #5 · Mention · 6 min. ago"},
            {SubjectDetails{open, {"alice"}, {"alice"}}, " · by alice", "Open, Fix boot"},
            {SubjectDetails{merged, {"alice"}, {"bob"}}, " · by bob", "Merged, Fix boot"},
            {SubjectDetails{closed, {"a"}, {"dependabot[bot]", true}}, " · by dependabot (bot)", "Closed, Fix boot"},
            {SubjectDetails{closedNotPlanned, {"a"}, {"renovate", true}}, " · by renovate (bot)", "Closed, Fix boot"},
            {SubjectDetails{draft, {}, {}}, "", "Draft, Fix boot"},
        };
        for (const auto &[details, by, nameStart] : rows) {
            fix.details = details;
            const QString meta = u"rails / rails #5 · Mention · 6 min. ago"_s + QString::fromUtf8(by);
            QCOMPARE(RowText::metaLine(fix, fix.updatedAt.addSecs(360), english), meta);
            const QString name = RowText::accessibleName(fix, fix.updatedAt.addSecs(360), english);
            QVERIFY2(name.startsWith(QString::fromUtf8(nameStart)) && name.endsWith(meta), qPrintable(name));
        }
    }

    void entryModelAppliesSmallestChange()
    {
        NotificationEntryModel model;
        QAbstractItemModelTester tester(&model);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

        const GHNotification a = modelThread("a"), b = modelThread("b"), c = modelThread("c");
        model.setEntries({{a, {}}, {b, {}}, {c, {}}});
        QCOMPARE(inserted.size(), 1);

        model.setEntries({{a, {}}, {modelThread("b", false), {}}, {c, {}}});
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 1);
        QCOMPARE(model.data(model.index(1), NotificationEntryModel::UnreadRole), QVariant(false));

        model.setEntries({{a, {}}, {c, {}}});
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 1);
        model.setEntries({{c, {}}, {a, {}}, {b, {}}});
        model.setEntries({});
        QCOMPARE(reset.size(), 0); // the tester checked every step

        // A merged pull request: GitHub's merge glyph in its purple, drawn anew as a data change.
        GHNotification pull = sampleNotifications().first();
        model.setEntries({{pull, {}}});
        const QModelIndex first = model.index(0);
        QCOMPARE(first.data(NotificationEntryModel::IconNameRole), QVariant(u"arrow.triangle.pull"_s));
        pull.details = SubjectDetails{SubjectState::merged, {"a"}, {"a"}};
        changed.clear();
        model.setEntries({{pull, {}}});
        QCOMPARE(changed.size(), 1);
        QCOMPARE(first.data(NotificationEntryModel::IconNameRole), QVariant(u"pull.merged"_s));
        QCOMPARE(first.data(NotificationEntryModel::TintColorRole).value<QColor>().name(), u"#8250df"_s);

        // Ages move on with the clock, as a data change too: the view keeps its state.
        QDateTime now = pull.updatedAt.addSecs(60);
        model.setClockForTesting([&now] { return now; });
        QVERIFY(first.data(NotificationEntryModel::MetaLineRole).toString().contains(u"1 min. ago"));
        changed.clear();
        now = now.addSecs(180);
        model.refreshAges();
        QCOMPARE(changed.size(), 1);
        QVERIFY(first.data(NotificationEntryModel::AccessibleNameRole).toString().contains(u"4 min. ago"));
    }

    void panelMiddleArea()
    {
        using Area = PanelViewModel::MiddleArea;
        using Token = TokenState::Status;
        const std::tuple<Token, bool, bool, Area> cases[] = {
            {Token::Checking, false, false, Area::Waiting},      {Token::Unavailable, false, true, Area::Waiting},
            {Token::Missing, false, false, Area::TokenRequired}, {Token::Missing, true, true, Area::TokenRequired},
            {Token::Stored, true, false, Area::AllCaughtUp},     {Token::Stored, true, true, Area::List},
            {Token::Stored, false, false, Area::List},           {Token::Locked, false, false, Area::List},
        };
        for (const auto &[token, nothingToShow, refreshing, area] : cases)
            QCOMPARE(PanelViewModel::chooseMiddleArea(token, nothingToShow, refreshing), area);

        // The store of this session has no token: nothing while the secret
        // store answers, then the samples behind the token area.
        NotificationsStore store;
        PanelViewModel panel;
        QAbstractItemModelTester tester(panel.rows());
        panel.setStore(&store);
        QCOMPARE(panel.middleArea(), Area::Waiting);
        QTRY_COMPARE_WITH_TIMEOUT(panel.middleArea(), Area::TokenRequired, 20000); // the first keyring answer
        QCOMPARE(rowsOf(*panel.rows()), (QStringList{"4", "1", "6", "2", "7", "3", "5"})); // unread, latest first
        QVERIFY(!panel.showCountdown());
        store.setUnreadOnly(true);
        QCOMPARE(panel.rows()->count(), 4);
    }

    void listModelGroupsAndCollapses()
    {
        NotificationsStore store;
        QTRY_COMPARE_WITH_TIMEOUT(store.tokenStatus(), TokenState::Status::Missing, 20000); // the samples
        NotificationsListModel list;
        QAbstractItemModelTester tester(list.rows());
        list.setStore(&store);
        QCOMPARE(rowsOf(*list.rows()), (QStringList{"4", "1", "6", "2", "7", "3", "5"}));
        QCOMPARE(list.groupCounts().value(u"rails/rails"_s), QVariant(1));

        list.toggleCollapsed(u"rails/rails"_s);
        QCOMPARE(rowsOf(*list.rows()).first(), u"[rails/rails]"_s);

        // Hidden by a search, then shown again: still collapsed.
        list.setSearchText(u"puma"_s);
        QCOMPARE(rowsOf(*list.rows()), QStringList{"5"});
        list.setSearchText({});
        QCOMPARE(rowsOf(*list.rows()).first(), u"[rails/rails]"_s);

        list.setShowUnreadOnly(true);
        QCOMPARE(rowsOf(*list.rows()), (QStringList{"[rails/rails]", "1", "6", "2"}));
        list.setSelectedReason(int(NotificationReason::mention));
        QCOMPARE(list.reasonLabel(), u"Mention"_s);
        QCOMPARE(rowsOf(*list.rows()), QStringList{"2"});
        list.setSelectedReason(-1);
        list.setShowUnreadOnly(false);
        // The samples have no details: no state of theirs is known.
        list.setSelectedState(1);
        QCOMPARE(list.stateLabel(), u"Merged"_s);
        QCOMPARE(list.rows()->count(), 0);
        list.setSelectedState(-1);

        list.setGroupByRepo(false);
        QCOMPARE(rowsOf(*list.rows()), (QStringList{"4", "1", "6", "2", "7", "3", "5"}));
        QVERIFY(list.rows()->entries().first().section.isEmpty());

        // The panel's filter in the store has no effect here.
        store.setSearchText(u"puma"_s);
        QCOMPARE(list.rows()->count(), 7);
    }
};

QTEST_MAIN(TestViewModels)
#include "tst_view_models.moc"
