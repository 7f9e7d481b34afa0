#pragma once

#include "model/NotificationReason.h"
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

    QString repoFullName() const { return owner + u'/' + repo; }

    // Member-wise over all twelve fields; QDateTime compares points in time.
    friend bool operator==(const GHNotification &, const GHNotification &) = default;
};

Q_DECLARE_METATYPE(GHNotification)
