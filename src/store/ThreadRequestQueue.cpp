#include "store/ThreadRequestQueue.h"

ThreadRequestQueue::~ThreadRequestQueue()
{
    m_state->closed = true;
}

void ThreadRequestQueue::enqueue(const QString &threadId, Job job)
{
    m_state->jobs[threadId].append(std::move(job));
    if (!m_state->held && !m_state->running.contains(threadId))
        drain(m_state, threadId);
}

void ThreadRequestQueue::setHeld(bool held)
{
    m_state->held = held;
    if (held)
        return;
    const QStringList waiting = m_state->jobs.keys();
    for (const QString &threadId : waiting) {
        if (!m_state->running.contains(threadId))
            drain(m_state, threadId);
    }
}

QCoro::Task<> ThreadRequestQueue::drain(std::shared_ptr<State> state, QString threadId)
{
    state->running.insert(threadId);
    while (!state->closed && !state->held) {
        const Job job = state->jobs[threadId].constFirst();
        co_await job();
        if (state->closed)
            co_return;
        QList<Job> &waiting = state->jobs[threadId];
        waiting.removeFirst();
        if (waiting.isEmpty()) {
            state->jobs.remove(threadId);
            break;
        }
    }
    state->running.remove(threadId);
}
