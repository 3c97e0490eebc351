// ComputeSign on the heaviest sign a user can build: sixty marked rows, posts, lower marks and
// both texts. Run by hand: make bench.
#include <benchmark/benchmark.h>

#include <QDir>

#include "bench/heavy_sign.h"
#include "core/engine/compute_sign.h"
#include "core/params/language.h"
#include "core/project/app_state.h"

using namespace tablix;

namespace {

void BM_ComputeSign(benchmark::State &s)
{
    AppState state = bench::HeavySign();
    for (auto _ : s) {
        benchmark::DoNotOptimize(ComputeSign(state).CostText.size());
    }
}
BENCHMARK(BM_ComputeSign)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
