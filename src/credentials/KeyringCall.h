#pragma once

#include <QCoro/QCoroFuture>
#include <QCoro/QCoroTask>
#include <QFuture>
#include <QPromise>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

// Runs one secret-store call on a thread of its own and waits for it on the
// caller's event loop, for at most the deadline. A Secret Service may keep
// an unlock prompt open for ever: the call is then abandoned, never joined,
// so neither the interface, a later call nor quitting waits for it.
namespace KeyringCall {

std::chrono::milliseconds deadline();
// Tests shorten it; the product never changes it.
void setDeadlineForTesting(std::chrono::milliseconds deadline);

// Calls abandoned at their deadline that have not returned yet. Past a few,
// a new call is not started: the store is not answering.
bool tooManyStuck();
void noteStuck(int change);

// The call's result, or absent when it missed the deadline; co_await it.
template<typename T> QFuture<std::optional<T>> run(std::function<T()> call)
{
    if (tooManyStuck())
        return QtFuture::makeReadyFuture(std::optional<T>());
    enum : int { pending, answered, abandoned };
    struct Shared {
        QPromise<std::optional<T>> promise;
        std::atomic<int> state = pending;
    };
    auto shared = std::make_shared<Shared>();
    shared->promise.start();
    QFuture<std::optional<T>> answer = shared->promise.future();
    std::thread([shared, call = std::move(call)] {
        T value = call();
        int expected = pending;
        if (shared->state.compare_exchange_strong(expected, answered)) {
            shared->promise.addResult(std::optional<T>(std::move(value)));
            shared->promise.finish();
        } else {
            noteStuck(-1);
        }
    }).detach();
    QTimer::singleShot(deadline(), [shared] {
        int expected = pending;
        if (!shared->state.compare_exchange_strong(expected, abandoned))
            return;
        noteStuck(+1);
        shared->promise.addResult(std::optional<T>());
        shared->promise.finish();
    });
    return answer;
}

// run() awaited on the caller's thread: `late` when the deadline passed.
template<typename T> QCoro::Task<T> await(std::function<T()> call, T late)
{
    // Named before it is awaited: GCC 12 destroys some temporaries of a
    // co_await expression twice.
    QFuture<std::optional<T>> answer = run<T>(std::move(call));
    std::optional<T> answered = co_await answer;
    co_return answered ? std::move(*answered) : std::move(late);
}

} // namespace KeyringCall
