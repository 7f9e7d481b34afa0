#include "model/SampleNotifications.h"

namespace {

GHNotification sample(const QDateTime &base, const char *id, const char *owner, const char *repo,
                      std::optional<qint64> number, const char *title, NotificationReason reason, SubjectType type,
                      qint64 ageSeconds, bool unread, const char *initials, bool muted)
{
    return GHNotification{
        .id = QString::fromUtf8(id),
        .owner = QString::fromUtf8(owner),
        .repo = QString::fromUtf8(repo),
        .number = number,
        .title = QString::fromUtf8(title),
        .reason = reason,
        .subjectType = type,
        .updatedAt = base.addSecs(-ageSeconds),
        .unread = unread,
        .avatarInitials = QString::fromUtf8(initials),
        .muted = muted,
        .url = std::nullopt,
        .details = std::nullopt,
        .account = {},
    };
}

QList<GHNotification> buildSamples()
{
    using R = NotificationReason;
    using S = SubjectType;
    const QDateTime base = QDateTime::currentDateTimeUtc();
    return {
        sample(base, "1", "larkspindle", "api", 482, "Review: Add webhook for content claims", R::review_requested,
               S::pull_request, 1080, true, "AF", false),
        sample(base, "2", "hanami", "hanami", 1520, "Fix: container boot order regression in 2.2", R::mention, S::issue,
               7200, true, "HK", false),
        sample(base, "3", "rubyenv", "app", 39, "Release 0.9.0-beta notes", R::subscribed, S::release, 93600, false,
               "RE", false),
        sample(base, "4", "rails", "rails", 54993, "Discussion: ActiveStorage direct upload retries", R::comment,
               S::discussion, 360, true, "RW", false),
        sample(base, "5", "dependabot", "core", 101, "Bump puma from 6.4.2 to 6.5.0", R::state_change, S::pull_request,
               259200, false, "DB", false),
        sample(base, "6", "apple", "swift", 75421, "Security Alert: Vulnerable dependency detected", R::manual,
               S::security_alert, 1800, true, "AS", false),
        sample(base, "7", "microsoft", "vscode", std::nullopt, "Commit: Fix editor font rendering on Retina displays",
               R::author, S::commit, 18000, false, "MS", true),
    };
}

} // namespace

const QList<GHNotification> &sampleNotifications()
{
    static const QList<GHNotification> samples = buildSamples();
    return samples;
}
