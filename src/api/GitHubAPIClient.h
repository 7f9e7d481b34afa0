#pragma once

#include "api/APIError.h"
#include "api/ClientError.h"
#include "api/GitHubNotification.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QList>
#include <QNetworkRequest>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

// The GitHub notifications REST API. Stateless operations: each is given the
// account's access (its API base and token), sends its requests through the
// shared network access manager and resumes its caller on the main thread
// with the result or a ClientError.
namespace GitHubAPIClient {

// Silence ends a request after the time-out; however it trickles, the whole
// request ends at the deadline.
inline constexpr std::chrono::milliseconds defaultRequestTimeout{60000};
inline constexpr std::chrono::milliseconds defaultRequestDeadline{120000};

// A resource of the API read again only when it changed: the request carries
// the ETag of the copy held, and a 304 (which GitHub does not count against
// the rate limit) says that copy is current.
struct ConditionalAnswer {
    bool notModified = false;
    QByteArray body;
    QByteArray etag;
};

// An account's access: the API base it lives at and its token. The token
// goes to that base only, never to an address a response names (apart from
// the next page of the same list).
struct Access {
    QString apiBase;
    QString token;
};

// The thread list with what the server said of itself: a GitHub Enterprise
// Server names its version ("3.12.4"), github.com sends nothing.
struct NotificationList {
    QList<GitHubNotification> threads;
    QByteArray enterpriseVersion;
    // False when GitHub answered 304: the list is as the caller last had it,
    // and `threads` is empty. GitHub's Last-Modified moves only when a new
    // notification arrives, so what was read, done or marked unread on the
    // web since is not in that list.
    bool current = true;
    // Every page, or the newest only: the page cap was reached, or paging
    // stopped early (a next link that leads elsewhere, a later page that
    // failed), in which case `stoppedBy` says why.
    enum class Paging { whole, capped, stopped };
    Paging paging = Paging::whole;
    std::optional<ClientError> stoppedBy = std::nullopt;
};

// A revalidated list costs no rate-limit point when it answers 304; a whole
// one costs a point a page, and is the only way to learn what changed on
// the web without a new notification.
enum class ListRequest { revalidated, whole };

// The user resource, asked when an account is added: its status, the login,
// and a classic token's scopes (`hasScopes` false when the header is absent).
struct UserAnswer {
    int status = 0;
    QString login;
    bool hasScopes = false;
    QStringList scopes;
    QByteArray enterpriseVersion;
};

// The whole list, every page of it up to the cap; `participating` keeps to
// the threads the user takes part in. Only an error on the first page fails
// the fetch.
QCoro::Task<ClientResult<NotificationList>> fetchNotifications(Access access, bool all, int perPage,
                                                               bool participating = false,
                                                               ListRequest kind = ListRequest::revalidated);
QCoro::Task<std::optional<ClientError>> markThreadAsRead(Access access, QString threadId);
QCoro::Task<std::optional<ClientError>> muteThread(Access access, QString threadId);
QCoro::Task<std::optional<ClientError>> unmuteThread(Access access, QString threadId);
// Done: the thread leaves the list until something new happens in it. A 404
// or 405, a server without "done", is an httpError with that status.
QCoro::Task<std::optional<ClientError>> markThreadAsDone(Access access, QString threadId);
// Every thread (or every thread of one repository) updated before
// `lastReadAt` is marked read.
QCoro::Task<std::optional<ClientError>> markAllAsRead(Access access, QDateTime lastReadAt);
QCoro::Task<std::optional<ClientError>> markRepositoryAsRead(Access access, QString owner, QString repo,
                                                             QDateTime lastReadAt);
QCoro::Task<ClientResult<UserAnswer>> fetchUser(Access access);
// For addresses under the account's own API base only; any other is refused
// unsent.
QCoro::Task<ClientResult<ConditionalAnswer>> fetchIfChanged(Access access, QString address, QByteArray etag);
// Forgets the lists held for revalidation with this access.
void forgetAnswers(const Access &access);

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
