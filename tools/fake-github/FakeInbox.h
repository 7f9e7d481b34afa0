#pragma once

#include "ThreadJson.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

class FakeGitHubServer;
struct RecordedRequest;
struct ScriptedResponse;

// One user's notifications as GitHub keeps them, served under `prefix` of a
// FakeGitHubServer (it takes over the server's handler), with what clients
// get wrong about GitHub:
// - the list is all=true: a thread read stays in it, read;
// - Last-Modified moves only when a thread gets new activity, so a
//   conditional request answers 304 whatever was read, done or marked unread
//   on the web since;
// - new activity on a thread turns it unread with a newer updated_at;
// - marking all read answers 202 and marks in the background: the list
//   still shows the threads unread until the work is done.
// The list comes in GitHub's pages of 50, each but the last with a Link to
// the next. Marking one thread read answers 205, done 204; any other GET is
// 404.
class FakeInbox {
public:
    explicit FakeInbox(FakeGitHubServer &server, QByteArray prefix = {});

    // Arrives as new activity does, now or at its own time when that is later.
    void add(WireThread thread);
    // Someone comments on the thread.
    void comment(const QString &id);
    // The user acts on github.com or in the mobile app: the list's stamp stays.
    void readElsewhere(const QString &id);
    void markUnreadElsewhere(const QString &id);
    void doneElsewhere(const QString &id);
    // The background work of a 202 mark-all ends.
    void finishMarkAll();
    // GitHub's X-Poll-Interval, in seconds; 0 sends none.
    void setPollInterval(int seconds) { m_pollInterval = seconds; }
    // What goes wrong with the pages after the first: nothing, the first
    // page's next link names another host, or the second page answers 500.
    enum class PageFault { none, nextElsewhere, laterPageFails };
    void setPageFault(PageFault fault) { m_pageFault = fault; }

    bool isUnread(const QString &id) const;

private:
    ScriptedResponse answer(const RecordedRequest &request);
    WireThread *find(const QString &id);
    // The stamp moves a second past the last, and is the activity's time.
    QString activity();

    FakeGitHubServer &m_server;
    QByteArray m_prefix;
    PageFault m_pageFault = PageFault::none;
    QList<WireThread> m_threads;
    QDateTime m_lastModified;
    QList<QDateTime> m_pendingMarkAll;
    int m_pollInterval = 0;
};
