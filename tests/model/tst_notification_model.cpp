#include "model/GHNotification.h"

#include <QTest>

class TestNotificationModel : public QObject {
    Q_OBJECT

private slots:
    // Raw values match exactly (no case folding, no trimming), and every
    // case round-trips through its own.
    void rawValuesAreExact()
    {
        QCOMPARE(NotificationReasons::fromRawValue(u"review_requested"), NotificationReason::review_requested);
        for (const char16_t *raw : {u"Subscribed", u"review-requested", u" mention", u""})
            QCOMPARE(NotificationReasons::fromRawValue(raw), std::nullopt);
        for (NotificationReason reason : NotificationReasons::allCases())
            QCOMPARE(NotificationReasons::fromRawValue(NotificationReasons::rawValue(reason)), reason);

        QCOMPARE(SubjectTypes::fromRawValue(u"pull_request"), SubjectType::pull_request);
        for (const char16_t *raw : {u"pullrequest", u"Issue"})
            QCOMPARE(SubjectTypes::fromRawValue(raw), std::nullopt);
        for (SubjectType type : SubjectTypes::allCases())
            QCOMPARE(SubjectTypes::fromRawValue(SubjectTypes::rawValue(type)), type);
    }
};

QTEST_GUILESS_MAIN(TestNotificationModel)
#include "tst_notification_model.moc"
