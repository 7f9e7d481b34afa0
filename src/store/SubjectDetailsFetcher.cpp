#include "store/SubjectDetailsFetcher.h"

#include "api/GitHubAPIClient.h"
#include "api/RequestPacing.h"
#include "api/WireDecoding.h"

#include <QPointer>

namespace {

bool isKind(const QString &kind, const char *name)
{
    return kind.compare(QLatin1StringView(name), Qt::CaseInsensitive) == 0;
}

bool hasState(SubjectType type)
{
    return type == SubjectType::issue || type == SubjectType::pull_request;
}

} // namespace

SubjectDetailsFetcher::SubjectDetailsFetcher(QString cachePath, QObject *parent)
    : QObject(parent), m_cache(std::move(cachePath))
{
    m_announce.setSingleShot(true);
    m_announce.setInterval(0);
    connect(&m_announce, &QTimer::timeout, this, &SubjectDetailsFetcher::detailsChanged);
}

SubjectDetailsFetcher::~SubjectDetailsFetcher()
{
    m_cache.save();
}

void SubjectDetailsFetcher::follow(const QList<GitHubNotification> &threads, const QByteArray &pacingKey,
                                   GitHubAPIClient::Access access)
{
    m_pacingKey = pacingKey;
    m_access = std::move(access);
    m_cache.load();
    m_queue.clear();
    for (const GitHubNotification &thread : threads) {
        // Issues and pull requests have a state and actors; releases and
        // commits only their page. Other subjects have no address worth asking.
        const QString &type = thread.subject.type;
        Job::Kind kind = Job::Kind::page;
        if (isKind(type, "Issue"))
            kind = Job::Kind::issue;
        else if (isKind(type, "PullRequest"))
            kind = Job::Kind::pullRequest;
        else if (!isKind(type, "Release") && !isKind(type, "Commit"))
            continue;
        if (!thread.subject.url)
            continue;
        const SubjectDetailsCache::Entry *known = m_cache.find(thread.id);
        if (known && known->updatedAt == thread.updatedAt && known->subjectUrl == *thread.subject.url)
            continue;
        const auto failed = m_failedAt.constFind(thread.id);
        if ((failed != m_failedAt.cend() && *failed == thread.updatedAt) || m_inFlight.contains(thread.id))
            continue;
        m_queue.append({thread.id, thread.updatedAt, *thread.subject.url,
                        thread.subject.latestCommentUrl.value_or(QString()), kind});
    }
    while (m_workers < maxInFlight && !m_queue.isEmpty()) {
        ++m_workers;
        work();
    }
}

void SubjectDetailsFetcher::annotate(QList<GHNotification> &items)
{
    m_cache.load();
    for (GHNotification &item : items) {
        const SubjectDetailsCache::Entry *known = m_cache.find(item.id);
        if (!known || item.url != known->subjectUrl)
            continue;
        if (hasState(item.subjectType))
            item.details = known->details;
        item.webPage = known->webPage();
    }
}

void SubjectDetailsFetcher::stop()
{
    ++m_generation;
    m_queue.clear();
}

void SubjectDetailsFetcher::discard()
{
    stop();
    m_failedAt.clear();
    m_cache.discard();
}

QCoro::Task<ClientResult<GitHubAPIClient::ConditionalAnswer>> SubjectDetailsFetcher::ask(QString address,
                                                                                         QByteArray etag) const
{
    return GitHubAPIClient::fetchIfChanged(m_access, std::move(address), std::move(etag));
}

bool SubjectDetailsFetcher::paused() const
{
    return RequestPacing::pausedUntil(m_pacingKey).has_value();
}

QCoro::Task<> SubjectDetailsFetcher::work()
{
    QPointer<SubjectDetailsFetcher> self(this);
    while (!m_queue.isEmpty()) {
        // GitHub asked for a pause: the rest waits for the next list.
        if (paused()) {
            m_queue.clear();
            break;
        }
        const Job job = m_queue.takeFirst();
        m_inFlight.insert(job.threadId);
        co_await fetch(job, m_generation);
        if (!self)
            co_return;
        m_inFlight.remove(job.threadId);
    }
    if (--m_workers == 0)
        m_cache.save();
}

QCoro::Task<> SubjectDetailsFetcher::fetch(Job job, quint64 generation)
{
    QPointer<SubjectDetailsFetcher> self(this);
    // A copy: the cache may change while the requests are out.
    const SubjectDetailsCache::Entry *found = m_cache.find(job.threadId);
    const std::optional<SubjectDetailsCache::Entry> known =
        found ? std::optional<SubjectDetailsCache::Entry>(*found) : std::nullopt;
    SubjectDetailsCache::Entry entry;
    if (known && known->subjectUrl == job.subjectUrl)
        entry = *known;

    const auto subject = co_await ask(job.subjectUrl, entry.subjectEtag);
    if (!self || generation != m_generation)
        co_return;
    if (const auto *error = std::get_if<ClientError>(&subject)) {
        remember(job, *error);
        co_return;
    }
    const auto &subjectAnswer = std::get<GitHubAPIClient::ConditionalAnswer>(subject);
    if (!subjectAnswer.notModified && job.kind == Job::Kind::page) {
        const auto decoded = WireDecoding::decodeWebPage(subjectAnswer.body);
        if (const auto *error = std::get_if<DecodingError>(&decoded)) {
            remember(job, GitHubAPIClient::APIError::decodingError(error->description));
            co_return;
        }
        entry.subjectPage = std::get<QString>(decoded);
        entry.subjectEtag = subjectAnswer.etag;
    } else if (!subjectAnswer.notModified) {
        const auto decoded = WireDecoding::decodeSubject(subjectAnswer.body, job.kind == Job::Kind::pullRequest);
        if (const auto *error = std::get_if<DecodingError>(&decoded)) {
            remember(job, GitHubAPIClient::APIError::decodingError(error->description));
            co_return;
        }
        const auto &record = std::get<WireDecoding::SubjectRecord>(decoded);
        entry.details.state = record.state;
        entry.details.author = record.author;
        entry.subjectPage = record.webPage;
        entry.subjectEtag = subjectAnswer.etag;
    }
    entry.subjectUrl = job.subjectUrl;

    // GitHub names the subject itself as the latest comment when there is none.
    if (job.commentUrl.isEmpty() || job.commentUrl == job.subjectUrl) {
        entry.commentUrl.clear();
        entry.commentEtag.clear();
        entry.commentPage.clear();
        entry.details.latestActor = entry.details.author;
    } else {
        if (entry.commentUrl != job.commentUrl) {
            entry.commentEtag.clear();
            entry.commentPage.clear();
        }
        const auto comment = co_await ask(job.commentUrl, entry.commentEtag);
        if (!self || generation != m_generation)
            co_return;
        if (const auto *error = std::get_if<ClientError>(&comment)) {
            remember(job, *error);
            co_return;
        }
        const auto &commentAnswer = std::get<GitHubAPIClient::ConditionalAnswer>(comment);
        if (!commentAnswer.notModified) {
            const auto decoded = WireDecoding::decodeComment(commentAnswer.body);
            if (const auto *error = std::get_if<DecodingError>(&decoded)) {
                remember(job, GitHubAPIClient::APIError::decodingError(error->description));
                co_return;
            }
            const auto &comment = std::get<WireDecoding::CommentRecord>(decoded);
            entry.details.latestActor = comment.author;
            entry.commentPage = comment.webPage;
            entry.commentEtag = commentAnswer.etag;
        }
        entry.commentUrl = job.commentUrl;
    }
    // A comment by a deleted account names nobody: the author stands in.
    if (entry.details.latestActor.login.isEmpty())
        entry.details.latestActor = entry.details.author;

    entry.updatedAt = job.updatedAt;
    entry.storedAt = QDateTime::currentDateTimeUtc();
    const bool changed = !known || known->subjectUrl != entry.subjectUrl || known->details != entry.details
                         || known->webPage() != entry.webPage();
    m_cache.insert(job.threadId, std::move(entry));
    if (changed)
        m_announce.start();
}

void SubjectDetailsFetcher::remember(const Job &job, const ClientError &error)
{
    const auto *apiError = std::get_if<GitHubAPIClient::APIError>(&error);
    // A refusal that asked for a pause is asked again after it.
    if (!apiError || paused())
        return;
    using Kind = GitHubAPIClient::APIError::Kind;
    const bool lasting = apiError->kind() == Kind::invalidURL || apiError->kind() == Kind::decodingError
                         || (apiError->kind() == Kind::httpError && apiError->statusCode() >= 400
                             && apiError->statusCode() < 500 && apiError->statusCode() != 429);
    if (lasting)
        m_failedAt.insert(job.threadId, job.updatedAt);
}
