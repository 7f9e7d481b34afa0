#pragma once

#include "model/NotificationReason.h"
#include "model/SubjectDetails.h"
#include "model/SubjectType.h"

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

// The account a thread came from. Empty for the first account, whose
// threads are as they always were.
struct ThreadAccount {
    // "<host>/<login>"; thread ids are unique only within one host.
    QString key;
    // What the views name it by ("alice", "alice@ghe.example.com"); empty
    // while there is only one account.
    QString name;
    // GitHub Enterprise Server before 3.13 has no "done".
    bool canMarkDone = true;

    friend bool operator==(const ThreadAccount &, const ThreadAccount &) = default;
};

// One notification thread as the application shows it. Identified by `id`
// within its account, and by `key()` among all accounts.
struct GHNotification {
    QString id;
    QString owner;
    QString repo;
    std::optional<qint64> number;
    QString title;
    NotificationReason reason = NotificationReason::subscribed;
    SubjectType subjectType = SubjectType::issue;
    QDateTime updatedAt;
    bool unread = false;
    QString avatarInitials;
    bool muted = false;
    std::optional<QString> url;
    // Absent until fetched, and for subjects that have none.
    std::optional<SubjectDetails> details;
    // GitHub's own reason text, which may name a reason beyond the nine
    // (ci_activity, security_alert, ...); empty for threads not from GitHub.
    QString reasonRaw = {};
    // GitHub's own subject type, which may name a kind beyond the six
    // (CheckSuite, WorkflowRun, ...).
    QString subjectTypeRaw = {};
    // The page of its latest activity, as its subject says (the latest
    // comment's own anchor when known); empty until fetched.
    QString webPage = {};

    ThreadAccount account;

    QString repoFullName() const { return owner + u'/' + repo; }
    // The id for the first account's threads, "<host>/<login>/<id>" for others.
    QString key() const { return account.key.isEmpty() ? id : account.key + u'/' + id; }
    // The host of its account, as rules name it: the first account's is github.com.
    QString host() const
    {
        return account.key.isEmpty() ? QStringLiteral("github.com") : account.key.section(u'/', 0, 0);
    }

    // Member-wise over all fields; QDateTime compares points in time.
    friend bool operator==(const GHNotification &, const GHNotification &) = default;
};

Q_DECLARE_METATYPE(GHNotification)
