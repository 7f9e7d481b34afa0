#include "api/Conversion.h"
#include "api/WireDecoding.h"
#include "ThreadJson.h"

#include <benchmark/benchmark.h>

namespace {

void decodeAndConvert(benchmark::State &state)
{
    const QByteArray body = threadsBody(manyThreads(int(state.range(0))));
    for (auto _ : state) {
        auto decoded = WireDecoding::decodeNotificationList(body);
        const auto &threads = std::get<QList<GitHubNotification>>(decoded);
        QList<GHNotification> items;
        items.reserve(threads.size());
        for (const GitHubNotification &thread : threads)
            items.append(Conversion::toGHNotification(thread));
        benchmark::DoNotOptimize(items);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * body.size());
}

} // namespace

BENCHMARK(decodeAndConvert)->Arg(50)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
