#include "model/GHNotification.h"
#include "model/SampleNotifications.h"

#include <QSet>
#include <QTest>
#include <QThread>

class TestNotificationModel : public QObject {
    Q_OBJECT

private slots:
    void reasonsMatchRawValuesExactly()
    {
        QCOMPARE(NotificationReasons::fromRawValue(u"subscribed"), NotificationReason::subscribed);
        QCOMPARE(NotificationReasons::fromRawValue(u"Subscribed"), std::nullopt);
        QCOMPARE(NotificationReasons::fromRawValue(u"review_requested"), NotificationReason::review_requested);
        QCOMPARE(NotificationReasons::fromRawValue(u"review-requested"), std::nullopt);
        QCOMPARE(NotificationReasons::fromRawValue(u" mention"), std::nullopt);
        QCOMPARE(NotificationReasons::fromRawValue(u""), std::nullopt);

        const auto &all = NotificationReasons::allCases();
        QCOMPARE(all.size(), 9u);
        QCOMPARE(all.front(), NotificationReason::assign);
        QCOMPARE(all.back(), NotificationReason::subscribed);
        // Every case round-trips through its raw value and has its own label.
        QSet<QString> labels;
        for (NotificationReason reason : all) {
            QCOMPARE(NotificationReasons::fromRawValue(NotificationReasons::rawValue(reason)), reason);
            labels.insert(NotificationReasons::displayName(reason));
        }
        QCOMPARE(labels.size(), 9);
        QCOMPARE(NotificationReasons::displayName(NotificationReason::assign), QStringLiteral("Assigned"));
        QCOMPARE(NotificationReasons::displayName(NotificationReason::review_requested), QStringLiteral("Review requested"));
        QCOMPARE(NotificationReasons::displayName(NotificationReason::state_change), QStringLiteral("State change"));
    }

    void subjectTypesMatchRawValuesExactly()
    {
        QCOMPARE(SubjectTypes::fromRawValue(u"pull_request"), SubjectType::pull_request);
        QCOMPARE(SubjectTypes::fromRawValue(u"pullrequest"), std::nullopt);
        QCOMPARE(SubjectTypes::fromRawValue(u"Issue"), std::nullopt);

        const auto &all = SubjectTypes::allCases();
        QCOMPARE(all.size(), 6u);
        QCOMPARE(all.front(), SubjectType::issue);
        QCOMPARE(all.back(), SubjectType::security_alert);
        QSet<QRgb> tints;
        for (SubjectType type : all) {
            QCOMPARE(SubjectTypes::fromRawValue(SubjectTypes::rawValue(type)), type);
            QVERIFY(!SubjectTypes::iconName(type).isEmpty());
            tints.insert(SubjectTypes::tintColor(type).rgba());
        }
        QCOMPARE(tints.size(), 6);
        QCOMPARE(SubjectTypes::iconName(SubjectType::pull_request), QStringLiteral("arrow.triangle.pull"));
        QCOMPARE(SubjectTypes::iconName(SubjectType::commit), QStringLiteral("chevron.left.forwardslash.chevron.right"));
    }

    void equalityCoversEveryField()
    {
        const GHNotification base = sampleNotifications().at(0);
        QCOMPARE(base, base);

        GHNotification muted = base;
        muted.muted = !base.muted;
        QVERIFY(muted != base);

        GHNotification withUrl = base;
        withUrl.url = QString();
        QVERIFY(withUrl != base); // an empty address is not an absent one

        GHNotification noNumber = base;
        noNumber.number.reset();
        QVERIFY(noNumber != base);

        // The same instant in another zone is the same update time.
        GHNotification otherZone = base;
        otherZone.updatedAt = base.updatedAt.toOffsetFromUtc(3600);
        QCOMPARE(otherZone, base);
        otherZone.updatedAt = base.updatedAt.addSecs(1);
        QVERIFY(otherZone != base);
    }

    void samplesAreFixedOnceCreated()
    {
        const QList<GHNotification> first = sampleNotifications();
        QThread::msleep(1100);
        QCOMPARE(sampleNotifications(), first);

        QCOMPARE(first.size(), 7);
        QStringList ids;
        for (const GHNotification &item : first) {
            ids << item.id;
            QVERIFY(!item.url.has_value());
        }
        QCOMPARE(ids, (QStringList{"1", "2", "3", "4", "5", "6", "7"}));

        const GHNotification &rails = first.at(3);
        QCOMPARE(rails.repoFullName(), QStringLiteral("rails/rails"));
        QCOMPARE(rails.number, 54993);
        QCOMPARE(rails.subjectType, SubjectType::discussion);
        QCOMPARE(first.at(6).number, std::nullopt);
        QVERIFY(first.at(6).muted);

        // Ages are measured from one common base time.
        QCOMPARE(first.at(0).updatedAt.secsTo(first.at(3).updatedAt), 1080 - 360);
        QCOMPARE(first.at(4).updatedAt.secsTo(first.at(0).updatedAt), 259200 - 1080);
        const qint64 age = first.at(0).updatedAt.secsTo(QDateTime::currentDateTimeUtc());
        QVERIFY2(age >= 1080 && age < 1080 + 60, qPrintable(QString::number(age)));
    }
};

QTEST_GUILESS_MAIN(TestNotificationModel)
#include "tst_notification_model.moc"
