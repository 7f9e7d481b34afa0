#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// Why the user received a thread. Raw values are the API's reason strings;
// declaration order is the order every reason menu lists them in.
enum class NotificationReason {
    assign,
    author,
    comment,
    manual,
    mention,
    state_change,
    review_requested,
    team_mention,
    subscribed,
};

namespace NotificationReasons {

// Exact, case-sensitive match against the raw values.
std::optional<NotificationReason> fromRawValue(QStringView raw);
QString rawValue(NotificationReason reason);
// The one label for a reason, used by rows, filter menus and alerts.
QString displayName(NotificationReason reason);
const std::array<NotificationReason, 9> &allCases();

} // namespace NotificationReasons
