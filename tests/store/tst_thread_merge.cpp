#include "platform/TextSearch.h"
#include "store/ThreadMerge.h"

#include "ModelThreads.h"

#include <QTest>

class TestThreadMerge : public QObject {
    Q_OBJECT

private slots:
    void mergeRules()
    {
        // GitHub's word on read and unread holds (a thread marked unread on the web is
        // unread); a thread updated since the last list is news, read before or not.
        GHNotification muted = modelThread("4");
        muted.muted = true;
        const QList<GHNotification> previous{modelThread("1", false, 10), modelThread("2", false, 10),
                                             modelThread("3", true, 10), muted};
        const auto result = ThreadMerge::merge(previous, {modelThread("1", true, 10), modelThread("2", true, 5),
                                                          modelThread("3", false, 10), modelThread("4")});
        QCOMPARE(ids(result.merged, [](const GHNotification &t) { return t.unread; }), (QStringList{"1", "2", "4"}));
        QVERIFY(!result.merged[3].muted); // a mute is GitHub's to report
        QCOMPARE(ids(result.newThreads), QStringList{"2"});

        // Dismissed here: read, or away, until updated again.
        const ThreadMerge::Dismissals dismissed{
            {"1", {ThreadMerge::Dismissal::Kind::read, modelThread("1", true, 10).updatedAt}},
            {"2", {ThreadMerge::Dismissal::Kind::done, modelThread("2", true, 10).updatedAt}}};
        const auto kept =
            ThreadMerge::merge(previous, {modelThread("1", true, 10), modelThread("2", true, 10)}, dismissed);
        QCOMPARE(ids(kept.merged, [](const GHNotification &t) { return t.unread; }), QStringList{});
        QCOMPARE(ids(kept.merged), QStringList{"1"});

        // New threads are the unread ones not seen before.
        const auto first = ThreadMerge::merge({}, {modelThread("1"), modelThread("2")});
        QCOMPARE(ids(first.newThreads), (QStringList{"1", "2"}));
        const auto next = ThreadMerge::merge({modelThread("1")}, {modelThread("3", false), modelThread("1"),
                                                                  modelThread("4"), modelThread("5")});
        QCOMPARE(ids(next.merged), (QStringList{"3", "1", "4", "5"}));
        QCOMPARE(ids(next.newThreads), (QStringList{"4", "5"}));

        // Of two copies of a thread, the later one decides.
        QVERIFY(
            ThreadMerge::merge({modelThread("1", true, 20), modelThread("1", false, 10)}, {modelThread("1", true, 10)})
                .newThreads.isEmpty());
    }

    void filterAndSort()
    {
        QList<GHNotification> items{
            modelThread("read-noon", false, 0, "Zeta", "rails/rails"),
            modelThread("unread-9", true, 180, "Alpha fix", "octo/hooks"),
            modelThread("unread-10a", true, 120, "Beta", "Hanami/hanami"),
            modelThread("unread-10b", true, 120, "Gamma", "octo/api"),
            modelThread("read-old", false, 600, "Delta", "octo/hooks", NotificationReason::comment),
        };
        // Details of three: merged by a bot's last comment, closed as not planned, open.
        items[1].details = SubjectDetails{SubjectState::merged, {"alice"}, {"dependabot[bot]", true}};
        items[2].details = SubjectDetails{SubjectState::closedNotPlanned, {"bob"}, {"bob"}};
        items[4].details = SubjectDetails{SubjectState::open, {"carol"}, {"carol"}};
        // The panel's order: unread first, latest first; equal threads keep their order.
        QCOMPARE(ids(ThreadMerge::filterAndSort(items, {}, false)),
                 (QStringList{"unread-10a", "unread-10b", "unread-9", "read-noon", "read-old"}));
        QCOMPARE(ids(ThreadMerge::filterAndSort(items, QStringLiteral("octo"), true)),
                 (QStringList{"unread-10b", "unread-9"}));
        QCOMPARE(ThreadMerge::unreadCount(items), 3);

        const QStringList all{"read-noon", "unread-9", "unread-10a", "unread-10b", "read-old"};
        const struct {
            const char *search;
            bool unreadOnly;
            std::optional<NotificationReason> reason;
            QStringList found;
            ThreadMerge::DetailFilter details = {};
        } filters[] = {
            {"", false, {}, all},
            {"/", false, {}, all},
            {"HANAMI/", false, {}, {"unread-10a"}}, // the repository's key, any case
            {"octo/h", false, {}, {"unread-9", "read-old"}},
            {"alpha FIX", false, {}, {"unread-9"}},
            {" fix", false, {}, {"unread-9"}}, // blanks are part of the text
            {"Zeta rails", false, {}, {}}, // the title and the repository are tested apart, never joined
            {"", true, {}, {"unread-9", "unread-10a", "unread-10b"}},
            {"octo", false, NotificationReason::comment, {"read-old"}},
            {"bob", false, {}, {}}, // actors only where asked
            {"BOB", false, {}, {"unread-10a"}, {.searchActors = true}},
            {"", false, {}, {"unread-10a"}, {.state = ThreadMerge::StateFilter::closed}},
            {"", false, {}, {"unread-9"}, {.state = ThreadMerge::StateFilter::merged}},
            {"", false, {}, {"read-old"}, {.state = ThreadMerge::StateFilter::open}}, // unknown is no state
            {"", false, {}, {}, {.state = ThreadMerge::StateFilter::draft}},
            {"", false, {}, {"read-noon", "unread-10a", "unread-10b", "read-old"}, {.hideBotActivity = true}},
        };
        for (const auto &filter : filters) {
            QCOMPARE(ids(ThreadMerge::matching(items, QString::fromUtf8(filter.search), filter.unreadOnly,
                                               filter.reason, filter.details)),
                     filter.found);
        }
    }

    void searchFollowsTheLocale()
    {
        const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
        QVERIFY(TextSearch(QStringLiteral("İSTANBUL"), turkish).matches(QStringLiteral("istanbul sorunu")));
        QVERIFY(TextSearch(QStringLiteral("ILIK"), turkish).matches(QString::fromUtf8("ılık")));
        QVERIFY(TextSearch(QStringLiteral("ÉCOLE"), QLocale(QLocale::French)).matches(QString::fromUtf8("L'école")));
        QVERIFY(!TextSearch(QStringLiteral("ecole"), QLocale(QLocale::French)).matches(QString::fromUtf8("L'école")));
        QVERIFY(TextSearch(QString()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestThreadMerge)
#include "tst_thread_merge.moc"
