#include "store/ThreadRequestQueue.h"

ThreadRequestQueue::~ThreadRequestQueue()
{
    m_state->closed = true;
}

void ThreadRequestQueue::enqueue(const QString &threadId, Job job)
{
    QList<Job> &waiting = m_state->jobs[threadId];
    waiting.append(std::move(job));
    if (waiting.size() == 1)
        drain(m_state, threadId);
}

QCoro::Task<> ThreadRequestQueue::drain(std::shared_ptr<State> state, QString threadId)
{
    while (!state->closed) {
        const Job job = state->jobs[threadId].constFirst();
        co_await job();
        if (state->closed)
            co_return;
        QList<Job> &waiting = state->jobs[threadId];
        waiting.removeFirst();
        if (waiting.isEmpty()) {
            state->jobs.remove(threadId);
            co_return;
        }
    }
}
