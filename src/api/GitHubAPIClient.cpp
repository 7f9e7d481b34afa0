#include "api/GitHubAPIClient.h"

#include "Version.h"
#include "api/ApiPaths.h"
#include "api/GitHubEndpoints.h"
#include "api/LinkHeader.h"
#include "api/RequestPacing.h"
#include "platform/Memory.h"
#include "platform/NetworkAccess.h"
#include "api/RevalidationCache.h"
#include "api/WireDecoding.h"
#include "credentials/KeychainManager.h"

#include <QCoro/QCoroFuture>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>

namespace GitHubAPIClient {
namespace {

QString &configuredBaseUrl()
{
    static QString url = GitHubEndpoints::apiBaseUrl();
    return url;
}

std::chrono::milliseconds &configuredTimeout()
{
    static std::chrono::milliseconds timeout = defaultRequestTimeout;
    return timeout;
}

std::chrono::milliseconds &configuredDeadline()
{
    static std::chrono::milliseconds deadline = defaultRequestDeadline;
    return deadline;
}

// GitHub answers at most 50 threads a page, whatever is asked for. Ten
// pages, 500 threads, is more than anyone reads in a panel; what lies beyond
// is not fetched.
constexpr int maxPageSize = 50;
constexpr int maxPages = 10;

// A page of threads is some 2 kB a thread; every other answer is small.
constexpr qint64 maxPageBytes = 16 * 1024 * 1024;
// Past this, the memory a list's decoding freed is handed back to the system.
constexpr qint64 largeAnswerBytes = 1024 * 1024;
constexpr qint64 maxSmallBodyBytes = 1024 * 1024;

struct PreparedRequest {
    QNetworkRequest request;
    QString token; // kept for the revalidation cache key only
    QByteArray pacingKey;
};

struct HttpResponse {
    int status = 0;
    QByteArray body;
    RequestPacing::Headers headers;

    QByteArray header(QByteArrayView name) const
    {
        for (const auto &[key, value] : headers) {
            if (name.compare(key, Qt::CaseInsensitive) == 0)
                return value;
        }
        return {};
    }
};

// Steps shared by every operation: address, request and headers. An absent
// path is an address that cannot be formed.
std::variant<PreparedRequest, ClientError> makeRequest(std::optional<QString> path, const QString &token,
                                                       const QString &base)
{
    if (!path)
        return ClientError(APIError::invalidURL());
    const QUrl url(base + *path, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !mayCarryToken(url))
        return ClientError(APIError::invalidURL());

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Quillfen/%1").arg(QLatin1StringView(Quillfen::versionString)));
    setStandardHeaders(request, token);
    return PreparedRequest{std::move(request), token, KeychainManager::tokenDigest(token)};
}

// Sends the request; returns the HTTP answer or the transport failure.
// std::nullopt stands for an answer that is not HTTP at all.
// The pace is the token's: a pause one token's answer asked for holds only
// that token's requests.
QCoro::Task<std::variant<std::optional<HttpResponse>, ClientError>>
send(QNetworkRequest request, QByteArray method, QByteArray body, qint64 maxBodyBytes, QByteArray pacingKey)
{
    // While GitHub asked for a pause, nothing goes out.
    if (const auto until = RequestPacing::pausedUntil(pacingKey))
        co_return ClientError(APIError::paused(*until));
    const NetworkAccess::Response response =
        co_await NetworkAccess::send(std::move(request), std::move(method), std::move(body),
                                     {maxBodyBytes, configuredTimeout(), configuredDeadline()});
    if (response.failed())
        co_return ClientError(TransportError{response.failureCode, response.failure});
    if (!response.status)
        co_return std::optional<HttpResponse>();
    RequestPacing::noteAnswer(pacingKey, *response.status, response.headers, response.body);
    co_return std::optional<HttpResponse>(HttpResponse{*response.status, response.body, response.headers});
}

// An answer to read: a 2xx, or a 304 where one may come; anything else ends
// as the error it stands for.
ClientResult<HttpResponse> readable(std::variant<std::optional<HttpResponse>, ClientError> outcome,
                                    bool mayBeNotModified)
{
    if (auto *error = std::get_if<ClientError>(&outcome))
        return *error;
    std::optional<HttpResponse> &response = std::get<std::optional<HttpResponse>>(outcome);
    if (!response)
        return ClientError(APIError::invalidResponse());
    if (response->status == 429)
        return ClientError(APIError::rateLimitExceeded());
    if (response->status == 304 && mayBeNotModified)
        return std::move(*response);
    if (response->status < 200 || response->status > 299) {
        std::optional<QString> message;
        if (const auto errorBody = WireDecoding::decodeErrorResponse(response->body))
            message = errorBody->message;
        return ClientError(APIError::httpError(response->status, message));
    }
    return std::move(*response);
}

QList<GitHubNotification> withoutRepeats(QList<GitHubNotification> threads)
{
    // A thread that moved while the pages were read shows up twice; the
    // first page is the newest.
    QSet<QString> seen;
    threads.removeIf([&seen](const GitHubNotification &thread) {
        if (seen.contains(thread.id))
            return true;
        seen.insert(thread.id);
        return false;
    });
    return threads;
}

// The threads of the pages that decode, up to the first that does not.
struct DecodedPages {
    QList<GitHubNotification> threads;
    qsizetype pages = 0;
    std::optional<DecodingError> error;
};

DecodedPages decodePages(QList<QByteArray> pages)
{
    qint64 bytes = 0;
    for (const QByteArray &page : std::as_const(pages))
        bytes += page.size();
    DecodedPages decoded;
    for (const QByteArray &page : std::as_const(pages)) {
        auto threads = WireDecoding::decodeNotificationList(page);
        if (auto *error = std::get_if<DecodingError>(&threads)) {
            decoded.error = *error;
            break;
        }
        decoded.threads.append(std::move(std::get<QList<GitHubNotification>>(threads)));
        ++decoded.pages;
    }
    decoded.threads = withoutRepeats(std::move(decoded.threads));
    // The pages and the decoder's allocations are freed here, on a worker
    // thread, whose arena the allocator would otherwise keep.
    pages = {};
    if (bytes > largeAnswerBytes)
        Memory::releaseFreed();
    return decoded;
}

QByteArray lastReadBody(const QDateTime &lastReadAt)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("last_read_at"), lastReadAt.toUTC().toString(Qt::ISODate)}})
        .toJson(QJsonDocument::Compact);
}

// A change of state on GitHub: its HTTP answer, or why there is none.
QCoro::Task<std::variant<std::optional<HttpResponse>, ClientError>>
sendChange(std::optional<QString> path, QByteArray method, std::optional<QByteArray> jsonBody, Access access)
{
    using Result = std::variant<std::optional<HttpResponse>, ClientError>;
    auto prepared = makeRequest(std::move(path), access.token, access.apiBase);
    if (auto *error = std::get_if<ClientError>(&prepared))
        co_return Result(*error);
    QNetworkRequest request = std::get<PreparedRequest>(prepared).request;
    const QByteArray pacingKey = std::get<PreparedRequest>(prepared).pacingKey;
    QByteArray body;
    if (jsonBody) {
        body = *jsonBody;
        request.setRawHeader("Content-Type", "application/json");
    }
    auto sending = send(std::move(request), std::move(method), std::move(body), maxSmallBodyBytes, pacingKey);
    co_return co_await std::move(sending);
}

// Every change of state on GitHub: any 2xx answer (202 when GitHub finishes
// in the background) is success; anything else is the error it stands for,
// with its status and GitHub's message.
QCoro::Task<std::optional<ClientError>> sendUpdate(std::optional<QString> path, QByteArray method,
                                                   std::optional<QByteArray> jsonBody, Access access)
{
    auto sending = sendChange(std::move(path), std::move(method), std::move(jsonBody), std::move(access));
    const auto answer = readable(co_await std::move(sending), false);
    if (const auto *error = std::get_if<ClientError>(&answer))
        co_return *error;
    co_return std::nullopt;
}

} // namespace

void setStandardHeaders(QNetworkRequest &request, const QString &token)
{
    request.setRawHeader("Authorization", "Bearer " + token.toUtf8());
    request.setRawHeader("Accept", "application/vnd.github+json");
    request.setRawHeader("X-GitHub-Api-Version", "2022-11-28");
}

bool mayCarryToken(const QUrl &url)
{
    if (url.scheme() == u"https")
        return true;
    if (url.scheme() != u"http")
        return false;
    return url.host() == u"localhost" || QHostAddress(url.host()).isLoopback();
}

namespace {

QString listPath(bool all, int perPage, bool participating)
{
    QString path = QStringLiteral("/notifications?all=%1&per_page=%2")
                       .arg(all ? QStringLiteral("true") : QStringLiteral("false"))
                       .arg(std::clamp(perPage, 1, maxPageSize));
    if (participating)
        path += QStringLiteral("&participating=true");
    return path;
}

QCoro::Task<ClientResult<NotificationList>> fetchList(bool all, int perPage, bool participating, ListRequest kind,
                                                      Access access)
{
    using Result = ClientResult<NotificationList>;
    auto prepared = makeRequest(listPath(all, perPage, participating), access.token, access.apiBase);
    if (auto *error = std::get_if<ClientError>(&prepared))
        co_return Result(*error);
    auto &[request, token, pacingKey] = std::get<PreparedRequest>(prepared);
    const QUrl first = request.url();

    // Only the first page is revalidated: "not modified" covers the list.
    RevalidationCache &cache = RevalidationCache::shared();
    const QByteArray cacheKey = RevalidationCache::keyFor(first, token);
    const std::optional<RevalidationCache::Entry> cached =
        kind == ListRequest::revalidated ? cache.lookup(cacheKey) : std::nullopt;
    QNetworkRequest pageRequest = request;
    if (cached) {
        if (!cached->etag.isEmpty())
            pageRequest.setRawHeader("If-None-Match", cached->etag);
        if (!cached->lastModified.isEmpty())
            pageRequest.setRawHeader("If-Modified-Since", cached->lastModified);
    }

    RevalidationCache::Entry validators;
    QList<QByteArray> pages;
    NotificationList list;
    for (int page = 0; page < maxPages; ++page) {
        auto outcome = co_await send(pageRequest, QByteArrayLiteral("GET"), QByteArray(), maxPageBytes, pacingKey);
        auto answer = readable(std::move(outcome), page == 0 && cached);
        if (auto *error = std::get_if<ClientError>(&answer)) {
            if (page == 0)
                co_return Result(*error);
            list.paging = NotificationList::Paging::stopped;
            list.stoppedBy = *error;
            break;
        }
        HttpResponse &response = std::get<HttpResponse>(answer);
        if (page == 0)
            list.enterpriseVersion = response.header("X-GitHub-Enterprise-Version");
        if (response.status == 304) {
            list.current = false;
            co_return Result(std::move(list));
        }
        if (page == 0) {
            validators.lastModified = response.header("Last-Modified");
            validators.etag = response.header("ETag");
        }
        const QByteArray link = response.header("Link");
        pages.append(std::move(response.body));
        const std::optional<QUrl> next = LinkHeader::nextPageOf(link, first);
        if (!next) {
            // A next page elsewhere is never asked for: the token stays home.
            if (LinkHeader::next(link)) {
                list.paging = NotificationList::Paging::stopped;
                list.stoppedBy = ClientError(APIError::invalidURL());
            }
            break;
        }
        if (page == maxPages - 1) {
            list.paging = NotificationList::Paging::capped;
            break;
        }
        pageRequest = request;
        pageRequest.setUrl(*next);
    }
    DecodedPages decoded = co_await QtConcurrent::run(&decodePages, std::move(pages));
    if (decoded.error && decoded.pages == 0) {
        // No validators from a body that did not decode: every 304 would
        // stand for a list nobody has.
        cache.forget(cacheKey);
        co_return Result(ClientError(APIError::decodingError(decoded.error->description)));
    }
    if (decoded.error) {
        list.paging = NotificationList::Paging::stopped;
        list.stoppedBy = ClientError(APIError::decodingError(decoded.error->description));
    }
    if (list.paging == NotificationList::Paging::stopped
        || (validators.lastModified.isEmpty() && validators.etag.isEmpty()))
        cache.forget(cacheKey);
    else
        cache.store(cacheKey, validators);
    list.threads = std::move(decoded.threads);
    co_return Result(std::move(list));
}

} // namespace

QCoro::Task<ClientResult<NotificationList>> fetchNotifications(Access access, bool all, int perPage, bool participating,
                                                               ListRequest kind)
{
    return fetchList(all, perPage, participating, kind, std::move(access));
}

void forgetAnswers(const Access &access)
{
    for (const bool participating : {false, true}) {
        const QUrl list(access.apiBase + listPath(true, maxPageSize, participating), QUrl::StrictMode);
        RevalidationCache::shared().forget(RevalidationCache::keyFor(list, access.token));
    }
}

QCoro::Task<ClientResult<UserAnswer>> fetchUser(Access access)
{
    using Result = ClientResult<UserAnswer>;
    auto prepared = makeRequest(QStringLiteral("/user"), access.token, access.apiBase);
    if (auto *error = std::get_if<ClientError>(&prepared))
        co_return Result(*error);
    const PreparedRequest &ready = std::get<PreparedRequest>(prepared);
    auto outcome =
        co_await send(ready.request, QByteArrayLiteral("GET"), QByteArray(), maxSmallBodyBytes, ready.pacingKey);
    if (auto *error = std::get_if<ClientError>(&outcome))
        co_return Result(*error);
    const auto &response = std::get<std::optional<HttpResponse>>(outcome);
    if (!response)
        co_return Result(ClientError(APIError::invalidResponse()));
    UserAnswer answer;
    answer.status = response->status;
    answer.hasScopes = std::any_of(response->headers.cbegin(), response->headers.cend(), [](const auto &header) {
        return header.first.compare("X-OAuth-Scopes", Qt::CaseInsensitive) == 0;
    });
    for (const QByteArray &scope : response->header("X-OAuth-Scopes").split(','))
        if (!scope.trimmed().isEmpty())
            answer.scopes.append(QString::fromLatin1(scope.trimmed()));
    answer.enterpriseVersion = response->header("X-GitHub-Enterprise-Version");
    if (response->status == 200) {
        const QJsonObject user = QJsonDocument::fromJson(response->body).object();
        answer.login = user.value(QStringLiteral("login")).toString();
    }
    co_return Result(std::move(answer));
}

namespace {

// Under `base`: its scheme, host and port, no user, below its path.
bool isUnder(const QUrl &url, const QUrl &base)
{
    const int defaultPort = base.scheme() == u"https" ? 443 : 80;
    if (!url.isValid() || url.scheme() != base.scheme() || url.host() != base.host()
        || url.port(defaultPort) != base.port(defaultPort) || !url.userInfo().isEmpty())
        return false;
    // No "." or "..": a server would resolve them out of the API's own path.
    const QString path = url.path(QUrl::FullyDecoded);
    const QStringList segments = path.split(u'/');
    if (segments.contains(QStringLiteral(".")) || segments.contains(QStringLiteral("..")))
        return false;
    return path.startsWith(base.path() + u'/');
}

QCoro::Task<ClientResult<ConditionalAnswer>> fetchConditionally(QString address, QByteArray etag, Access access)
{
    using Result = ClientResult<ConditionalAnswer>;
    const QUrl url(address, QUrl::StrictMode);
    if (!isUnder(url, QUrl(access.apiBase)) || !mayCarryToken(url))
        co_return Result(ClientError(APIError::invalidURL()));
    // Formed for the base URL, then pointed at the whole address checked above.
    auto prepared = makeRequest(QString(), access.token, access.apiBase);
    if (auto *error = std::get_if<ClientError>(&prepared))
        co_return Result(*error);
    const PreparedRequest &ready = std::get<PreparedRequest>(prepared);
    QNetworkRequest request = ready.request;
    request.setUrl(url);
    if (!etag.isEmpty())
        request.setRawHeader("If-None-Match", etag);
    auto outcome =
        co_await send(std::move(request), QByteArrayLiteral("GET"), QByteArray(), maxSmallBodyBytes, ready.pacingKey);
    const auto answer = readable(std::move(outcome), !etag.isEmpty());
    if (auto *error = std::get_if<ClientError>(&answer))
        co_return Result(*error);
    const HttpResponse &response = std::get<HttpResponse>(answer);
    if (response.status == 304)
        co_return Result(ConditionalAnswer{true, {}, etag});
    co_return Result(ConditionalAnswer{false, response.body, response.header("ETag")});
}

} // namespace

bool isApiAddress(const QUrl &url)
{
    return isUnder(url, QUrl(configuredBaseUrl()));
}

QCoro::Task<ClientResult<ConditionalAnswer>> fetchIfChanged(Access access, QString address, QByteArray etag)
{
    return fetchConditionally(std::move(address), std::move(etag), std::move(access));
}

QCoro::Task<ClientResult<bool>> validateToken(QString token)
{
    auto prepared = makeRequest(QStringLiteral("/user"), token, configuredBaseUrl());
    if (auto *error = std::get_if<ClientError>(&prepared))
        co_return *error;
    // Its own pace: a candidate's limits never hold the stored token, nor
    // the stored token's this one.
    const PreparedRequest &candidate = std::get<PreparedRequest>(prepared);
    auto outcome = co_await send(candidate.request, QByteArrayLiteral("GET"), QByteArray(), maxSmallBodyBytes,
                                 candidate.pacingKey);
    if (auto *error = std::get_if<ClientError>(&outcome))
        co_return *error;
    const auto &response = std::get<std::optional<HttpResponse>>(outcome);
    co_return response && response->status == 200;
}

namespace {

QByteArray subscription(bool ignored)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("ignored"), ignored}}).toJson(QJsonDocument::Compact);
}

} // namespace

QCoro::Task<std::optional<ClientError>> markThreadAsRead(Access access, QString threadId)
{
    return sendUpdate(ApiPaths::threadPath(threadId, {}), QByteArrayLiteral("PATCH"), std::nullopt, std::move(access));
}

QCoro::Task<std::optional<ClientError>> muteThread(Access access, QString threadId)
{
    return sendUpdate(ApiPaths::threadPath(threadId, QStringLiteral("/subscription")), QByteArrayLiteral("PUT"),
                      subscription(true), std::move(access));
}

QCoro::Task<std::optional<ClientError>> unmuteThread(Access access, QString threadId)
{
    return sendUpdate(ApiPaths::threadPath(threadId, QStringLiteral("/subscription")), QByteArrayLiteral("PUT"),
                      subscription(false), std::move(access));
}

QCoro::Task<std::optional<ClientError>> markThreadAsDone(Access access, QString threadId)
{
    return sendUpdate(ApiPaths::threadPath(threadId, {}), QByteArrayLiteral("DELETE"), std::nullopt, std::move(access));
}

QCoro::Task<std::optional<ClientError>> markAllAsRead(Access access, QDateTime lastReadAt)
{
    return sendUpdate(QStringLiteral("/notifications"), QByteArrayLiteral("PUT"), lastReadBody(lastReadAt),
                      std::move(access));
}

QCoro::Task<std::optional<ClientError>> markRepositoryAsRead(Access access, QString owner, QString repo,
                                                             QDateTime lastReadAt)
{
    return sendUpdate(ApiPaths::repositoryPath(owner, repo), QByteArrayLiteral("PUT"), lastReadBody(lastReadAt),
                      std::move(access));
}

QString baseUrl()
{
    return configuredBaseUrl();
}

void setBaseUrl(const QString &url)
{
    configuredBaseUrl() = url;
}

std::chrono::milliseconds requestTimeout()
{
    return configuredTimeout();
}

void setRequestTimeout(std::chrono::milliseconds timeout)
{
    configuredTimeout() = timeout;
}

void setRequestDeadline(std::chrono::milliseconds deadline)
{
    configuredDeadline() = deadline;
}

} // namespace GitHubAPIClient
