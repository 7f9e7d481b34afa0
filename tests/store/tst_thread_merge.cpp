#include "platform/TextSearch.h"
#include "store/ThreadMerge.h"

#include <QTest>
#include <QTimeZone>

namespace {

const QDateTime noon(QDate(2024, 5, 1), QTime(12, 0), QTimeZone::utc());

GHNotification item(const char *id, bool unread, int minutesAgo = 0, const char *title = "Title",
                      const char *owner = "octo", const char *repo = "hooks")
{
    GHNotification t;
    t.id = QString::fromLatin1(id);
    t.unread = unread;
    t.updatedAt = noon.addSecs(-60 * minutesAgo);
    t.title = QString::fromUtf8(title);
    t.owner = QString::fromUtf8(owner);
    t.repo = QString::fromUtf8(repo);
    return t;
}

QStringList ids(const QList<GHNotification> &threads)
{
    QStringList result;
    for (const auto &t : threads)
        result << t.id;
    return result;
}

} // namespace

class TestThreadMerge : public QObject {
    Q_OBJECT

private slots:
    void readLocallyStaysReadUntilNewActivity()
    {
        const QList<GHNotification> previous{item("1", false, 10), item("2", false, 10), item("3", true, 10)};
        QList<GHNotification> fetched{item("1", true, 10), item("2", true, 5), item("3", false, 10)};
        const auto result = ThreadMerge::merge(previous, fetched);
        QCOMPARE(result.merged[0].unread, false); // same update time: still read
        QCOMPARE(result.merged[1].unread, true);  // new activity
        QCOMPARE(result.merged[2].unread, false); // GitHub says read
        QVERIFY(result.newThreads.isEmpty());     // none is new, even one turned unread again
        QVERIFY(result.hadPrevious);
    }

    void muteIsNotCarriedOver()
    {
        GHNotification muted = item("1", true);
        muted.muted = true;
        const auto result = ThreadMerge::merge({muted}, {item("1", true)});
        QCOMPARE(result.merged[0].muted, false);
    }

    void newThreadsAreUnreadAndUnknown()
    {
        const auto first = ThreadMerge::merge({}, {item("1", true), item("2", true)});
        QVERIFY(!first.hadPrevious);
        QCOMPARE(ids(first.newThreads), (QStringList{"1", "2"}));

        const auto next = ThreadMerge::merge({item("1", true)}, {item("3", false), item("1", true), item("4", true), item("5", true)});
        QCOMPARE(ids(next.merged), (QStringList{"3", "1", "4", "5"}));
        QCOMPARE(ids(next.newThreads), (QStringList{"4", "5"}));
    }

    void laterDuplicateWinsTheLookup()
    {
        // The first copy is unread, the later one read: the later one decides.
        const auto result = ThreadMerge::merge({item("1", true, 10), item("1", false, 10)}, {item("1", true, 10)});
        QCOMPARE(result.merged[0].unread, false);
    }

    void filterAndSort()
    {
        const QList<GHNotification> items{
            item("read-noon", false, 0, "Zeta", "rails", "rails"),
            item("unread-9", true, 180, "Alpha fix", "octo", "hooks"),
            item("unread-10a", true, 120, "Beta", "Hanami", "hanami"),
            item("unread-10b", true, 120, "Gamma", "octo", "api"),
            item("read-old", false, 600, "Delta", "octo", "hooks"),
        };
        // Unread first, latest first; equal threads keep their order.
        QCOMPARE(ids(ThreadMerge::filterAndSort(items, {}, false)),
                 (QStringList{"unread-10a", "unread-10b", "unread-9", "read-noon", "read-old"}));
        QCOMPARE(ids(ThreadMerge::filterAndSort(items, {}, true)), (QStringList{"unread-10a", "unread-10b", "unread-9"}));

        QCOMPARE(ThreadMerge::filterAndSort(items, QStringLiteral("/"), false).size(), items.size());
        QCOMPARE(ids(ThreadMerge::filterAndSort(items, QStringLiteral("HANAMI/"), false)), (QStringList{"unread-10a"}));
        QCOMPARE(ids(ThreadMerge::filterAndSort(items, QStringLiteral("alpha FIX"), false)), (QStringList{"unread-9"}));
        QCOMPARE(ids(ThreadMerge::filterAndSort(items, QStringLiteral("octo/hooks"), true)), (QStringList{"unread-9"}));
        QVERIFY(ThreadMerge::filterAndSort(items, QStringLiteral("nothing like this"), false).isEmpty());
        // The title and the repository are tested separately, never joined.
        QVERIFY(ThreadMerge::filterAndSort(items, QStringLiteral("Zeta rails"), false).isEmpty());

        QCOMPARE(ThreadMerge::unreadCount(items), 3);
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
