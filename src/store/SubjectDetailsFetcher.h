#pragma once

#include "api/ClientError.h"
#include "api/GitHubAPIClient.h"
#include "api/GitHubNotification.h"
#include "model/GHNotification.h"
#include "store/SubjectDetailsCache.h"

#include <QCoro/QCoroTask>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>

// The state and latest actor of issue and pull request threads, and the web
// page of those and of releases and commits, read from their subject's
// address (and latest comment's) after the list is shown. A thread is asked about
// again only when its update time moved, and then with the ETags held, so an
// unchanged subject costs a 304. At most maxInFlight requests are out at
// once, through the client's pacing: a pause empties the queue. What was
// learnt survives restarts in a SubjectDetailsCache. Main thread only.
class SubjectDetailsFetcher : public QObject {
    Q_OBJECT

public:
    static constexpr int maxInFlight = 4;

    explicit SubjectDetailsFetcher(QString cachePath = SubjectDetailsCache::defaultPath(), QObject *parent = nullptr);
    ~SubjectDetailsFetcher() override;

    // Queues the threads of a list just shown whose details are missing or
    // older than the thread, in the list's order, of the account's own API
    // with its own token. The pacing key is that token's: a pause it asked
    // for stops the details too.
    void follow(const QList<GitHubNotification> &threads, const QByteArray &pacingKey, GitHubAPIClient::Access access);
    // Gives each item the last details and page known for its subject; until
    // some arrive an item keeps none.
    void annotate(QList<GHNotification> &items);
    // Drops the queue (another token may see other threads); answers still
    // out are discarded.
    void stop();
    // Stops, and forgets all that was learnt, on disk too.
    void discard();

signals:
    // Some thread's details changed (coalesced).
    void detailsChanged();

private:
    struct Job {
        QString threadId;
        QDateTime updatedAt;
        QString subjectUrl;
        QString commentUrl;
        enum class Kind { issue, pullRequest, page } kind = Kind::issue;
    };

    // One of at most maxInFlight loops that empty the queue.
    QCoro::Task<> work();
    bool paused() const;
    QCoro::Task<> fetch(Job job, quint64 generation);
    QCoro::Task<ClientResult<GitHubAPIClient::ConditionalAnswer>> ask(QString address, QByteArray etag) const;
    // Refusals and answers that will not change until the thread does are not
    // asked again for this update time; network trouble and pauses are.
    void remember(const Job &job, const ClientError &error);

    SubjectDetailsCache m_cache;
    QList<Job> m_queue;
    QSet<QString> m_inFlight;
    QHash<QString, QDateTime> m_failedAt;
    int m_workers = 0;
    quint64 m_generation = 0;
    QTimer m_announce;
    QByteArray m_pacingKey;
    GitHubAPIClient::Access m_access;
};
