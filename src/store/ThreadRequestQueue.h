#pragma once

#include <QCoro/QCoroTask>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

// Runs the GitHub requests of one thread one after another, in the order the
// user asked for them, so a quick mute and unmute reach GitHub in that order
// and leave it in the state the row shows. Requests for different threads
// run side by side.
class ThreadRequestQueue {
public:
    using Job = std::function<QCoro::Task<>()>;

    ThreadRequestQueue() = default;
    ThreadRequestQueue(const ThreadRequestQueue &) = delete;
    ThreadRequestQueue &operator=(const ThreadRequestQueue &) = delete;
    // Jobs not yet started are dropped; a running one finishes on its own.
    ~ThreadRequestQueue();

    void enqueue(const QString &threadId, Job job);
    // While held, no job starts; they wait, in order, for the release. A
    // running one finishes.
    void setHeld(bool held);

private:
    struct State {
        bool closed = false;
        bool held = false;
        QSet<QString> running;
        // The job at the front of each list is the one running.
        QHash<QString, QList<Job>> jobs;
    };

    static QCoro::Task<> drain(std::shared_ptr<State> state, QString threadId);

    std::shared_ptr<State> m_state = std::make_shared<State>();
};
