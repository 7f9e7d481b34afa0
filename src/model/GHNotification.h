#pragma once

#include "model/NotificationReason.h"
#include "model/SubjectDetails.h"
#include "model/SubjectType.h"

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

// One notification thread as the application shows it. Identified by `id`.
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

    QString repoFullName() const { return owner + u'/' + repo; }

    // Member-wise over all fields; QDateTime compares points in time.
    friend bool operator==(const GHNotification &, const GHNotification &) = default;
};

Q_DECLARE_METATYPE(GHNotification)
