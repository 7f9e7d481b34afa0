#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>

// Notification threads as GitHub sends them, for tests, benchmarks and
// screenshots: one builder of the wire format.
struct WireThread {
    QString id;
    bool unread = true;
    QString updatedAt = QStringLiteral("2024-05-01T09:30:00Z");
    QString title = QStringLiteral("A thread");
    QString reason = QStringLiteral("mention");
    QString fullName = QStringLiteral("octo/hooks");
    QJsonValue url = QJsonValue::Null;
    QString kind = QStringLiteral("Issue");
    QJsonValue latestCommentUrl = QJsonValue::Null;
};

// An issue or pull request as its own address answers.
struct WireSubject {
    QString state = QStringLiteral("open");
    bool merged = false;
    bool draft = false;
    QJsonValue stateReason = QJsonValue::Null;
    QString author = QStringLiteral("alice");
    QString authorType = QStringLiteral("User");
    QString htmlUrl = {};
};

// The body of a pull request (with "merged" and "draft") or of an issue.
QByteArray subjectBody(const WireSubject &subject, bool pullRequest);
// The body of a comment by `login`, with its page when given.
QByteArray commentBody(const QString &login, const QString &type = QStringLiteral("User"), const QString &htmlUrl = {});

// A GET /notifications body holding these threads, with every key GitHub
// sends (the decoder passes over the ones it does not need).
QByteArray threadsBody(const QList<WireThread> &threads);

// The page of `threads` that a list request for `target` asks for (its
// "page", 1 when absent), in GitHub's pages of 50, and the Link header's value
// naming the next page of the list at `listUrl`, empty on the last page.
struct ListPage {
    QByteArray body;
    QByteArray link;
};
ListPage listPage(const QByteArray &target, const QList<WireThread> &threads, const QString &listUrl);

// `count` threads spread over a few dozen repositories, every subject kind
// and several reasons, a minute apart, every third one read, every other
// issue and pull request with a latest comment.
QList<WireThread> manyThreads(int count);

// The same threads with their subject and comment addresses on `apiBase`.
QList<WireThread> onServer(QList<WireThread> threads, const QString &apiBase);

// The subject (and comment) bodies of every issue and pull request thread
// whose addresses lie on `apiBase`, set as resources of `server`: every
// state in turn, and authors and commenters among them a bot. Returns the
// subjects' target paths.
class FakeGitHubServer;
QList<QByteArray> serveSubjects(FakeGitHubServer &server, const QList<WireThread> &threads);
