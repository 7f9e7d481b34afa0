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
// "html_url", its page on the web site, may be missing too (empty then).
struct SubjectRecord {
    SubjectState state = SubjectState::open;
    Actor author;
    QString webPage;
};
std::variant<SubjectRecord, DecodingError> decodeSubject(const QByteArray &body, bool pullRequest);

// A comment or review: its author (an empty login when it has no user) and
// its page, the comment's own anchor ("#issuecomment-…"), empty when missing.
struct CommentRecord {
    Actor author;
    QString webPage;
};
std::variant<CommentRecord, DecodingError> decodeComment(const QByteArray &body);

// Any other subject (a release, a commit): its "html_url", empty when missing.
std::variant<QString, DecodingError> decodeWebPage(const QByteArray &body);

// Absent when the body is not an error object with a string "message".
std::optional<GitHubErrorResponse> decodeErrorResponse(const QByteArray &body);

// Internet date-time with whole seconds and a zone designator, such as
// 2024-05-01T09:30:00Z or 2024-05-01T11:30:00+02:00. Anything else is absent.
std::optional<QDateTime> parseInternetDateTime(QStringView text);

} // namespace WireDecoding
