#pragma once

#include "api/GitHubNotification.h"
#include "model/SubjectDetails.h"

#include <QByteArray>
#include <QList>
#include <QStringView>

#include <optional>
#include <variant>

// Why a body could not be decoded: what was wrong and where. Shown to the
// user after "Failed to parse GitHub response: ".
struct DecodingError {
    QString description;
};

namespace WireDecoding {

// A list body must be a JSON array whose every element is a valid thread;
// one bad element fails the whole body.
std::variant<QList<GitHubNotification>, DecodingError> decodeNotificationList(const QByteArray &body);

// An issue or pull request as its own address answers: "state" and, for a
// pull request, "merged" are required; "draft", "state_reason" and "user" may
// be missing or null (a deleted account leaves no user).
struct SubjectRecord {
    SubjectState state = SubjectState::open;
    Actor author;
};
std::variant<SubjectRecord, DecodingError> decodeSubject(const QByteArray &body, bool pullRequest);

// The author of a comment or review; an empty login when it has no user.
std::variant<Actor, DecodingError> decodeCommentAuthor(const QByteArray &body);

// Absent when the body is not an error object with a string "message".
std::optional<GitHubErrorResponse> decodeErrorResponse(const QByteArray &body);

// Internet date-time with whole seconds and a zone designator, such as
// 2024-05-01T09:30:00Z or 2024-05-01T11:30:00+02:00. Anything else is absent.
std::optional<QDateTime> parseInternetDateTime(QStringView text);

} // namespace WireDecoding
