#include "api/Conversion.h"
#include "api/WireDecoding.h"
#include "store/ThreadMerge.h"
#include "ThreadJson.h"

#include <benchmark/benchmark.h>

namespace {

QList<GHNotification> convertAll(const QByteArray &body)
{
    auto decoded = WireDecoding::decodeNotificationList(body);
    QList<GHNotification> items;
    for (const GitHubNotification &thread : std::get<QList<GitHubNotification>>(decoded))
        items.append(Conversion::toGHNotification(thread));
    return items;
}

// One refresh as the store does it: decode, convert, merge with the list it
// held (a tenth of the threads are new), detect new threads, and build the
// panel's filtered, sorted list.
void refreshProcessing(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QByteArray body = threadsBody(manyThreads(count));
    QList<GHNotification> previous = convertAll(body);
    previous.remove(0, count / 10);

    for (auto _ : state) {
        const ThreadMerge::MergeResult result = ThreadMerge::merge(previous, convertAll(body));
        const QList<GHNotification> shown =
            ThreadMerge::filterAndSort(result.merged, QStringLiteral("number 1"), false);
        benchmark::DoNotOptimize(result.newThreads.size());
        benchmark::DoNotOptimize(shown.size());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// Merge and new-thread detection alone, without the JSON work.
void mergeOnly(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QList<GHNotification> fetched = convertAll(threadsBody(manyThreads(count)));
    const QList<GHNotification> previous = fetched.mid(count / 10);
    for (auto _ : state)
        benchmark::DoNotOptimize(ThreadMerge::merge(previous, fetched).newThreads.size());
    state.SetItemsProcessed(state.iterations() * count);
}

// Decoding and conversion alone.
void decodeOnly(benchmark::State &state)
{
    const QByteArray body = threadsBody(manyThreads(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(convertAll(body).size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The panel's list alone, recomputed on every read.
void filteredItems(benchmark::State &state)
{
    const QList<GHNotification> items = convertAll(threadsBody(manyThreads(int(state.range(0)))));
    for (auto _ : state)
        benchmark::DoNotOptimize(ThreadMerge::filterAndSort(items, QStringLiteral("OWNER3/"), true));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(refreshProcessing)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(mergeOnly)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(decodeOnly)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(filteredItems)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
