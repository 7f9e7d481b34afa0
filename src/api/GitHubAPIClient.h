#pragma once

#include "api/APIError.h"
#include "api/ClientError.h"
#include "api/GitHubNotification.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QList>
#include <QNetworkRequest>
#include <QString>

#include <chrono>
#include <optional>

// The GitHub notifications REST API. Stateless operations: each reads the
// token from the keychain afresh (off the main thread), sends one request
// through the shared network access manager and resumes its caller on the
// main thread with the result or a ClientError.
namespace GitHubAPIClient {

// Silence ends a request after the time-out; however it trickles, the whole
// request ends at the deadline.
inline constexpr std::chrono::milliseconds defaultRequestTimeout{60000};
inline constexpr std::chrono::milliseconds defaultRequestDeadline{120000};

// The whole list, every page of it; `participating` keeps to the threads the
// user takes part in.
QCoro::Task<ClientResult<QList<GitHubNotification>>> fetchNotifications(bool all, int perPage,
                                                                        bool participating = false);
QCoro::Task<std::optional<ClientError>> markThreadAsRead(QString threadId);
QCoro::Task<std::optional<ClientError>> muteThread(QString threadId);
QCoro::Task<std::optional<ClientError>> unmuteThread(QString threadId);
// Done: the thread leaves the list until something new happens in it.
QCoro::Task<std::optional<ClientError>> markThreadAsDone(QString threadId);
// Every thread (or every thread of one repository) updated before
// `lastReadAt` is marked read.
QCoro::Task<std::optional<ClientError>> markAllAsRead(QDateTime lastReadAt);
QCoro::Task<std::optional<ClientError>> markRepositoryAsRead(QString owner, QString repo, QDateTime lastReadAt);
// A resource of the API read again only when it changed: the request carries
// the ETag of the copy held, and a 304 (which GitHub does not count against
// the rate limit) says that copy is current. Only addresses on the API
// itself are fetched (isApiAddress); any other is refused unsent.
struct ConditionalAnswer {
    bool notModified = false;
    QByteArray body;
    QByteArray etag;
};
QCoro::Task<ClientResult<ConditionalAnswer>> fetchIfChanged(QString address, QByteArray etag);

// The base URL's scheme, host and port, under its path: where the token may
// go. Addresses a response names are checked against it.
bool isApiAddress(const QUrl &url);

// Whether GitHub accepts a token that is not stored yet: true exactly when its
// user resource answers 200.
QCoro::Task<ClientResult<bool>> validateToken(QString token);

// The three headers every GitHub request carries, in this order.
void setStandardHeaders(QNetworkRequest &request, const QString &token);

// Tokens go only over HTTPS, or to this machine (tests on loopback).
bool mayCarryToken(const QUrl &url);

// The REST API base URL and the two clocks of a request. Tests point the
// client at a local server and shorten the clocks; the product never
// changes them.
QString baseUrl();
void setBaseUrl(const QString &url);
std::chrono::milliseconds requestTimeout();
void setRequestTimeout(std::chrono::milliseconds timeout);
void setRequestDeadline(std::chrono::milliseconds deadline);

} // namespace GitHubAPIClient
